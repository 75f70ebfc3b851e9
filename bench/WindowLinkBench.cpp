#include "bench/WindowLinkBench.h"

#include "app/frmMain.h"
#include "bench/ContactServer.h"
#include "bench/CurlFloor.h"
#include "bench/DelayLink.h"
#include "bench/LoopProbe.h"
#include "bench/PingProbe.h"
#include "bench/WindowRun.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <string>

namespace {

struct Listing {
    double ms = 0;
    double longestGapMs = 0;
    int pingsAnswered = 0;
    double longestPingMs = 0;
    bool whole = false;
};

Listing windowListing(frmMain& window, std::int32_t port, bool secure, int contacts, bool onX11) {
    useServer(port, secure);
    const LoopProbe probe;
    PingProbe pings(onX11 ? static_cast<std::uint32_t>(window.winId()) : 0);
    Listing listing;
    listing.ms = refreshUntilIdle(window);
    pings.stop();
    listing.longestGapMs = probe.longestGapMs();
    listing.pingsAnswered = pings.answered();
    listing.longestPingMs = pings.longestMs();
    listing.whole = listedRows(window) == contacts;
    return listing;
}

double curlListingMs(LinkedServer linked, int width, const std::filesystem::path& trusted, bool& whole) {
    const int contacts = linked.server.contacts();
    const std::string base = std::string(linked.server.secure() ? "https" : "http") +
                             "://127.0.0.1:" + std::to_string(linked.link.port()) + "/vqhttpmail/2/3/4/Contacts";
    QElapsedTimer clock;
    clock.start();
    whole = curlListing(base, contacts, width, trusted.string()) == contacts + 1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void printRow(const char* what, double ms, double sixAtATime, bool whole) {
    std::printf("  %-40s %9.0f ms %8.2fx%s\n", what, ms, ms / sixAtATime, whole ? "" : "  (not every contact came)");
}

}  // namespace

void printLinkFigures(frmMain& window, LinkedServer plain, LinkedServer secure, const std::filesystem::path& trusted,
                      const ContactServer& slowListing) {
    const int count = plain.server.contacts();
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    bool sixWhole = false;
    bool serialWhole = false;
    bool sixTlsWhole = false;
    const double six = curlListingMs(plain, 6, trusted, sixWhole);
    const double serial = curlListingMs(plain, 1, trusted, serialWhole);
    const double sixTls = curlListingMs(secure, 6, trusted, sixTlsWhole);
    const Listing inWindow = windowListing(window, plain.link.port(), false, count, onX11);
    const Listing overTls = windowListing(window, secure.link.port(), true, count, onX11);
    const Listing stalled = windowListing(window, slowListing.port(), false, slowListing.contacts(), onX11);

    std::printf(
        "\nOver a link of 20 ms round trip, one more per new connection, %d contacts (x: of bare libcurl six at a "
        "time over plain HTTP):\n",
        count);
    printRow("the window's listing, plain HTTP", inWindow.ms, six, inWindow.whole);
    printRow("the window's listing, TLS", overTls.ms, six, overTls.whole);
    printRow("bare libcurl, one after another", serial, six, serialWhole);
    printRow("bare libcurl, six at a time", six, six, sixWhole);
    printRow("bare libcurl, six at a time, TLS", sixTls, six, sixTlsWhole);
    std::printf("The GUI thread's event loop: longest time without running; window manager pings (%s):\n",
                onX11 ? "_NET_WM_PING from another X connection" : "none off X11");
    for (const auto& [what, listing] : {std::pair{"during the plain listing in the window", inWindow},
                                        std::pair{"during a listing with a 6 s PROPFIND", stalled}}) {
        std::printf("  %-40s %7.1f ms;  %3d pings answered, longest %7.1f ms%s\n", what, listing.longestGapMs,
                    listing.pingsAnswered, listing.longestPingMs, listing.whole ? "" : "  (not every contact came)");
    }
    std::printf("  (the listing with the slow PROPFIND took %.1f s)\n", stalled.ms / 1000);
}
