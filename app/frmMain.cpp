#include "app/frmMain.h"

#include "app/AccessibleLabel.h"
#include "app/AppIcon.h"
#include "app/AppTexts.h"
#include "app/CaptionFit.h"
#include "app/CaptionRun.h"
#include "app/Controls.h"
#include "app/CopyDrop.h"
#include "app/Desktop.h"
#include "app/Twips.h"
#include "app/WindowCentring.h"
#include "app/frmLogin.h"
#include "app/modMain.h"
#include "contacts/DropItems.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QStringListModel>

#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// About one frame of a 60 Hz screen.
constexpr qint64 kFrameMilliseconds = 16;

// A listing's passing buffers (the folder's XML and its tree, every vCard) leave free holes below
// the lines it keeps, and glibc keeps such holes resident; give their pages back to the system.
void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

frmMain::frmMain(QWidget* parent, HttpExchange http) : QWidget(parent, Qt::Window), m_http(std::move(http)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kMainCaption);
    setWindowIcon(appIcon());
    // Nothing in the window follows a change of size, so there is nothing to maximise.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    createControls();
    layOut();
    connect(m_cmdRefresh, &QPushButton::clicked, this, &frmMain::cmdRefresh_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    connect(m_list1, &QListView::doubleClicked, this, &frmMain::List1_DblClick);
    // Drops anywhere on the window, the list included: the list takes none itself.
    setAcceptDrops(true);
    m_list1->setAcceptDrops(false);
    m_list1->viewport()->setAcceptDrops(false);
}

void frmMain::createControls() {
    m_lines = new QStringListModel(this);
    m_list1 = makeControl<QListView>(this, "List1");
    m_list1->setModel(m_lines);
    // A line is the record of a contact, not a text to edit; a double-click shows the contact.
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line of text per row: the view need not measure every row again as the list grows.
    m_list1->setUniformItemSizes(true);
    m_label2 = makeLabel(this, "Label2", kContactsLabel);
    labelControl(m_label2, m_list1);
    m_cmdClose = makeButton(this, "cmdClose", kCancelButton);
    m_cmdRefresh = makeButton(this, "cmdRefresh", kRefreshButton);
    m_label1 = makeLabel(this, "Label1", kDropHelp);
    m_label1->setWordWrap(true);
    setTabOrder(m_list1, m_cmdClose);
    setTabOrder(m_cmdClose, m_cmdRefresh);
    m_list1->setFocus();
}

void frmMain::layOut() {
    fixClientAreaInTwips(this, 6180, 4050);
    placeInTwips(m_list1, {150, 1095, 5790, 2400});
    placeInTwips(m_label2, {135, 855, 1365, 270});
    placeInTwips(m_cmdClose, {4725, 3555, 1230, 420});
    placeInTwips(m_cmdRefresh, {3375, 3555, 1230, 420});
    placeInTwips(m_label1, {180, 75, 5820, 675});
    fitCaptionFont(this);
    centreOnScreen(this);
}

void frmMain::Form_Load() {
    show();
    // As long as the server rejects the credentials, ask for them again.
    for (;;) {
        if (frmLogin::showModal(this) == LoginResult::ProgramEnded || m_programEnded) {
            return;
        }
        ListingResult result = ListingResult::Listed;  // a fault shown by guarded leaves the window up
        guarded([&] { result = client().ListContacts(); });
        if (result == ListingResult::ProgramEnded) {
            endProgram();
        }
        if (result != ListingResult::Rejected || m_programEnded) {
            return;
        }
    }
}

void frmMain::cmdRefresh_Click() {
    clearList();
    // A failed listing here brings no login back.
    guarded([&] {
        if (client().ListContacts() == ListingResult::ProgramEnded) {
            endProgram();
        }
    });
}

void frmMain::List1_DblClick() {
    guarded([&] { client().List1_DblClick(); });
}

ContactClient frmMain::client() {
    return ContactClient(*this, modMain::loginState, m_http);
}

template <typename Operation>
void frmMain::guarded(Operation operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        showMessage((kOperationFailed + QString::fromLocal8Bit(error.what())).toStdU16String(),
                    MessageStyle::Information, u"");
    } catch (...) {
        showMessage(kUnknownFailure.toStdU16String(), MessageStyle::Information, u"");
    }
    showOwedFrame();  // the last caption and the whole list are on screen before input resumes
    returnFreedMemory();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    takeAsCopy(event);  // every copy reaches the import, which tells what it refuses
}

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
    takeAsCopy(event);
}

void frmMain::dropEvent(QDropEvent* event) {
    takeAsCopy(event);
    if (!event->isAccepted()) {
        return;
    }
    const QMimeData* data = event->mimeData();
    DropFormats formats;
    if (data->hasFormat(QStringLiteral("text/uri-list"))) {
        formats.uriList = data->data(QStringLiteral("text/uri-list")).toStdString();
    }
    for (const char* type : {"text/vcard", "text/x-vcard", "text/directory"}) {
        if (data->hasFormat(QString::fromLatin1(type))) {
            formats.vcardData = data->data(QString::fromLatin1(type)).toStdString();
            break;
        }
    }
    guarded([&] {
        if (client().Form_OLEDragDrop(dropItems(formats)) == ListingResult::ProgramEnded) {
            endProgram();
        }
    });
}

void frmMain::cmdClose_Click() {
    endProgram();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

void frmMain::setCaption(const std::u16string& text) {
    QString caption = QString::fromStdU16String(text);
    // The window manager draws the title bar from the title it is given: no repaint of ours shows
    // it, and each title given costs the window manager a redraw.
    if (m_unshownCaption && !sameCaptionRun(*m_unshownCaption, caption)) {
        setWindowTitle(*m_unshownCaption);  // the last of a run, with its final count, is seen
    }
    const bool runStarts = !sameCaptionRun(windowTitle(), caption);
    m_unshownCaption = std::move(caption);
    m_frameOwed = true;
    if (frameDue()) {
        showFrame();
    } else if (runStarts) {
        setWindowTitle(*std::exchange(m_unshownCaption, std::nullopt));
    }
}

void frmMain::appendLine(const std::u16string& line) {
    const int row = m_lines->rowCount();
    m_lines->insertRows(row, 1);
    m_lines->setData(m_lines->index(row), QString::fromStdU16String(line));
    m_frameOwed = true;
}

void frmMain::clearList() {
    m_lines->setStringList({});
    m_frameOwed = true;
}

std::u16string frmMain::selectedLine() const {
    const QModelIndex current = m_list1->currentIndex();
    return current.isValid() && m_list1->selectionModel()->isSelected(current)
               ? current.data().toString().toStdU16String()
               : std::u16string();
}

bool frmMain::frameDue() const {
    return !m_sinceFrame.isValid() || m_sinceFrame.elapsed() >= kFrameMilliseconds;
}

void frmMain::showOwedFrame() {
    if (m_frameOwed) {
        showFrame();
    }
}

// The event loop is blocked while an operation runs: give the window system the caption, paint
// the list now, and flush the connection so that both reach the screen.
void frmMain::showFrame() {
    m_frameOwed = false;
    m_sinceFrame.start();
    if (m_unshownCaption) {
        setWindowTitle(*std::exchange(m_unshownCaption, std::nullopt));
    }
    if (!isVisible()) {
        return;
    }
    m_list1->doItemsLayout();  // rows added since the last frame, and the scroll bar's range
    m_list1->repaint();
    QGuiApplication::sync();
}

void frmMain::showWindow() {
    show();
}

void frmMain::showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) {
    showOwedFrame();  // the box comes up over the window as it is now
    desktop().showMessage(QString::fromStdU16String(prompt), style, QString::fromStdU16String(title));
}

void frmMain::endProgram() {
    m_programEnded = true;
    desktop().endProgram();
}
