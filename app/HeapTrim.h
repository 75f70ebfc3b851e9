#pragma once
// How the program's heap gives memory back. Operations run on threads of their own, and the
// listing's six fetches at a time on more: glibc would give each a malloc arena of its own (up to
// eight per core), and each arena keeps the pages a burst freed. Neither function fails; both do
// nothing on a C library other than glibc.

// Caps the number of malloc arenas, and fixes the size from which a block gets pages of its own
// (returned to the system when freed); call before operations start their threads (repeat calls
// are harmless).
void configureMalloc();

// Gives the free pages of every arena back to the system: a listing's passing buffers (the
// folder's XML and its tree, every vCard) leave free holes below the lines it keeps.
void returnFreedMemory();
