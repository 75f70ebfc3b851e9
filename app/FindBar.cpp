#include "app/FindBar.h"

#include "app/AppTexts.h"
#include "app/ContactListModel.h"
#include "app/Controls.h"
#include "app/FindFilter.h"
#include "app/Twips.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FindBar::FindBar(ContactListModel* lines, QAbstractItemView* list, QWidget* window)
    : QObject(window),
      m_lines(lines),
      m_list(list),
      m_filter(new FindFilter(lines, this)),
      m_txtFind(makeControl<QLineEdit>(window, "txtFind")),
      m_lblFindCount(makeLabel(window, "lblFindCount", {})) {
    list->setModel(m_filter);
    m_txtFind->setAccessibleName(kFindLabel);
    m_txtFind->setClearButtonEnabled(false);
    // Left of cmdRefresh (3375 twips), below the list: space the design leaves empty.
    placeInTwips(m_txtFind, {150, 3555, 1500, 420});
    placeInTwips(m_lblFindCount, {1725, 3630, 1590, 300});
    m_txtFind->hide();
    m_lblFindCount->hide();
    m_txtFind->installEventFilter(this);
    connect(m_txtFind, &QLineEdit::textChanged, this, [this](const QString& typed) { m_filter->setTyped(typed); });
    connect(m_txtFind, &QLineEdit::returnPressed, this, &FindBar::openRequested);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(m_filter, signal, this, &FindBar::showCount);
    }
    connect(m_filter, &QAbstractItemModel::modelReset, this, &FindBar::showCount);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &FindBar::showCount);
}

void FindBar::open() {
    if (m_txtFind->isHidden()) {
        const QModelIndex current = m_list->currentIndex();
        const bool selected = current.isValid() && m_list->selectionModel()->isSelected(current);
        m_selectedBeforeFind =
            selected ? QPersistentModelIndex(m_filter->mapToSource(current)) : QPersistentModelIndex();
    }
    m_txtFind->show();
    m_lblFindCount->show();
    showCount();
    m_txtFind->setFocus(Qt::ShortcutFocusReason);
    m_txtFind->selectAll();
}

void FindBar::close() {
    m_txtFind->clear();
    m_filter->setTyped({});
    m_txtFind->hide();
    m_lblFindCount->hide();
    m_list->setFocus(Qt::OtherFocusReason);
    // A filter drops the selection of a line it hides; a list cleared since leaves the index invalid.
    if (!m_list->selectionModel()->hasSelection() && m_selectedBeforeFind.isValid()) {
        m_list->setCurrentIndex(m_filter->mapFromSource(m_selectedBeforeFind));
    }
    m_selectedBeforeFind = QPersistentModelIndex();
    if (m_list->currentIndex().isValid()) {
        m_list->scrollTo(m_list->currentIndex());
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtFind && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FindBar::showCount() {
    if (m_lblFindCount->isHidden()) {
        return;  // a listing without a find pays nothing for the count
    }
    m_lblFindCount->setText(kFindCount.arg(m_filter->rowCount()).arg(m_lines->rowCount()));
}
