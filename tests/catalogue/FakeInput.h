#pragma once

// A scripted input system for start-up tests: a fixed device list, or a failure.
#include "InputDevices.h"
#include "QuillonError.h"

class FakePedal : public InputDevice {
  public:
    std::vector<bool> buttons() override { return {false, false, false}; }
};

class FakeInputSystem : public InputSystem {
  public:
    std::vector<InputDeviceInfo> devices() override {
        if (failToList)
            raiseError(ErrNo::InputFailure, QStringLiteral("input devices cannot be listed"));
        return list;
    }
    std::unique_ptr<InputDevice> open(const InputDeviceInfo&) override {
        return std::make_unique<FakePedal>();
    }

    std::vector<InputDeviceInfo> list;
    bool failToList = false;
};
