#pragma once
// Operations run off the GUI thread: a test that acts on the main window lets its event loop run
// until the window has taken the operation's end (and with it its last lines and caption).

#include "app/frmMain.h"

#include <QTest>

// False when the window was still busy after the time given (a test server that never answers).
inline bool waitUntilIdle(const frmMain& window, int milliseconds = 120'000) {
    return QTest::qWaitFor([&window] { return !window.busy(); }, milliseconds);
}
