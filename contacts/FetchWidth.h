#pragma once
// How many fetches the pool (OrderedFetch.h) may have in flight. A link that resets or cuts
// connections is often one that has too many of them (a NAT table or a proxy full): after a spoilt
// answer was tried again, one fetch runs at a time, and one more may run after each kWidenAfter
// whole answers in a row, as TCP backs off and grows its window again.

#include <cstddef>

class FetchWidth {
public:
    explicit FetchWidth(std::size_t widest) : m_widest(widest), m_now(widest) {}

    std::size_t now() const { return m_now; }
    // A spoilt answer was tried again: one at a time from here.
    void narrow() {
        m_now = 1;
        m_wholeInRow = 0;
    }
    // A whole answer came; true when one more may run now.
    bool widened() {
        if (m_now >= m_widest || ++m_wholeInRow < kWidenAfter) {
            return false;
        }
        ++m_now;
        m_wholeInRow = 0;
        return true;
    }

private:
    static constexpr std::size_t kWidenAfter = 4;
    const std::size_t m_widest;
    std::size_t m_now;
    std::size_t m_wholeInRow = 0;
};
