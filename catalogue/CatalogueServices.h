#pragma once

#include "InputDevices.h"
#include "MediaPlayer.h"

#include <functional>
#include <memory>

class PedalDevices;
class QWidget;

// What the catalogue is built with: the media component for the player windows it loads, the
// input system for the pedal, and how long a hand-off waits for the media to open.
struct CatalogueServices {
    std::function<std::unique_ptr<MediaPlayer>(QWidget* parent)> createMediaPlayer;
    std::function<std::shared_ptr<InputSystem>()> createInputSystem;
    PedalDevices* pedal = nullptr; // null: the program-wide pedalDevices()
    int openWaitMs = 15000;
};
