// Drops onto the real main window, made as the window system makes them (drag enter, move, drop
// on the window at a point), against tools/httpmail-server on loopback with the real HttpRequest.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const QString kDropTitle = QStringLiteral("Velqor Personal Contact Manager");
const QString kNotVcard = QStringLiteral("Error: Item is not in VCF format");

QString notice(int count) {
    return QStringLiteral("Abount to Post %1 Contacts to Server").arg(count);
}

std::string vcard(const std::string& name, const char* eol = "\r\n") {
    return "BEGIN:VCARD" + std::string(eol) + "VERSION:3.0" + eol + "FN:" + name + eol + "END:VCARD" + eol;
}

struct MainWindowDrop : testing::Test {
    void SetUp() override {
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server.port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        fs::create_directory(dropFolder);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = dropFolder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Drags data over the window to the centre of the named control and drops it there.
    bool drop(const QMimeData& data, const char* onto = "List1") {
        const auto* target = window.findChild<QWidget*>(QString::fromLatin1(onto));
        const QPoint at = target->mapTo(&window, target->rect().center());
        QWindow* handle = window.windowHandle();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &move);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &dropped);
        EXPECT_TRUE(waitUntilIdle(window));
        return dropped.isAccepted();
    }

    static QMimeData* filesData(const std::vector<fs::path>& files) {
        QList<QUrl> urls;
        for (const fs::path& file : files) {
            urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
        }
        auto* data = new QMimeData;
        data->setUrls(urls);
        return data;
    }

    std::vector<fs::path> uploads() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(server.folder())) {
            found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());  // the server names them in upload order
        return found;
    }

    void expectDropMessages(const QStringList& texts) {
        EXPECT_EQ(recorder.texts(), texts);
        for (const auto& message : recorder.messages) {
            EXPECT_EQ(message.style, MessageStyle::Information) << message.text.toStdString();
            EXPECT_EQ(message.title, kDropTitle) << message.text.toStdString();
        }
    }

    HttpMailServer server;
    fs::path dropFolder = server.folder().parent_path() / "drop";
    DesktopRecorder recorder;
    frmMain window;
};

}  // namespace

TEST_F(MainWindowDrop, ThreeVcardFilesArriveByteForByteAndOneRefreshShowsThem) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte.push_back(static_cast<char>(b));
    }
    const std::string files[] = {
        vcard("Zo\xC3\xAB Quinn"),                            // UTF-8, sent as its bytes
        vcard("J\xFCrgen [Home]\x81\x8D\x8F\x90\x9D", "\n"),  // Windows-1252, undefined bytes, LF
        "BEGIN:VCARD\r\nFN:Every Byte\r\nNOTE:" + everyByte + "\r\nEND:VCARD\r\n",
    };
    std::vector<fs::path> paths;
    for (std::size_t i = 0; i < std::size(files); ++i) {
        paths.push_back(write("card" + std::to_string(i) + ".vcf", files[i]));
    }
    const std::unique_ptr<QMimeData> data(filesData(paths));

    EXPECT_TRUE(drop(*data, "List1")) << "the list takes drops for the window";

    expectDropMessages({notice(3)});
    const auto stored = uploads();
    ASSERT_EQ(stored.size(), 3u);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(fileBytes(stored[i]), files[i]) << i;
    }
    EXPECT_EQ(server.requests("POST").size(), 3u);
    EXPECT_EQ(server.requests("PROPFIND").size(), 1u) << "one refresh after all posts";
    const QStringList listed = listLines(window);
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(listed[0].startsWith(QString::fromUtf8("Zo\xC3\xAB Quinn ["))) << "UTF-8 read as UTF-8";
    EXPECT_TRUE(listed[1].startsWith(QString::fromUtf8("J\u00fcrgen (Home) [")))
        << "Windows-1252 with bare LF: " << listed[1].toStdString();
    EXPECT_TRUE(listed[2].startsWith("Every Byte ["));
}

TEST_F(MainWindowDrop, EachBadItemIsRejectedAndTheOthersArePostedOnce) {
    const std::string good1 = vcard("First Good");
    const std::string good2 = vcard("Second Good");
    const std::u16string utf16 = u"BEGIN:VCARD\r\nFN:Wide\r\nEND:VCARD\r\n";
    const fs::path folder = dropFolder / "a folder.vcf";
    fs::create_directory(folder);
    const fs::path tooLarge = write("huge.vcf", "BEGIN:VCARD\r\n");
    fs::resize_file(tooLarge, 64 * 1024 * 1024 + 1);  // sparse: nothing is written to disk
    const fs::path vanished = write("vanished.vcf", vcard("Gone"));
    const std::vector<fs::path> paths = {
        folder,
        write("empty.vcf", ""),
        write("wide.vcf", std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * sizeof(char16_t))),
        write("lower.vcf", "begin:vcard\r\nfn:Lower\r\nend:vcard\r\n"),
        write("good1.vcf", good1),
        tooLarge,
        vanished,
        write("good 2 #%.vcf", good2),
    };
    const std::unique_ptr<QMimeData> data(filesData(paths));
    fs::remove(vanished);  // gone between the drag and the drop

    EXPECT_TRUE(drop(*data, "Label1"));

    expectDropMessages({notice(8), kNotVcard, kNotVcard, kNotVcard, kNotVcard, kNotVcard});
    const auto stored = uploads();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(fileBytes(stored[0]), "begin:vcard\r\nfn:Lower\r\nend:vcard\r\n") << "lower-case markers: a card";
    EXPECT_EQ(fileBytes(stored[1]), good1);
    EXPECT_EQ(fileBytes(stored[2]), good2);
    EXPECT_EQ(listLines(window).size(), 3);
}

TEST_F(MainWindowDrop, DropsWithoutAFileListAreInvalidAndChangeNothing) {
    struct Row {
        const char* why;
        std::function<void(QMimeData&)> fill;
    };
    const Row rows[] = {
        {"plain text",
         [](QMimeData& d) {
             d.setText("BEGIN:VCARD\r\nFN:Typed\r\nEND:VCARD\r\n");
         }},
        {"web links only",
         [](QMimeData& d) {
             d.setUrls({QUrl("http://127.0.0.1/a.vcf"), QUrl("file://far/b.vcf")});
         }},
        {"HTML",
         [](QMimeData& d) {
             d.setHtml("<b>BEGIN:VCARD</b>");
         }},
    };
    window.appendContact(u"Kept [k.vcf]", u"k.vcf");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        recorder.messages.clear();
        QMimeData data;
        row.fill(data);
        drop(data);
        expectDropMessages({"Invalid Data Format"});
    }
    EXPECT_TRUE(server.requestLog().empty()) << "no post, no refresh";
    EXPECT_EQ(listLines(window), QStringList{"Kept [k.vcf]"});
}

TEST_F(MainWindowDrop, AnEmptyUrlListPostsNothingAndRefreshes) {
    write("x.vcf", vcard("Not Dropped"));
    fs::copy_file(dropFolder / "x.vcf", server.folder() / "already.vcf");
    QMimeData data;
    data.setData("text/uri-list", "# nothing chosen\r\n");
    window.appendContact(u"Stale [s.vcf]", u"s.vcf");

    drop(data);

    expectDropMessages({notice(0)});
    EXPECT_TRUE(server.requests("POST").empty());
    EXPECT_EQ(server.requests("PROPFIND").size(), 1u);
    EXPECT_EQ(listLines(window), QStringList{"Not Dropped [already.vcf]"});
}

TEST_F(MainWindowDrop, AddressBookVcardDataIsPostedOneCardEach) {
    for (const char* type : {"text/vcard", "text/x-vcard", "text/directory"}) {
        SCOPED_TRACE(type);
        fs::remove_all(server.folder());
        fs::create_directory(server.folder());
        recorder.messages.clear();
        const std::string first = vcard(std::string("From ") + type);
        const std::string second = vcard("Second In Payload");
        QMimeData data;
        data.setData(type, QByteArray::fromStdString(first + second));
        data.setText("From " + QString::fromLatin1(type));  // address books add a plain-text form

        drop(data);

        expectDropMessages({notice(2)});
        const auto stored = uploads();
        ASSERT_EQ(stored.size(), 2u);
        EXPECT_EQ(fileBytes(stored[0]), first);
        EXPECT_EQ(fileBytes(stored[1]), second);
        EXPECT_EQ(listLines(window).size(), 2);
    }
}

TEST_F(MainWindowDrop, AThreeCardExportGivesThreePostsAndThreeNamedLines) {
    // An address book export: UTF-8 with a byte order mark, a 2.1 quoted-printable card and a
    // card in lower case, with a blank line between two of them.
    const std::string cards[] = {
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\xC5\x81ukasz Nowak\r\nEND:VCARD\r\n",
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ren=C3=A9e =\r\nDubois\r\n"
        "END:VCARD\r\n",
        "begin:vcard\nversion:3.0\nn:Berg;Ola;;;\nend:vcard\n",
    };
    const fs::path file = write("export.vcf", "\xEF\xBB\xBF" + cards[0] + cards[1] + "\r\n" + cards[2]);
    const std::unique_ptr<QMimeData> data(filesData({file}));

    drop(*data);

    expectDropMessages({notice(3)});
    const auto stored = uploads();
    ASSERT_EQ(stored.size(), 3u);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(fileBytes(stored[i]), cards[i]) << i;
    }
    EXPECT_EQ(server.requests("POST").size(), 3u);
    const QStringList listed = listLines(window);
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(listed[0].startsWith(QString::fromUtf8("\u0141ukasz Nowak ["))) << listed[0].toStdString();
    EXPECT_TRUE(listed[1].startsWith(QString::fromUtf8("Ren\u00e9e Dubois ["))) << listed[1].toStdString();
    EXPECT_TRUE(listed[2].startsWith("Ola Berg [")) << listed[2].toStdString();
}
