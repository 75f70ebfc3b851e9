// The action the main window answers a drag and a drop with: always a copy, so no source ever
// deletes what the user dropped. Drops are sent to the real window as the window system sends
// them, against tools/httpmail-server on loopback.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Answer {
    Qt::DropAction proposed;
    QList<bool> accepted;           // drag enter, drag move, drop
    QList<Qt::DropAction> actions;  // the same three
};

// Enter, move and drop at the list's centre, each sent even when the one before was refused: a
// careless source might drop anyway.
Answer dragAndDrop(frmMain& window, const QMimeData& data, Qt::DropActions offered, Qt::KeyboardModifiers keys) {
    auto* list = window.findChild<QWidget*>("List1");
    const QPoint at = list->mapTo(&window, list->rect().center());
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, keys);
    QDropEvent dropped(at, offered, &data, Qt::NoButton, keys);
    Answer answer{enter.proposedAction(), {}, {}};
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &move, &dropped}) {
        QCoreApplication::sendEvent(window.windowHandle(), event);
        answer.accepted << event->isAccepted();
        answer.actions << event->dropAction();
    }
    EXPECT_TRUE(waitUntilIdle(window));
    return answer;
}

}  // namespace

TEST(DropAction, EveryDropIsACopyAndASourceOfferingNoCopyIsRefused) {
    HttpMailServer server;
    modMain::sServer = QStringLiteral("127.0.0.1");
    modMain::lPort = server.port();
    modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
    const fs::path card = server.folder().parent_path() / "keep me.vcf";
    const std::string bytes = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kept\r\nEND:VCARD\r\n";
    std::ofstream(card, std::ios::binary) << bytes;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(card.string()))});
    DesktopRecorder recorder;
    frmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    constexpr Qt::DropActions fileManager = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    struct Row {
        const char* why;
        Qt::DropActions offered;
        Qt::KeyboardModifiers keys;
        Qt::DropAction proposed;
        bool taken;
    };
    const Row rows[] = {
        {"a plain drag proposes a copy", fileManager, Qt::NoModifier, Qt::CopyAction, true},
        {"Shift proposes a move: the files would be deleted", fileManager, Qt::ShiftModifier, Qt::MoveAction, true},
        {"Ctrl+Shift proposes a link", fileManager, Qt::ControlModifier | Qt::ShiftModifier, Qt::LinkAction, true},
        {"a source that offers only a move", Qt::MoveAction, Qt::NoModifier, Qt::MoveAction, false},
        {"a source that offers only a link", Qt::LinkAction, Qt::NoModifier, Qt::LinkAction, false},
    };
    std::size_t posts = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const Answer answer = dragAndDrop(window, data, row.offered, row.keys);
        ASSERT_EQ(answer.proposed, row.proposed) << "the source proposes what the row says";
        EXPECT_EQ(answer.accepted, QList<bool>(3, row.taken));
        // A refused event's action means nothing: the platform answers "none" to the source.
        if (row.taken) {
            EXPECT_EQ(answer.actions, QList<Qt::DropAction>(3, Qt::CopyAction));
        } else {
            EXPECT_EQ(answer.actions[0], Qt::IgnoreAction);
        }
        posts += row.taken ? 1 : 0;
        EXPECT_EQ(server.requests("POST").size(), posts) << "a refused drop uploads nothing";
    }
    EXPECT_EQ(fileBytes(card), bytes) << "the file stays";
}
