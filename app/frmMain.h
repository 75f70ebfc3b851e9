#pragma once
// The main window and start-up object: shows itself, asks for the login, lists the contacts, and
// then waits for cmdRefresh, cmdClose, double-clicks, Enter on a line, drops and the keys and
// context menu of ListActions (Copy, Save As, Paste, Import, Find, Delete, Undo Delete, Select
// Duplicates). The list takes a selection of several lines. It is the contact logic's window.
//
// Every operation (a listing, a contact's details, a drop's upload) runs on a worker thread of its
// own, one at a time: the GUI thread keeps its event loop, and while an operation runs the window
// takes no Refresh, no double-click or Enter, no drop and none of the actions that start one
// (nothing is queued for later) and shows the busy cursor. The ContactScreen calls come from that worker and are handed
// to the GUI thread through a ScreenFeed; called on the GUI thread itself (as tests do) they act the same way.

#include "app/ScreenFeed.h"
#include "contacts/ContactClient.h"
#include "contacts/ContactSave.h"
#include "contacts/ContactScreen.h"
#include "contacts/HttpExchange.h"
#include "contacts/RestoreContacts.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <thread>

class ContactEditor;
class ContactListModel;
class FindBar;
class ListActions;
class QLabel;
class QListView;
class QPushButton;

class frmMain final : public QWidget, public ContactScreen {
    Q_OBJECT
public:
    // http: every exchange with the server; the real routine unless a test gives another.
    explicit frmMain(QWidget* parent = nullptr, HttpExchange http = modWININET::exchange);
    // Abandons an operation still running (its further calls are dropped) and waits for its end.
    ~frmMain() override;

    // The start-up: shows the window and the login dialog, and starts the listing. A rejected login
    // brings the dialog back when that listing ends; a fatal one ends the program after its OK.
    void Form_Load();
    void cmdRefresh_Click();
    void cmdClose_Click();
    void List1_DblClick();

    // The actions beyond the buttons. Each needs a selected line or starts an operation as
    // ListActions says, and does nothing otherwise.
    // Copy: the selected contacts, fetched again, onto the clipboard as one vCard text, their cards
    // one after the other (see ContactClipboard.h), unless another program took the clipboard
    // meanwhile.
    void copyContact();
    // Save As: the selected contacts, fetched again, into the one file the user picks.
    void saveContact();
    // Delete: the selected lines' contacts, after one question (see DeleteContacts.h); the lines
    // of those gone leave the list, and their bytes are kept for Undo Delete.
    void deleteSelected();
    // Undo Delete: the last deleted batch back on the server (see RestoreContacts.h), then the
    // one before; what could not come back stays for the next.
    void undoDelete();
    // Select Duplicates: selects each shown line whose card equals an earlier line's (see
    // CardDigest.h); a message when there is none.
    void selectDuplicates();
    // Paste: what the clipboard holds goes the drop's way (see PasteItems.h).
    void pasteContacts();
    // Import: the files the user picks go the drop's way.
    void importContacts();
    // Find: shows the find field (see FindBar.h).
    void openFind();
    // Edit: the selected contact, fetched again, in the contact editor (ContactEditor.h), which
    // saves through this window. New Contact: the editor on an empty card.
    void editContact();
    void newContact();

    // ContactScreen, called from the operation's worker thread; on the GUI thread (as tests call
    // them) they take the same way to the screen.
    void setCaption(const std::u16string& text) override;
    void appendContact(const std::u16string& line, const std::u16string& file) override;
    void appendListed(const std::u16string& line, const std::u16string& file, const CardFacts& facts) override;
    void clearList() override;
    // On the GUI thread the selected line now; on the worker the one selected when it started.
    std::u16string selectedLine() const override;
    // The file kept beside the selected line; on the worker the one selected when it started.
    std::u16string selectedFile() const override;
    void showWindow() override;
    // Shown by the GUI thread, over the window as it is then; returns after the box's OK.
    void showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) override;

    // Ends the program at once (desktop().endProgram()), an operation in flight included: with a
    // recording desktop that returns, the operation's further calls are dropped.
    void endProgram();

    bool programEnded() const { return m_programEnded; }
    // True from an operation's start until the window has taken its end; stays true once the
    // program was told to end while one ran.
    bool busy() const { return m_busy; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Operation { StartupListing, Other };
    using Work = std::function<ListingResult(ContactClient&)>;

    void createControls();
    void layOut();
    void askForLogin();
    // Starts work on a worker thread with a client for the login state as it is now; false (and
    // nothing started) while another operation runs.
    bool start(Operation kind, Work work);
    void runOnWorker(ContactClient client, const Work& work, Operation kind);
    void operationEnded(Operation kind, ListingResult result);
    // Brings what the operation changed to the screen: showPending at most once a frame,
    // showChanges at once.
    void showPending();
    void showChanges();
    void post(std::function<void()> call);
    void connectActions();
    void updateActions();
    // Remembers the selected line and file for the worker; false when no line is selected.
    bool takeSelection();
    // The files of the selected lines, in the lines' order, for Copy and Save As.
    std::vector<std::u16string> selectedFiles() const;
    // Return in the find field: the selected match, else the first one.
    void openFromFind();
    void startUpload(std::optional<std::vector<DropItem>> items);
    void openEditor(OpenedContact opened);
    void startSave(ContactEditor* editor, const std::string& bytes);

    HttpExchange m_http;
    ScreenFeed m_feed;
    std::thread m_worker;
    bool m_busy = false;
    bool m_programEnded = false;
    std::u16string m_selectionAtStart;                       // what the worker's selectedLine() answers
    std::u16string m_fileAtStart;                            // and its selectedFile()
    quint64 m_clipboardChanges = 0;                          // counts every change of the clipboard's owner or data
    std::vector<std::vector<DeletedContact>> m_undoBatches;  // the deleted batches, oldest first
    QElapsedTimer m_sinceFrame;  // the frame clock: the next change, title included, is due a
                                 // frame after the last

    QListView* m_list1 = nullptr;
    ContactListModel* m_lines = nullptr;  // one display line per contact, and its file
    QLabel* m_label2 = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QPushButton* m_cmdRefresh = nullptr;
    QLabel* m_label1 = nullptr;
    ListActions* m_actions = nullptr;
    FindBar* m_find = nullptr;
};
