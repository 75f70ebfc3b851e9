// frmMain's Delete, Undo Delete and Select Duplicates: the selected lines' contacts deleted after
// one question, brought back batch by batch from the bytes kept since, and the later copies of a
// card selected.

#include "app/AppTexts.h"
#include "app/ContactListModel.h"
#include "app/DeleteQuestion.h"
#include "app/Desktop.h"
#include "app/ListSelection.h"
#include "app/frmMain.h"
#include "contacts/DeleteContacts.h"
#include "contacts/DisplayLine.h"
#include "contacts/RestoreContacts.h"
#include "contacts/VCardName.h"
#include "contacts/WriteReport.h"

#include "codec/CodePage.h"

#include <QListView>
#include <QSet>

#include <utility>

namespace {

// The line a restored contact gets back: as the listing makes it, from the bytes it was deleted with.
struct RestoredLine {
    std::u16string line;
    std::u16string file;
    CardFacts facts;
};

RestoredLine restoredLine(const DeletedContact& contact, const RestoreResult& result) {
    CardFacts facts{result.answer.etag, true, exactDigest(contact.bytes), copyDigest(contact.bytes)};
    return {displayLine(vcardName(std::string_view(contact.bytes)), contact.file),
            codepage::fromWindows1252(contact.file), std::move(facts)};
}

// The restored lines whose file has no line yet: a contact a server said it deleted but kept, and
// a Refresh listed again meanwhile, is found back under its name and must not get a second line.
void appendMissing(ContactListModel& model, const std::vector<RestoredLine>& back) {
    QSet<QString> listed;
    for (int row = 0; row < model.rowCount(); ++row) {
        listed.insert(model.file(row));
    }
    QStringList lines;
    QStringList files;
    std::vector<CardFacts> facts;
    for (const RestoredLine& restored : back) {
        const QString file = QString::fromStdU16String(restored.file);
        if (!listed.contains(file)) {
            lines << QString::fromStdU16String(restored.line);
            files << file;
            facts.push_back(restored.facts);
        }
    }
    model.append(lines, files, facts);
}

}  // namespace

void frmMain::deleteSelected() {
    if (m_busy) {
        return;
    }
    const std::vector<int> rows = selectedSourceRows(m_list1);
    if (rows.empty()) {
        return;
    }
    QStringList shownLines;
    std::vector<std::u16string> lines;
    std::vector<DeleteTarget> targets;
    for (const int row : rows) {
        shownLines << m_lines->text(row);
        lines.push_back(m_lines->text(row).toStdU16String());
        targets.push_back({codepage::windows1252Bytes(m_lines->file(row).toStdU16String()), m_lines->facts(row)});
    }
    if (!desktop().askToDelete(this, deleteQuestionText(shownLines)) || m_busy) {
        return;
    }
    start(Operation::Other, [this, lines = std::move(lines), targets = std::move(targets)](ContactClient& client) {
        const std::vector<DeleteResult> results = deleteContacts(client.folder(), targets);
        QStringList gone;
        std::vector<DeletedContact> batch;
        for (std::size_t i = 0; i < results.size(); ++i) {
            if (results[i].outcome != WriteOutcome::Done) {
                continue;
            }
            gone << QString::fromStdU16String(codepage::fromWindows1252(targets[i].file));
            if (!results[i].absent) {
                batch.push_back({targets[i].file, results[i].bytes});
            }
        }
        m_feed.postUnlessAbandoned([this, gone = std::move(gone), batch = std::move(batch)]() mutable {
            m_lines->removeFiles(gone);
            if (!batch.empty()) {
                m_undoBatches.push_back(std::move(batch));
            }
            updateActions();
        });
        const std::u16string message = deleteReport(client.folder().login(), lines, results);
        if (!message.empty()) {
            showMessage(message, MessageStyle::Information, u"");
        }
        return ListingResult::Listed;
    });
}

void frmMain::undoDelete() {
    if (m_busy || m_undoBatches.empty()) {
        return;
    }
    std::vector<DeletedContact> batch = std::move(m_undoBatches.back());
    m_undoBatches.pop_back();
    start(Operation::Other, [this, batch = std::move(batch)](ContactClient& client) {
        const std::vector<RestoreResult> results = restoreContacts(client.folder(), batch);
        std::vector<DeletedContact> notBack;
        std::vector<std::u16string> lines;
        std::vector<RestoredLine> back;
        bool posted = false;
        for (std::size_t i = 0; i < results.size(); ++i) {
            RestoredLine restored = restoredLine(batch[i], results[i]);
            lines.push_back(restored.line);
            if (results[i].outcome != WriteOutcome::Done) {
                notBack.push_back(batch[i]);
            } else if (results[i].as == RestoredAs::ServerName) {
                posted = true;
            } else {
                back.push_back(std::move(restored));
            }
        }
        m_feed.postUnlessAbandoned([this, notBack = std::move(notBack), back = std::move(back)]() mutable {
            appendMissing(*m_lines, back);
            if (!notBack.empty()) {
                // What did not come back stays the newest batch: Undo Delete tries it again.
                m_undoBatches.push_back(std::move(notBack));
            }
            updateActions();
        });
        const std::u16string message = restoreReport(client.folder().login(), lines, results);
        if (!message.empty()) {
            showMessage(message, MessageStyle::Information, u"");
        }
        if (!posted) {
            return ListingResult::Listed;
        }
        // The server named the posted cards: only its listing knows their lines.
        clearList();
        return client.ListContacts();
    });
}

void frmMain::selectDuplicates() {
    if (m_busy) {
        return;
    }
    std::vector<std::optional<CardDigest>> digests;
    digests.reserve(static_cast<std::size_t>(m_lines->rowCount()));
    for (int row = 0; row < m_lines->rowCount(); ++row) {
        const CardFacts& facts = m_lines->facts(row);
        digests.push_back(facts.bytesCame ? std::optional<CardDigest>(facts.copy) : std::nullopt);
    }
    std::vector<int> copies;
    for (const std::size_t row : laterCopies(digests)) {
        copies.push_back(static_cast<int>(row));
    }
    if (selectSourceRows(m_list1, copies) == 0) {
        desktop().showMessage(kNoDuplicates, MessageStyle::Information, {});
    }
}
