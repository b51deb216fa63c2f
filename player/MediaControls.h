#pragma once

#include <functional>
#include <memory>

class AppLog;
class MessageBoxes;
class frmMain;

// The desktop's media controls (media keys, the desktop's media panel, playerctl) while the player
// window plays a session. They drive the window through the procedures its own controls run.
class MediaControls {
  public:
    virtual ~MediaControls() = default;
    // The window's tick: tells the desktop what changed since the last look (the on-screen controls,
    // the pedal and the media's own bar change playback without the desktop knowing).
    virtual void refresh() = 0;
};

// Makes the controls for a window that has just opened a session; null where the desktop has none.
using MediaControlsFactory =
    std::function<std::unique_ptr<MediaControls>(frmMain& window, AppLog& log, MessageBoxes& messages)>;

// An MPRIS 2 player on the session bus, or null (and nothing logged) when there is no session bus.
std::unique_ptr<MediaControls> sessionBusMediaControls(frmMain& window, AppLog& log, MessageBoxes& messages);
