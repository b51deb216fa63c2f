#pragma once

#include <QString>
#include <vector>

// One step of what a pedal tick does to the player.
struct PedalCommand {
    enum Kind {
        SetRate,     // settings.rate = rate
        SetPlayRate, // settings.rate = the window's PlayRate, read when the step runs
        Play,
        Pause,
        RewindWait, // let events run for kRewindWaitMs while the player runs backwards
    };
    Kind kind;
    double rate = 0.0;

    bool operator==(const PedalCommand&) const = default;
};

// How long releasing button 1 runs the player backwards before it pauses.
constexpr int kRewindWaitMs = 500;
constexpr double kForwardRate = 8.0;
constexpr double kRewindRate = -9.0;
constexpr double kBackwardRate = -8.0;

// The player steps for the change from the previous button text to the current one: each press or
// release once, button 0 first. An empty current text changes nothing.
std::vector<PedalCommand> pedalCommands(const QString& last, const QString& now);
