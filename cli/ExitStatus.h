#pragma once
// The exit statuses of vqcontacts, as its manual page lists them.

enum ExitStatus : int {
    exitDone = 0,        // everything done
    exitLocalError = 1,  // a usage or local error: bad option, unreadable file, unwritable folder
    exitRejected = 2,    // the server refused the credentials (401 or 403)
    exitNoFolder = 3,    // no contact folder in the answer: unreachable, not a folder, TLS refused
    exitSomeFailed = 4,  // done, but some contacts failed; each has a line on standard error
};
