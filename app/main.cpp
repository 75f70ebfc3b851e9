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
    // Ended from the login dialog: the end asked every running event loop to stop, and exec()
    // would start a new one that nothing stops.
    if (window.programEnded()) {
        return 0;
    }
    // The window goes first (it waits for its operation's worker), then the application, whose
    // teardown hands the clipboard to the desktop's clipboard manager.
    return application.exec();
}
