#pragma once

#include <functional>

// Motion that follows a clock: from an anchor the position is where the anchor plus the rate times
// the time since then says, whatever decoding costs, and seeks bring the engine there. A step waits
// for the seek before it, so where decoding is slow the steps get fewer, not late.
class SeekMotion {
  public:
    using Clock = std::function<double()>;        // seconds on a monotonic clock
    using SeekSink = std::function<void(double)>; // asks for an exact seek to that second

    SeekMotion(Clock clock, SeekSink seek);
    // The process's monotonic clock.
    static Clock monotonicClock();

    // Motion at rate from position, starting now, inside the media's length (0: not known).
    void anchor(double position, double rate, double length = 0.0);
    double rate() const { return m_rate; }
    double elapsed() const;
    // Where the motion is now; never outside the media.
    double position() const;
    bool reachedEnd() const;
    // Seeks to where the motion is when the engine, at `engine`, is more than `slack` seconds away
    // and no seek is on its way; otherwise moves `follow` of the way to the engine, so that motion
    // the engine plays by itself ends up where its sound is. Returns false once the motion has
    // reached an end of the media.
    bool step(double engine, bool seekPending, double slack = 0.0, double follow = 0.0);

  private:
    Clock m_clock;
    SeekSink m_seek;
    double m_anchor = 0.0;
    double m_rate = 0.0;
    double m_length = 0.0;
    double m_since = 0.0;
};
