// Paste and Import on the real main window against tools/httpmail-server on loopback: each goes
// exactly the drop's way, so each is checked beside a drop of the same data.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

std::string vcard(const std::string& name) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

// What one upload did: the messages shown, the bodies the server stored in order, and the names
// listed (the server names each upload anew).
struct Effect {
    QStringList messages;
    std::vector<std::string> posted;
    QStringList lines;
    bool operator==(const Effect&) const = default;
};

void PrintTo(const Effect& outcome, std::ostream* out) {
    *out << "messages: " << outcome.messages.join(" | ").toStdString() << "; " << outcome.posted.size()
         << " posted; lines: " << outcome.lines.join(" | ").toStdString();
}

struct PasteAndImport : testing::Test {
    void SetUp() override {
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server.port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        fs::create_directory(files);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    fs::path write(const std::string& name, const std::string& bytes) {
        std::ofstream(files / name, std::ios::binary) << bytes;
        return files / name;
    }

    // Runs act on an empty server folder and window, and says what came of it.
    Effect outcomeOf(const std::function<void()>& act) {
        for (const auto& entry : fs::directory_iterator(server.folder())) {
            fs::remove(entry.path());
        }
        recorder.messages.clear();
        window.clearList();
        act();
        EXPECT_TRUE(waitUntilIdle(window));
        Effect outcome{recorder.texts(), {}, {}};
        for (const QString& line : listLines(window)) {
            outcome.lines << line.section(QStringLiteral(" ["), 0, 0);
        }
        std::vector<fs::path> stored;
        for (const auto& entry : fs::directory_iterator(server.folder())) {
            stored.push_back(entry.path());
        }
        std::sort(stored.begin(), stored.end());  // the server names them in upload order
        for (const fs::path& file : stored) {
            outcome.posted.push_back(fileBytes(file));
        }
        return outcome;
    }

    void drop(const QMimeData& data) {
        const QPoint at = listOf(window)->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &dropped);
    }

    void paste(QMimeData* data) {
        QGuiApplication::clipboard()->setMimeData(data);
        listOf(window)->setFocus();
        QTest::keySequence(listOf(window), QKeySequence::Paste);
    }

    HttpMailServer server;
    fs::path files = server.folder().parent_path() / "picked";
    DesktopRecorder recorder;
    frmMain window;
};

}  // namespace

TEST_F(PasteAndImport, EachClipboardFormGoesAsADropOfTheSameData) {
    const fs::path first = write("first.vcf", vcard("First") + vcard("Second"));
    const fs::path notCard = write("notes.txt", "no card here");
    const QString card = QString::fromStdString(vcard("From Payload"));
    struct Row {
        const char* why;
        std::function<void(QMimeData&)> fill;
        QStringList messages;  // the drop's and the paste's
        std::size_t posts;
    };
    const Row rows[] = {
        {"copied files",
         [&](QMimeData& d) {
             d.setUrls({QUrl::fromLocalFile(QString::fromStdString(first.string())),
                        QUrl::fromLocalFile(QString::fromStdString(notCard.string()))});
         },
         {"Abount to Post 3 Contacts to Server", "Error: Item is not in VCF format"},
         2},
        {"text/vcard",
         [&](QMimeData& d) { d.setData("text/vcard", card.toUtf8()); },
         {"Abount to Post 1 Contacts to Server"},
         1},
        {"text/x-vcard",
         [&](QMimeData& d) { d.setData("text/x-vcard", card.toUtf8()); },
         {"Abount to Post 1 Contacts to Server"},
         1},
        {"text/directory",
         [&](QMimeData& d) { d.setData("text/directory", card.toUtf8()); },
         {"Abount to Post 1 Contacts to Server"},
         1},
        {"an empty file list",
         [](QMimeData& d) { d.setData("text/uri-list", "# none\r\n"); },
         {"Abount to Post 0 Contacts to Server"},
         0},
        {"HTML only", [](QMimeData& d) { d.setHtml("<b>BEGIN:VCARD</b>"); }, {"Invalid Data Format"}, 0},
        {"plain text without a card", [](QMimeData& d) { d.setText("Jane Doe"); }, {"Invalid Data Format"}, 0},
        {"binary data",
         [](QMimeData& d) { d.setData("application/octet-stream", QByteArray(100000, '\0')); },
         {"Invalid Data Format"},
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const Effect dropped = outcomeOf([&] {
            QMimeData data;
            row.fill(data);
            drop(data);
        });
        const Effect pasted = outcomeOf([&] {
            auto* data = new QMimeData;  // the clipboard takes it over
            row.fill(*data);
            paste(data);
        });
        EXPECT_EQ(pasted.messages, row.messages);
        EXPECT_EQ(pasted.posted.size(), row.posts);
        EXPECT_EQ(pasted, dropped) << "a paste and a drop never disagree";
    }
}

TEST_F(PasteAndImport, ACardCopiedAsPlainTextIsPostedWhereItsDropIsInvalid) {
    const std::string text = "Notes from the editor\n" + vcard("Typed In");
    const Effect pasted = outcomeOf([&] {
        auto* data = new QMimeData;
        data->setText(QString::fromStdString(text));
        paste(data);
    });
    EXPECT_EQ(pasted.messages, QStringList{"Abount to Post 1 Contacts to Server"});
    EXPECT_EQ(pasted.posted, std::vector<std::string>{vcard("Typed In")}) << "the card, as the drop splits it";
    EXPECT_EQ(pasted.lines.size(), 1);
}

TEST_F(PasteAndImport, ImportedFilesGoAsADropOfThoseFilesAndCancelDoesNothing) {
    const std::vector<fs::path> picked = {write("a.vcf", vcard("Ann") + vcard("Bob")), write("b.txt", ""),
                                          write("c d #.vcf", vcard("Cy"))};
    QList<QUrl> urls;
    recorder.importAnswer.clear();
    for (const fs::path& file : picked) {
        urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
        recorder.importAnswer << QString::fromStdString(file.string());
    }
    const Effect dropped = outcomeOf([&] {
        QMimeData data;
        data.setUrls(urls);
        drop(data);
    });
    const Effect imported = outcomeOf([&] { QTest::keySequence(&window, QKeySequence::Open); });
    EXPECT_EQ(recorder.importDialogs, 1);
    EXPECT_EQ(imported.messages,
              QStringList({"Abount to Post 4 Contacts to Server", "Error: Item is not in VCF format"}));
    EXPECT_EQ(imported.posted.size(), 3u);
    EXPECT_EQ(imported, dropped);

    const std::size_t requests = server.requestLog().size();
    recorder.importAnswer.clear();
    QTest::keySequence(&window, QKeySequence::Open);
    EXPECT_EQ(recorder.importDialogs, 2);
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(server.requestLog().size(), requests) << "a cancelled dialog sends nothing";
}
