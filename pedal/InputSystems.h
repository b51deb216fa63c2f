#pragma once

#include "InputDevices.h"

#include <memory>
#include <vector>

// The program's input system: the kernel's input devices, then the raw HID devices, so that a pedal the
// kernel gives an input device is read there and one it shows only as raw HID is read from its reports.
std::shared_ptr<InputSystem> createPedalInputSystem();

// Several input systems as one: their devices in the order given, each opened by the system that listed it.
std::shared_ptr<InputSystem> combineInputSystems(std::vector<std::shared_ptr<InputSystem>> systems);
