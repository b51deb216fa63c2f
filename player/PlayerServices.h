#pragma once

#include "MediaControls.h"
#include "MediaPlayer.h"
#include "Platform.h"

#include <functional>

class AppLog;
class CatalogueLink;
class MessageBoxes;
class PedalDevices;

// Everything the player window uses from outside itself.
struct PlayerServices {
    AppLog& log;
    MessageBoxes& messages;
    MediaFactory media;
    CatalogueLink& catalogue;
    PedalDevices& pedal;
    // Lets events run until `done` or the time is up (the pedal's rewind wait).
    std::function<void(const std::function<bool()>& done, int timeoutMs)> waitRunningEvents =
        [](const std::function<bool()>& done, int timeoutMs) { pumpEventsUntil(done, timeoutMs); };
    // The desktop's media controls for a window that opened a session.
    MediaControlsFactory mediaControls = sessionBusMediaControls;
};
