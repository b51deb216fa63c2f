#pragma once

// Raw HID devices (hidraw) as the pedal layer's input system, for pedals the kernel gives no input device.
#include "InputDevices.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <span>
#include <vector>

// /dev/hidrawN in ascending N, identified by /sys/class/hidraw/hidrawN/device/uevent, or where sysfs
// says nothing by asking the node (HIDIOCGRAWINFO, HIDIOCGRAWNAME). A device opens read-only and
// non-blocking; each read takes the reports that came since the last one and keeps the newest.
std::shared_ptr<InputSystem> createHidrawInputSystem(const NodeFolders& folders = {"/dev",
                                                                                   "/sys/class/hidraw"});

// The parts of the backend that need no device.
namespace Hidraw {
// Bus, vendor, product and name from the text of a uevent file (HID_ID=0003:00000911:00001844 and
// HID_NAME=...); what it lacks stays 0 or empty.
void readUevent(const QByteArray& text, InputDeviceInfo& device);
// Whether a report descriptor numbers its reports (holds a Report ID item): each input report then
// starts with its number.
bool numbersReports(std::span<const unsigned char> descriptor);
// Buttons 0, 1, 2 from one input report as the layout places them; bytes the report lacks are released.
std::vector<bool> pressedButtons(std::span<const unsigned char> report, bool numbered,
                                 const ButtonLayout& layout);
} // namespace Hidraw
