#pragma once

// The kernel's input devices (evdev) as the pedal layer's input system.
#include "InputDevices.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

// /dev/input/eventN in ascending N, named by /sys/class/input/eventN/device/name, so that a device the
// user may not open is still listed by its name. Devices open read-only and non-blocking, never grabbed.
std::shared_ptr<InputSystem> createEvdevInputSystem();
// The same over other folders: tests lay out a device folder and a class folder of their own.
std::shared_ptr<InputSystem> createEvdevInputSystemAt(const QByteArray& deviceFolder,
                                                      const QByteArray& classFolder);

// The parts of the backend that need no device.
namespace Evdev {
// N of a device node named "eventN" (decimal digits only); -1 for any other name.
int eventNumber(const QByteArray& fileName);
// The first `count` codes whose bit is set in a capability bitmap, ascending.
std::vector<int> firstCodes(std::span<const unsigned char> bits, std::size_t count);
// For each code, whether its bit is set in a key state bitmap; codes beyond the bitmap are released.
std::vector<bool> pressedCodes(std::span<const unsigned char> keyState, const std::vector<int>& codes);
// The product name from the text of a sysfs name file: the first line, blanks kept as they are.
QString productName(const QByteArray& nameFileText);
// The log text for a device that would not open; a permission failure points at the udev rule.
QString openFailureText(const InputDeviceInfo& device, int errorNumber);
} // namespace Evdev
