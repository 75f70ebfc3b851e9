#pragma once
// How long the GUI thread's event loop went without running: a timer on that thread asks to run
// every two milliseconds, and the probe keeps the longest time between two of its runs.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class LoopProbe : public QObject {
public:
    LoopProbe();
    // The longest time between two runs since the probe was made, in milliseconds.
    double longestGapMs() const { return m_longest / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};
