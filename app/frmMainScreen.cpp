// frmMain's ContactScreen side: what an operation's worker thread asks of the window, handed to the
// GUI thread through the ScreenFeed and brought to the screen at most once a frame.

#include "app/ContactListModel.h"
#include "app/Desktop.h"
#include "app/frmMain.h"

#include <QListView>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

// About one frame of a 60 Hz screen: the window changes no more often while an operation runs.
constexpr qint64 kFrameMilliseconds = 16;

// The line the user has selected: the current one, when it is selected; else invalid.
QModelIndex selectedIndex(const QListView* list) {
    const QModelIndex current = list->currentIndex();
    return current.isValid() && list->selectionModel()->isSelected(current) ? current : QModelIndex();
}

}  // namespace

void frmMain::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void frmMain::showPending() {
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : kFrameMilliseconds;
    if (since < kFrameMilliseconds) {
        QTimer::singleShot(kFrameMilliseconds - since, this, &frmMain::showChanges);
        return;
    }
    showChanges();
}

void frmMain::showChanges() {
    ViewChanges changes = m_feed.take();
    m_sinceFrame.start();
    if (changes.cleared) {
        m_lines->clear();
    }
    m_lines->append(changes.lines, changes.files, changes.facts);
    if (changes.show) {
        show();
    }
    // The window manager draws the title bar from the title it is given: each costs it a redraw.
    for (const QString& title : changes.titles) {
        setWindowTitle(title);
    }
}

void frmMain::setCaption(const std::u16string& text) {
    m_feed.setCaption(QString::fromStdU16String(text));
}

void frmMain::appendContact(const std::u16string& line, const std::u16string& file) {
    m_feed.appendLine(QString::fromStdU16String(line), QString::fromStdU16String(file));
}

void frmMain::appendListed(const std::u16string& line, const std::u16string& file, const CardFacts& facts) {
    m_feed.appendLine(QString::fromStdU16String(line), QString::fromStdU16String(file), facts);
}

void frmMain::clearList() {
    m_feed.clearList();
}

std::u16string frmMain::selectedLine() const {
    if (QThread::currentThread() != thread()) {
        return m_selectionAtStart;
    }
    return selectedIndex(m_list1).data().toString().toStdU16String();
}

std::u16string frmMain::selectedFile() const {
    if (QThread::currentThread() != thread()) {
        return m_fileAtStart;
    }
    return selectedIndex(m_list1).data(ContactListModel::FileRole).toString().toStdU16String();
}

void frmMain::showWindow() {
    m_feed.showWindow();
}

void frmMain::showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) {
    auto box = [this, text = QString::fromStdU16String(prompt), style, caption = QString::fromStdU16String(title)] {
        showChanges();  // the box comes up over the window as it is now
        desktop().showMessage(text, style, caption);
    };
    if (QThread::currentThread() == thread()) {
        box();
        return;
    }
    m_feed.runOnGuiAndWait(std::move(box));
}
