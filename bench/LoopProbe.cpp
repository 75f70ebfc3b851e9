#include "bench/LoopProbe.h"

#include <algorithm>

LoopProbe::LoopProbe() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(2);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    });
    m_clock.start();
    m_timer.start();
}
