#include "app/AppIdentity.h"

#include "app/AppIcon.h"

#include <QApplication>

void identifyApplication() {
    // Without it a dock matches the window to its launcher only by WM_CLASS ("vqcontactmgr"),
    // which Wayland compositors do not see at all.
    QGuiApplication::setDesktopFileName(QStringLiteral(VQ_APP_ID));
    QApplication::setWindowIcon(appIcon());
}
