#include "app/AppIdentity.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    identifyApplication();
    // No display name: the toolkit would append it to every window title.
    frmMain window;
    window.Form_Load();
    if (window.programEnded()) {
        return 0;
    }
    return application.exec();
}
