#include "SeekMotion.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
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

void SeekMotion::anchor(double position, double rate, double length) {
    m_anchor = position;
    m_rate = rate;
    m_length = length;
    m_since = m_clock();
}

double SeekMotion::elapsed() const {
    return m_clock() - m_since;
}

double SeekMotion::position() const {
    const double position = std::max(0.0, m_anchor + m_rate * elapsed());
    return m_length > 0 ? std::min(position, m_length) : position;
}

bool SeekMotion::reachedEnd() const {
    const double at = position();
    return m_rate < 0 ? at <= 0.0 : (m_length > 0 && at >= m_length);
}

bool SeekMotion::step(double engine, bool seekPending, double slack, double follow) {
    // Exact steps: key-frame steps would snap back by whole groups of pictures and then forward again.
    const double target = position();
    if (seekPending)
        return !reachedEnd();
    if (std::abs(engine - target) > slack)
        m_seek(target);
    else
        m_anchor += follow * (engine - target);
    return !reachedEnd();
}
