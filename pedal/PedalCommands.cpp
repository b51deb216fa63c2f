#include "PedalCommands.h"

namespace {
bool isDown(const QString& text, qsizetype i) {
    return i < text.size() && text[i] == QLatin1Char('1');
}
bool isUp(const QString& text, qsizetype i) {
    return i < text.size() && text[i] == QLatin1Char('0');
}
} // namespace

std::vector<PedalCommand> pedalCommands(const QString& last, const QString& now) {
    std::vector<PedalCommand> steps;
    if (now.isEmpty())
        return steps;
    const auto pressed = [&](qsizetype i) { return isDown(now, i) && isUp(last, i); };
    const auto released = [&](qsizetype i) { return isDown(last, i) && isUp(now, i); };

    // Button 0: fast forward while held.
    if (pressed(0))
        steps.insert(steps.end(), {{PedalCommand::SetRate, kForwardRate}, {PedalCommand::Play}});
    if (released(0))
        steps.insert(steps.end(), {{PedalCommand::Pause}, {PedalCommand::SetPlayRate}});
    // Button 1: play while held; on release step back a little so the listener hears the end again.
    if (pressed(1))
        steps.insert(steps.end(), {{PedalCommand::SetPlayRate}, {PedalCommand::Play}});
    if (released(1))
        steps.insert(steps.end(), {{PedalCommand::SetRate, kRewindRate},
                                   {PedalCommand::RewindWait},
                                   {PedalCommand::Pause},
                                   {PedalCommand::SetPlayRate}});
    // Button 2: play backwards while held.
    if (pressed(2))
        steps.insert(steps.end(), {{PedalCommand::SetRate, kBackwardRate}, {PedalCommand::Play}});
    if (released(2))
        steps.insert(steps.end(), {{PedalCommand::Pause}, {PedalCommand::SetPlayRate}});
    return steps;
}
