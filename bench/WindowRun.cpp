#include "bench/WindowRun.h"

#include "app/frmMain.h"
#include "app/modMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>

void useServer(std::int32_t port, bool secure) {
    modMain::sServer = secure ? QStringLiteral("https://127.0.0.1") : QStringLiteral("127.0.0.1");
    modMain::lPort = port;
    modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
}

double refreshUntilIdle(frmMain& window) {
    QElapsedTimer clock;
    clock.start();
    window.cmdRefresh_Click();
    while (window.busy()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

int listedRows(const frmMain& window) {
    return window.findChild<QAbstractItemView*>(QStringLiteral("List1"))->model()->rowCount();
}
