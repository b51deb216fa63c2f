#pragma once

#include <functional>

// Motion by seeks that follow a clock: from an anchor the position goes where the anchor plus the
// rate times the time since then says, whatever decoding costs. A step waits for the seek before it,
// so where decoding is slow the steps get fewer, not late.
class SeekMotion {
  public:
    using Clock = std::function<double()>;        // seconds on a monotonic clock
    using SeekSink = std::function<void(double)>; // asks for an exact seek to that second

    SeekMotion(Clock clock, SeekSink seek);
    // The process's monotonic clock.
    static Clock monotonicClock();

    // Motion at rate from position, starting now.
    void anchor(double position, double rate);
    double anchorPosition() const { return m_anchor; }
    double rate() const { return m_rate; }
    double elapsed() const;
    // Where the motion is now; never before the start of the media.
    double position() const;
    // Seeks to where the motion is, unless the previous seek is still on its way. Returns false once
    // the motion has reached the start (its last seek goes there).
    bool step(bool seekPending);

  private:
    Clock m_clock;
    SeekSink m_seek;
    double m_anchor = 0.0;
    double m_rate = 0.0;
    double m_since = 0.0;
};
