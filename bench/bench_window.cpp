// The listing as the user waits for it: the real main window against a fast loopback server, beside
// the headless ListContacts of the same folder, for 1,000 and 10,000 contacts, with the ratio
// window / headless; the resident memory with the login dialog up and after 10,000 contacts in
// the window; and the link figures (WindowLinkBench.h): 1,000 contacts over a 20 ms round trip,
// plain and over TLS, and how long the GUI thread's event loop went without running. Runs on xcb under Xvfb with a
// window manager when it can, and says where it ran.

#include "app/HeapTrim.h"
#include "app/frmLogin.h"
#include "app/frmMain.h"
#include "bench/BenchDisplay.h"
#include "bench/BenchTrust.h"
#include "bench/ContactServer.h"
#include "bench/DelayLink.h"
#include "bench/WindowLinkBench.h"
#include "bench/WindowRun.h"
#include "contacts/ContactClient.h"
#include "net/modWININET.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/ScreenRecorder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// Lets the window system map, expose and paint what is pending.
void settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void headless(benchmark::State& state, const ContactServer* server) {
    for (auto _ : state) {
        ScreenRecorder screen;
        ContactClient(screen, {u"127.0.0.1", server->port(), u"Basic ZGVtbzpkZW1v"}).ListContacts();
        if (screen.lines.size() != static_cast<std::size_t>(server->contacts())) {
            state.SkipWithError("not every contact was listed");
        }
    }
}

// Refresh, timed until the window has taken the listing's end (its last lines and caption).
void windowed(benchmark::State& state, const ContactServer* server, frmMain* window) {
    useServer(server->port());
    for (auto _ : state) {
        refreshUntilIdle(*window);
        if (listedRows(*window) != server->contacts()) {
            state.SkipWithError("not every contact was listed");
        }
    }
}

// Keeps each benchmark's mean wall time beside the console output, for the side-by-side table.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> milliseconds;
};

void printTable(const TableReporter& reporter, const char* platform) {
    std::printf("\nListing, wall time per run (window on %s):\n", platform);
    std::printf("%9s %14s %14s %16s\n", "contacts", "headless ms", "window ms", "window/headless");
    for (const char* count : {"1000", "10000"}) {
        const auto headlessTime = reporter.milliseconds.find(std::string("Headless/") + count);
        const auto windowTime = reporter.milliseconds.find(std::string("Window/") + count);
        if (headlessTime == reporter.milliseconds.end() || windowTime == reporter.milliseconds.end()) {
            continue;
        }
        std::printf("%9s %14.1f %14.1f %15.2fx\n", count, headlessTime->second, windowTime->second,
                    windowTime->second / headlessTime->second);
    }
}

// Beside the resident figures, what malloc holds: in use, and free but still resident or mapped
// (what the allocator keeps after a burst, not what the program needs).
void printMemory(const char* when, const ResidentMemory& memory) {
    const struct mallinfo2 heap = mallinfo2();
    std::printf("%-47s VmRSS %5.1f MB  VmHWM %5.1f MB  (malloc: in use %5.1f MB, free %5.1f MB)\n", when,
                memory.rssKb / 1024.0, memory.peakKb / 1024.0, double(heap.uordblks + heap.hblkhd) / (1 << 20),
                double(heap.fordblks) / (1 << 20));
}

}  // namespace

int main(int argc, char** argv) {
    const BenchDisplay display(argc, argv);
    // The servers fork: before Qt or the benchmark library start any thread.
    const TestAuthority authority;
    const std::filesystem::path trusted = systemAndBenchAuthorities(authority);
    const ContactServer thousand(1000);
    const ContactServer tenThousand(10000);
    const ContactServer thousandOverTls(1000, {}, authority.issue("bench", {}));
    const DelayLink link(thousand.port(), std::chrono::milliseconds(20));
    const DelayLink tlsLink(thousandOverTls.port(), std::chrono::milliseconds(20));
    const ContactServer slowListing(20, std::chrono::seconds(6));
    configureMalloc();  // as the program's main does
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("bench_window: the window runs on %s\n", display.description().c_str());

    DesktopRecorder desktop;  // a failed listing is recorded, never a box that waits for a click
    frmMain window(nullptr, modWININET::Transport({}, trusted));
    window.show();
    // Memory first, while nothing but the program's own start-up has run in this process.
    {
        frmLogin dialog(&window);
        dialog.show();
        settle(500);
        printMemory("resident, login dialog up:", residentMemory());
    }
    useServer(tenThousand.port());
    refreshUntilIdle(window);
    settle(500);
    if (listedRows(window) != tenThousand.contacts() || !desktop.messages.empty()) {
        std::printf("the window did not list all 10,000 contacts\n");
    }
    printMemory("resident, after 10,000 contacts in the window:", residentMemory());

    for (const ContactServer* server : {&thousand, &tenThousand}) {
        const std::string count = std::to_string(server->contacts());
        const int iterations = server->contacts() > 1000 ? 3 : 10;
        benchmark::RegisterBenchmark(("Headless/" + count).c_str(), headless, server)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
        benchmark::RegisterBenchmark(("Window/" + count).c_str(), windowed, server, &window)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterations);
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable(reporter, display.description().c_str());
    // The link figures take about a minute; VQ_BENCH_NO_LINK=1 leaves them out.
    if (std::getenv("VQ_BENCH_NO_LINK") == nullptr) {
        printLinkFigures(window, {thousand, link}, {thousandOverTls, tlsLink}, trusted, slowListing);
    }
    benchmark::Shutdown();
    return 0;
}
