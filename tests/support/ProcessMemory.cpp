#include "tests/support/ProcessMemory.h"

#include <charconv>
#include <fstream>
#include <string>

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

ResidentMemory residentMemory() {
    ResidentMemory memory;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        long* field = line.starts_with("VmRSS:")   ? &memory.rssKb
                      : line.starts_with("VmHWM:") ? &memory.peakKb
                                                   : nullptr;
        if (field == nullptr) {
            continue;
        }
        const std::size_t digit = line.find_first_of("0123456789");
        if (digit != std::string::npos) {
            std::from_chars(line.data() + digit, line.data() + line.size(), *field);
        }
    }
    return memory;
}

bool resetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

bool memoryIsInstrumented() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
#if __has_include(<valgrind/valgrind.h>)
    return RUNNING_ON_VALGRIND != 0;
#else
    return false;
#endif
}
