#include "PedalMakes.h"

namespace {
// Where a make has both an input device and raw HID, the input device is listed first and so read.
const PedalMake kMakes[] = {
    // VEC Infinity IN-USB-1/-2 and the same pedal sold under other names: found by its name or its id,
    // buttons 0, 1, 2 are its first three (the kernel's BTN_0, BTN_1, BTN_2: left, middle, right).
    {"pedal named like a footpedal", 0, 0, InputPath::Evdev, {{0, 1, 2}, 0}},
    {"VEC Infinity IN-USB-1/-2", 0x05f3, 0x00ff, InputPath::Evdev, {{0, 1, 2}, 0}},
    // Philips foot controls, a joystick to the kernel: the first report byte holds rewind (bit 0),
    // play (bit 1), forward (bit 2) and on the ACC2330 a fourth pedal (bit 3, unused); the kernel
    // numbers the buttons in that order.
    {"Philips ACC2310/ACC2320", 0x0911, 0x1844, InputPath::Evdev, {{2, 1, 0}, 0}},
    {"Philips ACC2330", 0x0911, 0x091a, InputPath::Evdev, {{2, 1, 0}, 0}},
    {"Philips ACC2310/ACC2320", 0x0911, 0x1844, InputPath::Hidraw, {{2, 1, 0}, 0}},
    {"Philips ACC2330", 0x0911, 0x091a, InputPath::Hidraw, {{2, 1, 0}, 0}},
    // Olympus RS28: report byte 3 holds left (bit 0), right (bit 1) and middle (bit 2), buttons 17 to
    // 19 to the kernel; right is forward, middle play, left rewind.
    {"Olympus RS28", 0x07b4, 0x0218, InputPath::Evdev, {{1, 2, 0}, 0}},
    {"Olympus RS28", 0x07b4, 0x0218, InputPath::Hidraw, {{1, 2, 0}, 3}},
};
} // namespace

std::span<const PedalMake> pedalMakes() {
    return kMakes;
}

bool isFootPedalName(const QString& productName) {
    return productName.toUpper().contains(QLatin1String("FOOTPEDAL"));
}

const PedalMake* findPedalMake(const InputDeviceInfo& device) {
    for (const PedalMake& make : kMakes) {
        if (make.path != device.kind)
            continue;
        const bool byName = make.vendor == 0 && make.product == 0;
        if (byName ? isFootPedalName(device.name)
                   : device.bus == kUsbBus && device.vendor == make.vendor && device.product == make.product)
            return &make;
    }
    return nullptr;
}
