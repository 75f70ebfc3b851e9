// frmMain's Edit and New Contact: the contact fetched again off the GUI thread, the editor over
// the window, and its saves run as operations of their own.

#include "app/AppTexts.h"
#include "app/ContactEditor.h"
#include "app/ContactListModel.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "codec/CodePage.h"
#include "contacts/DisplayLine.h"
#include "contacts/VCardName.h"

#include <QPointer>

void frmMain::editContact() {
    if (m_busy || !takeSelection()) {
        return;
    }
    start(Operation::Other, [this, file = m_fileAtStart](ContactClient& client) {
        modWININET::HttpResult answer = client.fetchContact(codepage::windows1252Bytes(file));
        if (!answer.succeeded()) {
            const std::u16string inBand = modWININET::inBandText(answer);
            showMessage(
                (kEditFetchFailed + (inBand.empty() ? kNoAnswer : QString::fromStdU16String(inBand))).toStdU16String(),
                MessageStyle::Information, u"");
            return ListingResult::Listed;
        }
        OpenedContact opened{codepage::windows1252Bytes(file), std::move(answer.body), std::move(answer.etag)};
        m_feed.postUnlessAbandoned([this, opened = std::move(opened)]() mutable { openEditor(std::move(opened)); });
        return ListingResult::Listed;
    });
}

void frmMain::newContact() {
    if (!m_busy) {
        openEditor({});
    }
}

void frmMain::openEditor(OpenedContact opened) {
    auto* editor = new ContactEditor(std::move(opened), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &ContactEditor::saveRequested, this,
            [this, editor](const std::string& bytes) { startSave(editor, bytes); });
    editor->open();
}

void frmMain::startSave(ContactEditor* editor, const std::string& bytes) {
    const QPointer<ContactEditor> guard(editor);
    const bool started =
        start(Operation::Other, [this, guard, opened = editor->opened(), bytes](ContactClient& client) {
            SaveReport report = ::saveContact(client.folder(), opened, bytes);
            const QString message = QString::fromStdU16String(saveMessage(client.folder().login(), report));
            const std::u16string file = codepage::fromWindows1252(opened.file);
            m_feed.postUnlessAbandoned([this, guard, report, message, file] {
                if (report.step == SaveStep::Saved) {
                    // The line follows what the server keeps, which may not be what was sent.
                    const int row = m_lines->rowOf(QString::fromStdU16String(file));
                    if (row >= 0) {
                        const std::u16string line = displayLine(vcardName(std::string_view(report.serverBytes)),
                                                                codepage::windows1252Bytes(file));
                        m_lines->setText(row, QString::fromStdU16String(line));
                    }
                }
                if (guard) {
                    guard->saveEnded(report, message);
                }
            });
            // A new contact, or one that went up in place of a refused PUT, has a name of the server's
            // choosing: the list is read again, as after an upload.
            if (report.step == SaveStep::Posted || report.step == SaveStep::OldKept) {
                clearList();
                return client.ListContacts();
            }
            return ListingResult::Listed;
        });
    if (!started) {
        SaveReport notStarted;
        editor->saveEnded(notStarted, {});
    }
}
