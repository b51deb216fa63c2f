#include "SeekMotion.h"

#include <QElapsedTimer>
#include <algorithm>
#include <memory>
#include <utility>

SeekMotion::SeekMotion(Clock clock, SeekSink seek) : m_clock(std::move(clock)), m_seek(std::move(seek)) {
    m_since = m_clock();
}

SeekMotion::Clock SeekMotion::monotonicClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->nsecsElapsed() / 1e9; };
}

void SeekMotion::anchor(double position, double rate) {
    m_anchor = position;
    m_rate = rate;
    m_since = m_clock();
}

double SeekMotion::elapsed() const {
    return m_clock() - m_since;
}

double SeekMotion::position() const {
    return std::max(0.0, m_anchor + m_rate * elapsed());
}

bool SeekMotion::step(bool seekPending) {
    if (seekPending)
        return true;
    // Exact steps: key-frame steps would snap back by whole groups of pictures and then forward again.
    const double target = position();
    m_seek(target);
    return target > 0.0;
}
