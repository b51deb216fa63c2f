#pragma once

#include "InputDevices.h"

class QLineEdit;

// The program-wide input objects: dxRoot and diRoot stand for the input system, diPedal the open pedal.
class PedalDevices {
public:
    std::shared_ptr<InputSystem> dxRoot;
    std::shared_ptr<InputSystem> diRoot;
    std::unique_ptr<InputDevice> diPedal;
};
