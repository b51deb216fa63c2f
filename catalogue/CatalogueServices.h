#pragma once

#include "InputDevices.h"
#include "MediaPlayer.h"
#include "PlatformChecks.h"

#include <QByteArray>
#include <functional>
#include <memory>

class AppLog;
class MessageBoxes;
class PedalDevices;

// Everything the catalogue, and the player windows it loads, use from outside: the log, the message
// boxes, the media component, the pedal's input objects and the input system they are made from, the
// disc folder, the registry the checks read, and how long a hand-off waits for the media to open.
struct CatalogueServices {
    AppLog& log;
    MessageBoxes& messages;
    MediaFactory media;
    PedalDevices& pedal;
    std::function<std::shared_ptr<InputSystem>()> createInputSystem;
    QByteArray programFolder;
    Registry registry = builtInRegistry();
    int openWaitMs = 15000;
};
