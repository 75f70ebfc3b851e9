// One operation at a time, off the GUI thread: the real main window on the offscreen platform
// against tools/httpmail-server on loopback, made to stall in the middle of a listing (its
// "silent" fault holds every request from then on until the server stops).

#include "app/frmMain.h"
#include "app/modMain.h"
#include "codec/CodePage.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <memory>

namespace {

constexpr int kContacts = 400;

QString fileOf(int i) {
    return QStringLiteral("n%1.vcf").arg(10000 + i);
}

// The file names of the listed lines, in order: a line cut short by the stall has no name.
QStringList filesListed(const frmMain& window) {
    QStringList files;
    for (const QString& line : listLines(window)) {
        files << line.section(u'[', -1).chopped(1);
    }
    return files;
}

struct MainWindowOperations : testing::Test {
    void SetUp() override {
        for (int i = 0; i < kContacts; ++i) {
            std::ofstream(server.folder() / fileOf(i).toStdString(), std::ios::binary)
                << "BEGIN:VCARD\r\nFN:Person " << i << "\r\nEND:VCARD\r\n";
            expectedFiles << fileOf(i);
        }
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server.port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        window = std::make_unique<frmMain>();
        window->show();
    }

    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }

    // Starts a listing and stalls it once the first lines are on screen.
    void stallAListing() {
        QTest::mouseClick(button("cmdRefresh"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return listLines(*window).size() >= 2; }));
        server.setFault("silent");
        ASSERT_TRUE(window->busy());
    }

    // Drags a vCard file over the window and drops it; true when the window took the drop.
    bool dropAFile() {
        const auto path = server.folder().parent_path() / "dropped.vcf";
        std::ofstream(path, std::ios::binary) << "BEGIN:VCARD\r\nFN:Dropped\r\nEND:VCARD\r\n";
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &dropped);
        return enter.isAccepted() || dropped.isAccepted();
    }

    HttpMailServer server;
    DesktopRecorder recorder;
    std::unique_ptr<frmMain> window;
    QStringList expectedFiles;
};

}  // namespace

TEST_F(MainWindowOperations, InputDuringAListingIsNotTakenNorKeptForLater) {
    stallAListing();
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);

    QTest::mouseClick(button("cmdRefresh"), Qt::LeftButton);
    ASSERT_TRUE(doubleClickListRow(*window, 0));
    QTest::keyClick(listOf(*window), Qt::Key_Return);
    EXPECT_FALSE(dropAFile()) << "a drop is refused while the listing runs";

    // A timer of the GUI thread runs while the exchange stalls: the event loop is free.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(5);
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 5; }));
    EXPECT_TRUE(window->busy()) << "the stall went on meanwhile";

    server.stop();  // the stalled exchange fails, and its tries again find no server: it went away
    ASSERT_TRUE(waitUntilIdle(*window));
    const QStringList listed = filesListed(*window);
    EXPECT_EQ(listed, expectedFiles.mid(0, listed.size())) << "one listing, each contact once, in order";
    EXPECT_LT(listed.size(), kContacts);
    ASSERT_EQ(recorder.messages.size(), 1u) << "the stop is told, once";
    EXPECT_TRUE(recorder.messages[0].text.contains(" stopped answering. ")) << recorder.messages[0].text.toStdString();
    EXPECT_EQ(server.requests("PROPFIND").size(), 1u);
    EXPECT_TRUE(server.requests("POST").empty());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(recorder.endings, 0);

    // Nothing was kept for later: the window stays as the listing left it.
    drainQueuedCalls();
    EXPECT_EQ(filesListed(*window), listed);
    EXPECT_EQ(recorder.messages.size(), 1u);
}

TEST_F(MainWindowOperations, CancelAndTheCloseBoxEndAListingAtOnceWithoutAMessage) {
    struct Row {
        const char* why;
        std::function<void(MainWindowOperations&)> end;
    };
    const Row rows[] = {
        {"the Cancel button",
         [](MainWindowOperations& t) {
             QTest::mouseClick(t.button("cmdClose"), Qt::LeftButton);
         }},
        {"the window's close box",
         [](MainWindowOperations& t) {
             t.window->close();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer rowServer;
        for (int i = 0; i < kContacts; ++i) {
            std::ofstream(rowServer.folder() / fileOf(i).toStdString(), std::ios::binary) << "BEGIN:VCARD\r\n";
        }
        modMain::lPort = rowServer.port();
        recorder.endings = 0;
        window = std::make_unique<frmMain>();
        window->show();
        QTest::mouseClick(button("cmdRefresh"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !listLines(*window).isEmpty(); }));
        rowServer.setFault("silent");

        row.end(*this);
        EXPECT_EQ(recorder.endings, 1) << "at once, while the exchange still stalls";
        rowServer.stop();
        window.reset();  // waits for the abandoned listing to run out
        EXPECT_EQ(recorder.endings, 1);
        EXPECT_TRUE(recorder.messages.empty()) << recorder.texts().join("\n").toStdString();
    }
}

namespace {

// A desktop style that opens an item on a single click, as some desktops are set.
struct SingleClickStyle : QProxyStyle {
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        return hint == SH_ItemView_ActivateItemOnSingleClick ? 1
                                                             : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

TEST_F(MainWindowOperations, EnterOnALineShowsItsContactAndASingleClickOnlySelects) {
    QTest::mouseClick(button("cmdRefresh"), Qt::LeftButton);
    ASSERT_TRUE(waitUntilIdle(*window));
    ASSERT_EQ(filesListed(*window), expectedFiles);
    QAbstractItemView* list = listOf(*window);
    SingleClickStyle style;
    list->setStyle(&style);
    struct Row {
        const char* why;
        int row;  // -1: no line selected
        Qt::Key key;
        bool shows;
    };
    const Row rows[] = {
        {"Return on a line", 7, Qt::Key_Return, true},
        {"Enter on the keypad", 123, Qt::Key_Enter, true},
        {"a single click, even where a single click opens items", 42, Qt::Key_unknown, false},
        {"Return with no line selected", -1, Qt::Key_Return, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        recorder.messages.clear();
        list->clearSelection();
        if (row.row >= 0) {
            const QModelIndex index = list->model()->index(row.row, 0);
            list->scrollTo(index);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        }
        if (row.key != Qt::Key_unknown) {
            QTest::keyClick(list, row.key);
        }
        ASSERT_TRUE(waitUntilIdle(*window));
        drainQueuedCalls();  // what a click queued has run now
        if (!row.shows) {
            EXPECT_FALSE(window->busy()) << "nothing was started";
            EXPECT_TRUE(recorder.messages.empty()) << recorder.texts().join("\n").toStdString();
            continue;
        }
        const std::string bytes = fileBytes(server.folder() / fileOf(row.row).toStdString());
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text.toStdU16String(), codepage::fromWindows1252(bytes));
        EXPECT_EQ(recorder.messages[0].style, MessageStyle::Details);
    }
    list->setStyle(nullptr);
}
