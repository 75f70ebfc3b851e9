#pragma once
// The main window and start-up object: shows itself, asks for the login, lists the contacts, and
// then waits for cmdRefresh, cmdClose, double-clicks and drops. It is the contact logic's window.

#include "contacts/ContactClient.h"
#include "contacts/ContactScreen.h"
#include "contacts/HttpFunction.h"

#include <QElapsedTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

class frmMain final : public QWidget, public ContactScreen {
    Q_OBJECT
public:
    // http: every exchange with the server; the real routine unless a test gives another.
    explicit frmMain(QWidget* parent = nullptr, HttpExchange http = modWININET::exchange);

    // The start-up sequence; returns when start-up is over or the program was told to end.
    void Form_Load();
    void cmdRefresh_Click();
    void cmdClose_Click();
    void List1_DblClick();

    // ContactScreen
    void setCaption(const std::u16string& text) override;
    void appendLine(const std::u16string& line) override;
    void clearList() override;
    std::u16string selectedLine() const override;
    void showWindow() override;
    void showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) override;

    void endProgram();

    bool programEnded() const { return m_programEnded; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void layOut();
    // A client for one operation, with the login state as it is now.
    ContactClient client();
    // Runs one operation; no exception may leave a Qt event handler, so it becomes a message.
    template <typename Operation>
    void guarded(Operation operation);
    // A listing changes the window once per contact, faster than a screen shows frames: the list
    // and the title are brought to the screen at most once a frame while it runs, and once more
    // when the operation ends; the first and the last caption of a run of progress always show.
    bool frameDue() const;
    void showOwedFrame();
    void showFrame();

    HttpExchange m_http;

    QListView* m_list1 = nullptr;
    QStringListModel* m_lines = nullptr;  // one display line per contact, nothing else per row
    QLabel* m_label2 = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QPushButton* m_cmdRefresh = nullptr;
    QLabel* m_label1 = nullptr;
    bool m_programEnded = false;
    QElapsedTimer m_sinceFrame;
    bool m_frameOwed = false;
    std::optional<QString> m_unshownCaption;  // set by the listing, not yet given to the window system
};
