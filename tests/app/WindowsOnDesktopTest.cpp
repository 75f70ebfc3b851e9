// How the windows meet the desktop: where they open, the icons they carry, the name they give.

#include "app/AppIcon.h"
#include "app/AppIdentity.h"
#include "app/WindowCentring.h"
#include "app/frmLogin.h"
#include "app/frmMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/support/SourceTree.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <filesystem>

TEST(CentredFramePosition, CentresTheFrameNotTheClientArea) {
    struct Row {
        const char* why;
        QSize client;
        QMargins frame;
        QRect available;
        QPoint frameTopLeft;
    };
    const Row rows[] = {
        {"no frame yet: the client area is the window", {400, 300}, {}, {0, 0, 1280, 1024}, {440, 362}},
        {"a 24-pixel title bar lifts the frame by 12 pixels, borders by half their width",
         {400, 300},
         {4, 24, 4, 4},
         {0, 0, 1280, 1024},
         {436, 348}},
        {"a top panel of 30 pixels: centred in what is left", {400, 300}, {}, {0, 30, 1280, 994}, {440, 377}},
        {"a second screen on the right", {400, 300}, {}, {1280, 0, 1920, 1080}, {2040, 390}},
        {"wider and taller than the screen: the title bar stays on it",
         {1500, 1200},
         {4, 24, 4, 4},
         {0, 30, 1280, 994},
         {0, 30}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(centredFramePosition(row.client, row.frame, row.available), row.frameTopLeft);
    }
}

TEST(WindowsOnDesktop, BothOpenCentredAndCarryEveryIconSize) {
    DesktopRecorder recorder;
    frmMain window;
    frmLogin dialog(&window);
    for (QWidget* shown : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&dialog)}) {
        SCOPED_TRACE(shown->objectName().toStdString());
        shown->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
        const QPoint centre = shown->screen()->availableGeometry().center();
        const QPoint offset = shown->frameGeometry().center() - centre;
        EXPECT_LE(offset.manhattanLength(), 1) << "frame centre off by " << offset.x() << "," << offset.y();
        const QList<QSize> sizes = shown->windowIcon().availableSizes();
        for (const int size : kAppIconSizes) {
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << size << " pixels";
        }
    }
}

TEST(WindowsOnDesktop, DesktopFileNameNamesTheInstalledDesktopEntry) {
    identifyApplication();
    const QString id = QGuiApplication::desktopFileName();
    ASSERT_TRUE(id.startsWith("com.velqor.")) << "reverse-DNS: " << id.toStdString();
    // A dock matches the running window to its launcher by this name: the file must exist.
    EXPECT_TRUE(std::filesystem::exists(sourceDir() / "app" / (id.toStdString() + ".desktop")));
}
