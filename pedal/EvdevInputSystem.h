#pragma once

// The kernel's input devices (evdev) as the pedal layer's input system.
#include "InputDevices.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

// /dev/input/eventN in ascending N, named and identified by /sys/class/input/eventN/device (name, id/),
// so that a device is listed without opening it. Devices open read-only and non-blocking, never grabbed.
std::shared_ptr<InputSystem> createEvdevInputSystem(const NodeFolders& folders = {"/dev/input",
                                                                                  "/sys/class/input"});

// The parts of the backend that need no device.
namespace Evdev {
// The first `count` codes whose bit is set in a capability bitmap, ascending.
std::vector<int> firstCodes(std::span<const unsigned char> bits, std::size_t count);
// The key code for each of buttons 0, 1, 2 as the layout places them among the device's codes; -1
// where the device has too few.
std::vector<int> layoutCodes(std::span<const unsigned char> bits, const ButtonLayout& layout);
// For each code, whether its bit is set in a key state bitmap; codes beyond the bitmap or -1 are released.
std::vector<bool> pressedCodes(std::span<const unsigned char> keyState, const std::vector<int>& codes);
// The product name from the text of a sysfs name file: the first line, blanks kept as they are.
QString productName(const QByteArray& nameFileText);
} // namespace Evdev
