#include "app/frmMain.h"

#include "app/AccessibleLabel.h"
#include "app/AppIcon.h"
#include "app/AppTexts.h"
#include "app/CaptionFit.h"
#include "app/ContactClipboard.h"
#include "app/ContactListModel.h"
#include "app/Controls.h"
#include "app/CopyDrop.h"
#include "app/Desktop.h"
#include "app/FindBar.h"
#include "app/HeapTrim.h"
#include "app/ListActions.h"
#include "app/Twips.h"
#include "app/WindowCentring.h"
#include "app/frmLogin.h"
#include "app/modMain.h"
#include "contacts/DropItems.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>

#include <utility>

frmMain::frmMain(QWidget* parent, HttpExchange http)
    : QWidget(parent, Qt::Window),
      m_http(std::move(http)),
      m_feed([this](std::function<void()> call) { post(std::move(call)); }, [this] { showPending(); }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kMainCaption);
    setWindowIcon(appIcon());
    // Nothing in the window follows a change of size, so there is nothing to maximise.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    createControls();
    layOut();
    connect(m_cmdRefresh, &QPushButton::clicked, this, &frmMain::cmdRefresh_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    // Not `activated`: with a desktop set to open on a single click it would fire on a click, and a
    // click only selects.
    connect(m_list1, &QListView::doubleClicked, this, &frmMain::List1_DblClick);
    connectActions();
    m_list1->installEventFilter(this);
    // Drops anywhere on the window, the list included: the list takes none itself.
    setAcceptDrops(true);
    m_list1->setAcceptDrops(false);
    m_list1->viewport()->setAcceptDrops(false);
}

frmMain::~frmMain() {
    m_feed.abandon();
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void frmMain::createControls() {
    m_lines = new ContactListModel(this);
    m_list1 = makeControl<QListView>(this, "List1");
    m_find = new FindBar(m_lines, m_list1, this);  // the list shows the find's view of the lines
    // A line is the record of a contact, not a text to edit; a double-click shows the contact.
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line of text per row: the view need not measure every row again as the list grows.
    m_list1->setUniformItemSizes(true);
    // Shift with the arrows, Shift- and Ctrl-click, Ctrl+A: Copy, Save As and Delete take them all.
    m_list1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_label2 = makeLabel(this, "Label2", kContactsLabel);
    labelControl(m_label2, m_list1);
    m_cmdClose = makeButton(this, "cmdClose", kCancelButton);
    m_cmdRefresh = makeButton(this, "cmdRefresh", kRefreshButton);
    m_label1 = makeLabel(this, "Label1", kDropHelp);
    m_label1->setWordWrap(true);
    m_actions = new ListActions(this, m_list1);
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
    askForLogin();
}

void frmMain::askForLogin() {
    if (frmLogin::showModal(this) == LoginResult::ProgramEnded) {
        m_programEnded = true;
    }
    if (!m_programEnded) {
        start(Operation::StartupListing, [](ContactClient& client) { return client.ListContacts(); });
    }
}

void frmMain::cmdRefresh_Click() {
    if (m_busy) {
        return;
    }
    m_lines->clear();
    // A failed listing here brings no login back.
    start(Operation::Other, [](ContactClient& client) { return client.ListContacts(); });
}

void frmMain::List1_DblClick() {
    if (m_busy) {
        return;
    }
    takeSelection();
    start(Operation::Other, [](ContactClient& client) {
        client.List1_DblClick();
        return ListingResult::Listed;
    });
}

void frmMain::cmdClose_Click() {
    endProgram();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list1 && event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // The list would copy its line's text itself when Copy cannot run now (no line, busy).
        if (keyEvent->matches(QKeySequence::Copy)) {
            return true;
        }
        const int key = keyEvent->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!selectedLine().empty()) {
                List1_DblClick();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    takeAsCopy(event);  // every copy reaches the import, which tells what it refuses
}

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    takeAsCopy(event);
}

void frmMain::dropEvent(QDropEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    takeAsCopy(event);
    if (!event->isAccepted()) {
        return;
    }
    startUpload(dropItems(dropFormatsOf(*event->mimeData())));
}

bool frmMain::start(Operation kind, Work work) {
    if (m_busy) {
        return false;
    }
    if (m_worker.joinable()) {
        m_worker.join();  // one the program's end abandoned: it has run its course by now
    }
    m_busy = true;
    updateActions();
    setCursor(Qt::BusyCursor);
    m_feed.beginOperation();
    m_worker = std::thread(&frmMain::runOnWorker, this, ContactClient(*this, modMain::loginState, m_http),
                           std::move(work), kind);
    return true;
}

void frmMain::runOnWorker(ContactClient client, const Work& work, Operation kind) {
    ListingResult result = ListingResult::Listed;
    // No exception may end the thread (that would end the program): it becomes a message.
    try {
        result = work(client);
    } catch (const std::exception& error) {
        showMessage((kOperationFailed + QString::fromLocal8Bit(error.what())).toStdU16String(),
                    MessageStyle::Information, u"");
    } catch (...) {
        showMessage(kUnknownFailure.toStdU16String(), MessageStyle::Information, u"");
    }
    m_feed.postUnlessAbandoned([this, kind, result] { operationEnded(kind, result); });
}

void frmMain::operationEnded(Operation kind, ListingResult result) {
    m_worker.join();
    showChanges();  // the last caption and the whole list are on screen before input resumes
    m_busy = false;
    updateActions();
    unsetCursor();
    returnFreedMemory();
    if (result == ListingResult::ProgramEnded) {
        endProgram();
    } else if (kind == Operation::StartupListing && result == ListingResult::Rejected) {
        askForLogin();  // as long as the server rejects the credentials, ask for them again
    }
}

void frmMain::endProgram() {
    m_programEnded = true;
    if (m_worker.joinable()) {
        m_feed.abandon();  // a recording desktop returns: the operation's further calls go nowhere
    }
    desktop().endProgram();
}
