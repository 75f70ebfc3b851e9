// The listing of 1,000 contacts in the real main window on the offscreen platform: one line and
// one caption repaint per contact, as the user sees it. bench_listing has the headless figure.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "bench/SeededServer.h"
#include "tests/app/DesktopRecorder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include <cstdlib>

namespace {

void WindowListingOf1000(benchmark::State& state) {
    HttpMailServer& server = seededServer();
    modMain::sServer = QStringLiteral("127.0.0.1");
    modMain::lPort = server.port();
    modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
    DesktopRecorder desktop;
    frmMain window;
    window.show();
    QApplication::processEvents();
    const auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    for (auto _ : state) {
        window.cmdRefresh_Click();
        if (list->count() != contactCount || !desktop.messages.empty())
            state.SkipWithError("not every contact was listed");
    }
}

}  // namespace

BENCHMARK(WindowListingOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
