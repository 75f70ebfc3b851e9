// Deleting 1,000 selected contacts in the real main window over a link of 20 ms round trip (plus
// one per new connection, see DelayLink.h), beside bare libcurl deleting them six at a time, with
// and without the GET before each DELETE that the window makes (for the bytes an undo brings back
// and the version now on the server); the longest time the GUI thread's event loop went without
// running meanwhile; and the resident memory with 100,000 lines in the window, after Select
// Duplicates and a selection of every line. Runs on xcb under Xvfb with a window manager when it
// can, and says where it ran.

#include "app/HeapTrim.h"
#include "app/frmMain.h"
#include "bench/BenchDisplay.h"
#include "bench/ContactServer.h"
#include "bench/CurlFloor.h"
#include "bench/DelayLink.h"
#include "bench/LoopProbe.h"
#include "bench/WindowRun.h"
#include "contacts/DeleteContacts.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/support/ProcessMemory.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 2;

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void waitUntilIdle(const frmMain& window) {
    while (window.busy()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

QAbstractItemView* listOf(frmMain& window) {
    return window.findChild<QAbstractItemView*>(QStringLiteral("List1"));
}

void printMemory(const char* when) {
    const ResidentMemory memory = residentMemory();
    std::printf("  %-58s VmRSS %6.1f MB  VmHWM %6.1f MB\n", when, memory.rssKb / 1024.0, memory.peakKb / 1024.0);
}

void measureMemory(frmMain& window, const ContactServer& server, const DesktopRecorder& desktop) {
    std::printf("\nMemory with %d lines in the window:\n", server.contacts());
    useServer(server.port());
    refreshUntilIdle(window);
    printMemory(listedRows(window) == server.contacts() ? "listed:" : "listed (NOT every contact):");
    window.selectDuplicates();
    printMemory(desktop.messages.empty() ? "after Select Duplicates:" : "after Select Duplicates (none found):");
    listOf(window)->selectAll();
    printMemory("every line selected:");
}

struct WindowDelete {
    double ms = 0;
    double longestGapMs = 0;
    bool whole = false;
};

WindowDelete deleteInWindow(frmMain& window, const DesktopRecorder& desktop, int contacts) {
    refreshUntilIdle(window);
    listOf(window)->selectAll();
    const LoopProbe probe;
    QElapsedTimer clock;
    clock.start();
    window.deleteSelected();
    waitUntilIdle(window);
    return {msSince(clock), probe.longestGapMs(), listedRows(window) == 0 && desktop.messages.empty() && contacts > 0};
}

double curlMs(const std::string& base, int contacts, bool withGet, bool& whole) {
    QElapsedTimer clock;
    clock.start();
    whole = curlDeletes(base, contacts, 6, withGet) == contacts;
    return msSince(clock);
}

double headlessMs(std::int32_t port, int contacts, std::size_t width, bool& whole) {
    std::vector<DeleteTarget> targets;
    for (int i = 0; i < contacts; ++i) {
        targets.push_back({"c" + std::to_string(10000 + i) + ".vcf", std::nullopt});
    }
    const ContactFolder folder({u"127.0.0.1", port, u"Basic ZGVtbzpkZW1v"});
    QElapsedTimer clock;
    clock.start();
    const std::vector<DeleteResult> results = deleteContacts(folder, targets, width);
    whole = std::all_of(results.begin(), results.end(), [](const DeleteResult& result) {
        return result.outcome == WriteOutcome::Done && !result.absent;
    });
    return msSince(clock);
}

void printRow(const char* what, double ms, double floor, bool whole) {
    std::printf("  %-52s %8.0f ms %7.2fx%s\n", what, ms, ms / floor, whole ? "" : "  (not every contact went)");
}

}  // namespace

int main(int argc, char** argv) {
    const BenchDisplay display(argc, argv);
    // The servers and the relay fork: before Qt starts any thread.
    const ContactServer thousand(1000);
    const DelayLink link(thousand.port(), std::chrono::milliseconds(20));
    const ContactServer hundredThousand(100000);
    configureMalloc();  // as the program's main does
    QApplication application(argc, argv);
    std::printf("bench_delete: the window runs on %s\n", display.description().c_str());

    DesktopRecorder desktop;
    desktop.deleteAnswer = true;  // the question is answered Delete at once
    frmMain window;
    window.show();
    measureMemory(window, hundredThousand, desktop);
    desktop.messages.clear();

    const int count = thousand.contacts();
    const std::string base = "http://127.0.0.1:" + std::to_string(link.port()) + "/vqhttpmail/2/3/4/Contacts";
    useServer(link.port());
    std::printf(
        "\n%d contacts deleted over a link of 20 ms round trip, one more per new connection (x: of bare "
        "libcurl deleting six at a time), best of %d:\n",
        count, kRuns);
    double curlDeleteOnly = 1e18;
    double curlWithGet = 1e18;
    double headless = 1e18;
    double headlessTwelve = 1e18;
    bool deleteOnlyWhole = true;
    bool withGetWhole = true;
    bool headlessWhole = true;
    WindowDelete best{1e18, 0, true};
    for (int run = 0; run < kRuns; ++run) {
        bool whole = false;
        curlDeleteOnly = std::min(curlDeleteOnly, curlMs(base, count, false, whole));
        deleteOnlyWhole = deleteOnlyWhole && whole;
        curlWithGet = std::min(curlWithGet, curlMs(base, count, true, whole));
        withGetWhole = withGetWhole && whole;
        headless = std::min(headless, headlessMs(link.port(), count, kFetchWidth, whole));
        headlessWhole = headlessWhole && whole;
        headlessTwelve = std::min(headlessTwelve, headlessMs(link.port(), count, 2 * kFetchWidth, whole));
        headlessWhole = headlessWhole && whole;
        const WindowDelete inWindow = deleteInWindow(window, desktop, count);
        best.whole = best.whole && inWindow.whole;
        best.longestGapMs = std::max(best.longestGapMs, inWindow.longestGapMs);
        best.ms = std::min(best.ms, inWindow.ms);
    }
    printRow("the window: Delete of every line, until it is idle", best.ms, curlDeleteOnly, best.whole);
    printRow("deleteContacts alone (no window)", headless, curlDeleteOnly, headlessWhole);
    printRow("deleteContacts alone, twelve at a time (for comparison)", headlessTwelve, curlDeleteOnly, headlessWhole);
    printRow("bare libcurl, six at a time: DELETE", curlDeleteOnly, curlDeleteOnly, deleteOnlyWhole);
    printRow("bare libcurl, six at a time: GET, then DELETE", curlWithGet, curlDeleteOnly, withGetWhole);
    std::printf("  the window against bare libcurl's GET and DELETE: %.2fx\n", best.ms / curlWithGet);
    std::printf("The GUI thread's event loop during the window's deletes: longest time without running %.1f ms\n",
                best.longestGapMs);
    return 0;
}
