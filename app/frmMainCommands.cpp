// frmMain's actions beyond the buttons: Copy, Save As, Paste, Import and Find, wired to the keys
// and the context menu of ListActions.

#include "app/AppTexts.h"
#include "app/ContactClipboard.h"
#include "app/ContactFile.h"
#include "app/Desktop.h"
#include "app/FindBar.h"
#include "app/ListActions.h"
#include "app/frmMain.h"
#include "contacts/ExportName.h"

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
    connect(m_find, &FindBar::openRequested, this, &frmMain::openFromFind);
    connect(m_list1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmMain::updateActions);
    connect(m_list1->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmMain::updateActions);
    // Another program that takes the clipboard while a Copy's GET runs wins: the Copy is dropped.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ++m_clipboardChanges; });
    updateActions();
}

void frmMain::updateActions() {
    m_actions->update(m_busy, !selectedLine().empty());
}

bool frmMain::takeSelection() {
    m_selectionAtStart = selectedLine();
    m_fileAtStart = selectedFile();
    return !m_selectionAtStart.empty();
}

void frmMain::copyContact() {
    if (m_busy || !takeSelection()) {
        return;
    }
    const quint64 clipboardAtStart = m_clipboardChanges;
    start(Operation::Other, [this, clipboardAtStart, file = m_fileAtStart](ContactClient& client) {
        modWININET::HttpResult answer = client.fetchContact(codepage::windows1252Bytes(file));
        if (!answer.succeeded()) {
            showMessage((kCopyFailed + fetchFailure(answer)).toStdU16String(), MessageStyle::Information, u"");
            return ListingResult::Listed;
        }
        const QString text = QString::fromStdU16String(detailsText(answer));
        m_feed.postUnlessAbandoned([this, clipboardAtStart, bytes = std::move(answer.body), text, file] {
            if (m_clipboardChanges == clipboardAtStart) {
                QGuiApplication::clipboard()->setMimeData(contactMimeData(bytes, text, suggestedName(file)).release());
            }
        });
        return ListingResult::Listed;
    });
}

void frmMain::saveContact() {
    if (m_busy || !takeSelection()) {
        return;
    }
    const QString target = desktop().chooseSaveFile(this, suggestedName(m_fileAtStart));
    if (target.isEmpty() || m_busy) {
        return;
    }
    start(Operation::Other, [this, target, file = m_fileAtStart](ContactClient& client) {
        const modWININET::HttpResult answer = client.fetchContact(codepage::windows1252Bytes(file));
        QString failure;
        if (!answer.succeeded()) {
            failure = kSaveFetchFailed + fetchFailure(answer);
        } else if (const std::optional<QString> reason = writeContactFile(target, answer.body)) {
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
