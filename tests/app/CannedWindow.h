#pragma once
// The real main window over a CannedFolder, listed once through Refresh, with its desktop
// recorded: for the actions that act on a listed line.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/CannedFolder.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QTest>

struct CannedWindow : testing::Test {
    // Fills folder before the window lists it.
    virtual void fill() = 0;

    void SetUp() override {
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = 8080;
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        fill();
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.cmdRefresh_Click();
        ASSERT_TRUE(waitUntilIdle(window));
    }

    // Selects the line that ends with "[" file "]", as a click would.
    void selectFile(const QString& file) {
        const QStringList lines = listLines(window);
        for (int row = 0; row < lines.size(); ++row) {
            if (lines[row].endsWith(QLatin1Char('[') + file + QLatin1Char(']'))) {
                listOf(window)->selectionModel()->setCurrentIndex(listOf(window)->model()->index(row, 0),
                                                                  QItemSelectionModel::ClearAndSelect);
                return;
            }
        }
        ADD_FAILURE() << "no line for " << file.toStdString();
    }

    // A key as the user presses it, to the widget with the focus.
    void press(const QKeySequence& keys) {
        QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : &window, keys);
    }

    CannedFolder folder;
    DesktopRecorder recorder;
    frmMain window{nullptr, folder.exchange()};
};
