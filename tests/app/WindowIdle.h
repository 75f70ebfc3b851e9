#pragma once
// Operations run off the GUI thread: a test that acts on the main window lets its event loop run
// until the window has taken the operation's end (and with it its last lines and caption).

#include "app/frmMain.h"

#include <QCoreApplication>
#include <QTest>

// False when the window was still busy after the time given (a test server that never answers).
inline bool waitUntilIdle(const frmMain& window, int milliseconds = 120'000) {
    return QTest::qWaitFor([&window] { return !window.busy(); }, milliseconds);
}

// Runs every call already queued for the GUI thread, and those they queue in turn, up to rounds
// deep: a check after it sees whatever a queued call would change, however slow the machine, so
// "nothing happened" needs no wait. Each round queues a mark and runs events until the mark ran:
// the queue is first in, first out.
inline void drainQueuedCalls(int rounds = 3) {
    for (int round = 0; round < rounds; ++round) {
        bool reached = false;
        QMetaObject::invokeMethod(
            qApp, [&reached] { reached = true; }, Qt::QueuedConnection);
        while (!reached) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
}
