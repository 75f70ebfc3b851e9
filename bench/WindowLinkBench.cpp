#include "bench/WindowLinkBench.h"

#include "app/frmMain.h"
#include "bench/ContactServer.h"
#include "bench/CurlFloor.h"
#include "bench/DelayLink.h"
#include "bench/LoopProbe.h"
#include "bench/WindowRun.h"

#include <QElapsedTimer>

#include <cstdio>
#include <string>

namespace {

struct Listing {
    double ms = 0;
    double longestGapMs = 0;
    bool whole = false;
};

Listing windowListing(frmMain& window, std::int32_t port, int contacts) {
    useServer(port);
    const LoopProbe probe;
    Listing listing;
    listing.ms = refreshUntilIdle(window);
    listing.longestGapMs = probe.longestGapMs();
    listing.whole = listedRows(window) == contacts;
    return listing;
}

double curlListingMs(std::int32_t port, int contacts, int width, bool& whole) {
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/vqhttpmail/2/3/4/Contacts";
    QElapsedTimer clock;
    clock.start();
    whole = curlListing(base, contacts, width) == contacts + 1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void printRow(const char* what, double ms, double sixAtATime, bool whole) {
    std::printf("  %-40s %9.0f ms %8.2fx%s\n", what, ms, ms / sixAtATime, whole ? "" : "  (not every contact came)");
}

}  // namespace

void printLinkFigures(frmMain& window, const ContactServer& contacts, const DelayLink& link,
                      const ContactServer& slowListing) {
    const int count = contacts.contacts();
    bool sixWhole = false;
    bool serialWhole = false;
    const double six = curlListingMs(link.port(), count, 6, sixWhole);
    const double serial = curlListingMs(link.port(), count, 1, serialWhole);
    const Listing inWindow = windowListing(window, link.port(), count);
    const Listing stalled = windowListing(window, slowListing.port(), slowListing.contacts());

    std::printf("\nOver a link of 20 ms round trip, one more per new connection, %d contacts (x: of six at a time):\n",
                count);
    printRow("the window's listing", inWindow.ms, six, inWindow.whole);
    printRow("bare libcurl, one after another", serial, six, serialWhole);
    printRow("bare libcurl, six at a time", six, six, sixWhole);
    std::printf("Longest time the GUI thread's event loop went without running:\n");
    std::printf("  during that listing in the window:       %9.1f ms\n", inWindow.longestGapMs);
    std::printf("  during a listing with a %.0f s PROPFIND:   %9.1f ms  (the listing took %.1f s)%s\n",
                slowListing.listingDelaySeconds(), stalled.longestGapMs, stalled.ms / 1000,
                stalled.whole ? "" : "  (not every contact came)");
}
