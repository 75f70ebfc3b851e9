#pragma once
// The contact editor: a window-modal dialog over the main window, on the fields a person edits
// (contacts/ContactFields.h) and, on a second tab, the whole vCard text; the two stay in step.
// Only what changed changes (contacts/VCardEdit.h): a card nobody touched keeps every byte.
//
// The editor never waits on the network. Save asks the window to save (saveRequested) and waits,
// its controls disabled, for saveEnded: a saved edit closes it; a conflict or a failure leaves it
// open with everything typed, and a conflict shows the server's version beside the edit. Save is
// the default button (Return in a one-line field saves); Cancel and Escape close, asking first
// when something changed. A Save with an empty name, or a vCard text that is no whole card, is
// refused with a message.

#include "app/CardText.h"
#include "contacts/ContactFields.h"
#include "contacts/ContactSave.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TypedRows;

class ContactEditor final : public QDialog {
    Q_OBJECT
public:
    // opened: the contact as its GET gave it; an empty file and bytes for a new contact.
    explicit ContactEditor(OpenedContact opened, QWidget* parent = nullptr);

    const OpenedContact& opened() const { return m_opened; }
    // Whether what a Save would send differs from what was opened.
    bool changed();
    // The window's answer to saveRequested; message is saveMessage's, empty for none.
    void saveEnded(const SaveReport& report, const QString& message);

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // bytes: the whole edited card. Not sent when nothing changed: the editor just closes.
    void saveRequested(const std::string& bytes);

private:
    QWidget* makeFieldsTab();
    QWidget* makeTextTab();
    void save();
    void showFields(const ContactFields& fields);
    ContactFields shownFields() const;
    // The bytes the fields and the text stand for now; nullopt when the text is no whole card.
    std::optional<std::string> currentBytes();
    void tabChanged(int index);
    void fillText();

    OpenedContact m_opened;
    std::string m_base;        // the bytes the fields are applied to
    CardText m_shownText;      // what the vCard tab was filled with
    bool m_textStale = true;   // the vCard tab does not show the fields' state yet
    bool m_textTyped = false;  // the person typed in the vCard tab since it was filled
    bool m_saving = false;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_txtName = nullptr;
    QLineEdit* m_txtGiven = nullptr;
    QLineEdit* m_txtFamily = nullptr;
    QLineEdit* m_txtOrganisation = nullptr;
    QLineEdit* m_txtTitle = nullptr;
    TypedRows* m_emails = nullptr;
    TypedRows* m_phones = nullptr;
    QPlainTextEdit* m_txtNote = nullptr;
    QPlainTextEdit* m_txtVcard = nullptr;
    QWidget* m_serverPane = nullptr;
    QPlainTextEdit* m_txtServerVersion = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};
