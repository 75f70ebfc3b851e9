#include "app/AppIdentity.h"
#include "app/HeapTrim.h"
#include "app/XdndCopyFilter.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before any operation starts a thread: the arenas are capped from the first.
    configureMalloc();
    QApplication application(argc, argv);
    identifyApplication();
    answerMovesAsCopies();
    // No display name: the toolkit would append it to every window title.
    frmMain window;
    window.Form_Load();
    if (window.programEnded()) {
        return 0;
    }
    return application.exec();
}
