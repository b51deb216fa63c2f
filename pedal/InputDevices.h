#pragma once

#include <QString>
#include <memory>
#include <vector>

// One attached input device as the system lists it.
struct InputDeviceInfo {
    QString path; // /dev/input/eventN
    QString name; // product name
};

// An opened device: the pressed state of its first three key or button codes.
class InputDevice {
public:
    virtual ~InputDevice() = default;
    // Pressed state of buttons 0, 1, 2; raises a QuillonError when the device is lost.
    virtual std::vector<bool> buttons() = 0;
};

// The input system (dxRoot/diRoot stand for handles of this): lists devices and opens one.
class InputSystem {
public:
    virtual ~InputSystem() = default;
    // Attached devices in ascending event number.
    virtual std::vector<InputDeviceInfo> devices() = 0;
    // Opens a device for reading; raises a QuillonError when it cannot (permissions, gone).
    virtual std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) = 0;
};
