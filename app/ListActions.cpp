#include "app/ListActions.h"

#include "app/AppTexts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QShortcut>

ListActions::ListActions(QWidget* window, QAbstractItemView* list)
    : QObject(window),
      m_list(list),
      m_menu(new QMenu(list)),
      m_open(makeAction(window, "actOpen", kOpenAction)),
      m_edit(makeAction(window, "actEdit", kEditAction)),
      m_new(makeAction(window, "actNew", kNewAction)),
      m_copy(makeAction(window, "actCopy", kCopyAction)),
      m_save(makeAction(window, "actSave", kSaveAction)),
      m_paste(makeAction(window, "actPaste", kPasteAction)),
      m_import(makeAction(window, "actImport", kImportAction)),
      m_find(makeAction(window, "actFind", kFindAction)),
      m_refresh(makeAction(window, "actRefresh", kRefreshAction)),
      m_delete(makeAction(window, "actDelete", kDeleteAction)),
      m_undo(makeAction(window, "actUndoDelete", kUndoDeleteAction)),
      m_duplicates(makeAction(window, "actSelectDuplicates", kSelectDuplicatesAction)) {
    m_menu->setObjectName(QStringLiteral("mnuList"));
    // Return opens only from the list (the window's filter takes it there) and from the find
    // field: on a button it presses the button. The key is set for the menu to show it.
    m_open->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    m_open->setShortcutContext(Qt::WidgetShortcut);
    m_edit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_new->setShortcut(QKeySequence::New);
    m_copy->setShortcut(QKeySequence::Copy);
    m_save->setShortcut(QKeySequence::Save);
    m_paste->setShortcut(QKeySequence::Paste);
    m_import->setShortcut(QKeySequence::Open);
    m_find->setShortcut(QKeySequence::Find);
    m_refresh->setShortcut(QKeySequence::Refresh);
    m_undo->setShortcut(QKeySequence::Undo);
    for (QAction* action : {m_edit, m_new, m_copy, m_save, m_paste, m_import, m_find, m_refresh, m_undo}) {
        window->addAction(action);  // window-wide: the keys work wherever the focus is
    }
    // Delete only from the list: in the find field the key deletes a character.
    m_delete->setShortcut(QKeySequence::Delete);
    m_delete->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(m_delete);
    m_menu->addActions({m_open, m_edit, m_new, m_copy, m_save, m_paste, m_import, m_find, m_refresh});
    m_menu->addSeparator();
    m_menu->addActions({m_delete, m_undo, m_duplicates});

    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popUp(pos);  // a scroll area gives it in the viewport's coordinates
    });
    // The keyboard's two ways to the menu, below the current line.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(keys, list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, &ListActions::popUpAtCurrentLine);
    }
}

QAction* ListActions::makeAction(QWidget* window, const char* name, const QString& text) {
    auto* action = new QAction(text, window);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void ListActions::update(const State& state) {
    for (QAction* action : {m_open, m_edit}) {
        action->setEnabled(!state.busy && state.currentSelected);
    }
    for (QAction* action : {m_copy, m_save, m_delete}) {
        action->setEnabled(!state.busy && state.anySelected);
    }
    for (QAction* action : {m_new, m_paste, m_import, m_refresh, m_duplicates}) {
        action->setEnabled(!state.busy);
    }
    m_undo->setEnabled(!state.busy && state.undoable);
}

void ListActions::popUp(const QPoint& pos) {
    m_menu->popup(m_list->viewport()->mapToGlobal(pos));
}

void ListActions::popUpAtCurrentLine() {
    const QModelIndex current = m_list->currentIndex();
    popUp(current.isValid() ? m_list->visualRect(current).bottomLeft() : QPoint(0, 0));
}
