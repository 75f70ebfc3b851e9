// frmMain's actions beyond the buttons: Copy, Save As, Paste, Import and Find, wired to the keys
// and the context menu of ListActions (Delete and its kin are in frmMainDelete.cpp).

#include "app/AppTexts.h"
#include "app/ContactClipboard.h"
#include "app/ContactFile.h"
#include "app/ContactListModel.h"
#include "app/Desktop.h"
#include "app/FindBar.h"
#include "app/ListActions.h"
#include "app/ListSelection.h"
#include "app/frmMain.h"
#include "contacts/ExportName.h"
#include "contacts/FolderListing.h"

#include "codec/CodePage.h"
#include "codec/Utf8.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QMimeData>

#include <utility>

namespace {

// The name vqcontacts export gives the file, as the person's other programs would show its bytes;
// empty when export would not write it.
QString suggestedName(const std::u16string& file) {
    const std::optional<std::string> name = exportFileName(codepage::windows1252Bytes(file));
    return name ? QString::fromStdU16String(utf8::decodeOrWindows1252(*name)) : QString();
}

// Why a Copy or Save got no contact: the answer's in-band text, or that none came.
QString fetchFailure(const modWININET::HttpResult& answer) {
    const std::u16string inBand = modWININET::inBandText(answer);
    return inBand.empty() ? kNoAnswer : QString::fromStdU16String(inBand);
}

// The selected contacts' bytes, their cards one after the other (a card without a line end at its
// close gets one, so the next card starts a line of its own), six fetched at a time; or the
// failure of the first that did not come.
struct FetchedCards {
    std::string bytes;
    std::optional<modWININET::HttpResult> failure;
};
FetchedCards fetchCards(const ContactFolder& folder, const std::vector<std::u16string>& files) {
    std::vector<std::string> fileBytes;
    fileBytes.reserve(files.size());
    for (const std::u16string& file : files) {
        fileBytes.push_back(codepage::windows1252Bytes(file));
    }
    FetchedCards fetched;
    const Verdict verdict = fetchFolder(folder, fileBytes, [&](std::size_t, modWININET::HttpResult&& answer) {
        if (fetched.failure) {
            return;
        }
        if (!answer.succeeded()) {
            fetched.failure = std::move(answer);
            return;
        }
        if (!fetched.bytes.empty() && fetched.bytes.back() != '\n' && fetched.bytes.back() != '\r') {
            fetched.bytes += "\r\n";
        }
        fetched.bytes += answer.body;
    });
    if (!fetched.failure && verdict.outcome != Outcome::Done) {
        fetched.failure = verdict.answer;  // a refused certificate, or a server that stopped: not all came
    }
    return fetched;
}

}  // namespace

void frmMain::connectActions() {
    connect(m_actions->open(), &QAction::triggered, this, &frmMain::List1_DblClick);
    connect(m_actions->edit(), &QAction::triggered, this, &frmMain::editContact);
    connect(m_actions->newContact(), &QAction::triggered, this, &frmMain::newContact);
    connect(m_actions->copy(), &QAction::triggered, this, &frmMain::copyContact);
    connect(m_actions->save(), &QAction::triggered, this, &frmMain::saveContact);
    connect(m_actions->paste(), &QAction::triggered, this, &frmMain::pasteContacts);
    connect(m_actions->import(), &QAction::triggered, this, &frmMain::importContacts);
    connect(m_actions->find(), &QAction::triggered, this, &frmMain::openFind);
    connect(m_actions->refresh(), &QAction::triggered, this, &frmMain::cmdRefresh_Click);
    connect(m_actions->remove(), &QAction::triggered, this, &frmMain::deleteSelected);
    connect(m_actions->undo(), &QAction::triggered, this, &frmMain::undoDelete);
    connect(m_actions->selectDuplicates(), &QAction::triggered, this, &frmMain::selectDuplicates);
    connect(m_find, &FindBar::openRequested, this, &frmMain::openFromFind);
    connect(m_list1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmMain::updateActions);
    connect(m_list1->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmMain::updateActions);
    // Another program that takes the clipboard while a Copy's GET runs wins: the Copy is dropped.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ++m_clipboardChanges; });
    updateActions();
}

void frmMain::updateActions() {
    const QItemSelectionModel* selection = m_list1->selectionModel();
    m_actions->update(
        {m_busy, !selectedLine().empty(), selection != nullptr && selection->hasSelection(), !m_undoBatches.empty()});
}

bool frmMain::takeSelection() {
    m_selectionAtStart = selectedLine();
    m_fileAtStart = selectedFile();
    return !m_selectionAtStart.empty();
}

std::vector<std::u16string> frmMain::selectedFiles() const {
    std::vector<std::u16string> files;
    for (const int row : selectedSourceRows(m_list1)) {
        files.push_back(m_lines->file(row).toStdU16String());
    }
    return files;
}

void frmMain::copyContact() {
    const std::vector<std::u16string> files = selectedFiles();
    if (m_busy || files.empty()) {
        return;
    }
    const quint64 clipboardAtStart = m_clipboardChanges;
    const QString name = files.size() == 1 ? suggestedName(files.front()) : kSeveralContactsName;
    start(Operation::Other, [this, clipboardAtStart, files, name](ContactClient& client) {
        FetchedCards fetched = fetchCards(client.folder(), files);
        if (fetched.failure) {
            showMessage((kCopyFailed + fetchFailure(*fetched.failure)).toStdU16String(), MessageStyle::Information,
                        u"");
            return ListingResult::Listed;
        }
        const QString text = QString::fromStdU16String(utf8::decodeOrWindows1252(std::string_view(fetched.bytes)));
        m_feed.postUnlessAbandoned([this, clipboardAtStart, bytes = std::move(fetched.bytes), text, name] {
            if (m_clipboardChanges == clipboardAtStart) {
                QGuiApplication::clipboard()->setMimeData(contactMimeData(bytes, text, name).release());
            }
        });
        return ListingResult::Listed;
    });
}

void frmMain::saveContact() {
    const std::vector<std::u16string> files = selectedFiles();
    if (m_busy || files.empty()) {
        return;
    }
    const QString target =
        desktop().chooseSaveFile(this, files.size() == 1 ? suggestedName(files.front()) : kSeveralContactsName);
    if (target.isEmpty() || m_busy) {
        return;
    }
    start(Operation::Other, [this, target, files](ContactClient& client) {
        const FetchedCards fetched = fetchCards(client.folder(), files);
        QString failure;
        if (fetched.failure) {
            failure = kSaveFetchFailed + fetchFailure(*fetched.failure);
        } else if (const std::optional<QString> reason = writeContactFile(target, fetched.bytes)) {
            failure = kSaveWriteFailed.arg(target, *reason);
        }
        if (!failure.isEmpty()) {
            showMessage(failure.toStdU16String(), MessageStyle::Information, u"");
        }
        return ListingResult::Listed;
    });
}

void frmMain::pasteContacts() {
    if (m_busy) {
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    startUpload(pasteItems(data ? pasteFormatsOf(*data) : PasteFormats{}));
}

void frmMain::importContacts() {
    if (m_busy) {
        return;
    }
    const QStringList files = desktop().chooseImportFiles(this);
    if (files.isEmpty() || m_busy) {
        return;
    }
    std::vector<DropItem> items;
    for (const QString& file : files) {
        items.push_back({std::filesystem::path(QFile::encodeName(file).toStdString()), std::nullopt});
    }
    startUpload(std::move(items));
}

void frmMain::startUpload(std::optional<std::vector<DropItem>> items) {
    start(Operation::Other,
          [items = std::move(items)](ContactClient& client) { return client.Form_OLEDragDrop(items); });
}

void frmMain::openFind() {
    m_find->open();
}

void frmMain::openFromFind() {
    if (selectedLine().empty()) {
        const QModelIndex first = m_list1->model()->index(0, 0);
        if (!first.isValid()) {
            return;
        }
        m_list1->setCurrentIndex(first);
    }
    List1_DblClick();
}
