#pragma once

#include "InputDevices.h"

#include <functional>
#include <memory>

class QLineEdit;

// The program-wide input objects: dxRoot and diRoot stand for the input system and its device list,
// diPedal for the open pedal (empty when none was found).
class PedalDevices {
public:
    std::shared_ptr<InputSystem> dxRoot;
    std::shared_ptr<InputSystem> diRoot;
    std::unique_ptr<InputDevice> diPedal;
};

// The one set of input objects of the running program.
PedalDevices& pedalDevices();

// Start-up: creates dxRoot and diRoot with every error ignored (either may stay empty).
// The factory makes the input system (the evdev backend in the product, a fake in tests).
void createInputRoots(PedalDevices& devices, const std::function<std::shared_ptr<InputSystem>()>& factory);

// Looks for the first attached device whose upper-cased name holds "FOOTPEDAL" and opens it as diPedal.
void GetInputDevices(PedalDevices& devices);

// The pressed state of buttons 0, 1, 2 as "0"/"1" text ("000" without a pedal or after a failed read);
// shown in display when given.
QString GetInputDeviceData(PedalDevices& devices, QLineEdit* display);

// Catalogue unload: gives the pedal back and drops diPedal, diRoot, dxRoot in that order.
void releaseInputObjects(PedalDevices& devices);
