#pragma once
// bench_window's link figures: 1,000 contacts listed in the window over a DelayLink, plain and over
// TLS, beside bare libcurl over the same links one after another and six at a time; and the
// longest time the GUI thread's event loop went without running, during the plain listing and
// during a listing whose PROPFIND the server takes seconds to answer. Prints a table; needs a
// running QApplication.

#include <filesystem>

class ContactServer;
class DelayLink;
class frmMain;

// The two ends of one link: the server behind it and the relay in front.
struct LinkedServer {
    const ContactServer& server;
    const DelayLink& link;
};

// trusted: the PEM file bare libcurl trusts for the TLS server, as the window does.
void printLinkFigures(frmMain& window, LinkedServer plain, LinkedServer secure, const std::filesystem::path& trusted,
                      const ContactServer& slowListing);
