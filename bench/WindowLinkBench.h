#pragma once
// bench_window's link figures: 1,000 contacts listed in the window over a DelayLink, beside bare
// libcurl over the same link one after another and six at a time; and the longest time the GUI
// thread's event loop went without running, during that listing and during a listing whose
// PROPFIND the server takes seconds to answer. Prints a table; needs a running QApplication.

class ContactServer;
class DelayLink;
class frmMain;

void printLinkFigures(frmMain& window, const ContactServer& contacts, const DelayLink& link,
                      const ContactServer& slowListing);
