#pragma once
// Sets HttpRequest's limits for one test and puts the old ones back, also when the test fails.

#include "net/modWININET.h"

namespace nettest {

class ScopedLimits {
public:
    explicit ScopedLimits(const modWININET::Limits& limits) : m_saved(modWININET::limits()) {
        modWININET::setLimits(limits);
    }
    ~ScopedLimits() { modWININET::setLimits(m_saved); }
    ScopedLimits(const ScopedLimits&) = delete;
    ScopedLimits& operator=(const ScopedLimits&) = delete;

private:
    modWININET::Limits m_saved;
};

}  // namespace nettest
