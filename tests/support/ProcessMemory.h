#pragma once
// This process's resident memory as the kernel counts it, for tests and benchmarks that bound it.

// VmRSS and VmHWM from /proc/self/status, in kB; 0 where unreadable.
struct ResidentMemory {
    long rssKb = 0;
    long peakKb = 0;
};
ResidentMemory residentMemory();

// Starts a new peak (VmHWM) from the present resident size; false where the kernel does not offer it.
bool resetPeakMemory();

// Sanitizers and valgrind keep freed blocks and shadow memory of their own, so resident memory then
// says nothing about the code under them.
bool memoryIsInstrumented();
