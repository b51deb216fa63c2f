#pragma once

// The pedals the player knows, in one table: how each is found and where its buttons 0, 1 and 2
// (forward, play, rewind) are in what its device reports.
#include "InputDevices.h"

#include <QString>
#include <span>

struct PedalMake {
    const char* model;
    // USB vendor and product; both 0 for the name rule (a product name holding "FOOTPEDAL").
    quint16 vendor;
    quint16 product;
    InputPath path;
    ButtonLayout layout;
};

constexpr quint16 kUsbBus = 3;

std::span<const PedalMake> pedalMakes();

// The device match of the VEC rule: the upper-cased product name holds "FOOTPEDAL".
bool isFootPedalName(const QString& productName);

// The first make the device is, on the path it was listed on; null for any other device, which is
// then never opened.
const PedalMake* findPedalMake(const InputDeviceInfo& device);
