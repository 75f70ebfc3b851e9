#pragma once
// Driving the real main window in the benchmarks as a user would: log in to a server, click
// Refresh and wait, with the event loop running, until the listing has ended.

#include <cstdint>

class frmMain;

// The login state for the benchmarks' servers on 127.0.0.1 (user demo, password demo), over TLS
// when secure.
void useServer(std::int32_t port, bool secure = false);

// Refresh, and the event loop until the window has taken the listing's end; the wall time in ms.
double refreshUntilIdle(frmMain& window);

int listedRows(const frmMain& window);
