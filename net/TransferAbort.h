#pragma once
// The program's end for the network: once abortTransfers() is called, every transfer in flight
// stops within about a second (libcurl's progress callback asks for it: CURLE_ABORTED_BY_CALLBACK),
// every transfer started later fails before anything is sent, and every pause made through
// pauseUnlessAborted returns. Nothing undoes it: it is for a program on its way out, so that no
// worker thread holds up the end. Safe from any thread.

#include <chrono>

namespace modWININET {

void abortTransfers();
bool transfersAborted();

// Waits for pause, or less when abortTransfers() is called meanwhile; at once when it was.
void pauseUnlessAborted(std::chrono::milliseconds pause);

}  // namespace modWININET
