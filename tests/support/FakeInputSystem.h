#pragma once

// A scripted input layer: the test lists devices, holds buttons down, refuses to open them.
#include "InputDevices.h"
#include "QuillonError.h"

#include <algorithm>

// What one attached device does; shared between the fake system and any open handle of it.
struct FakeDeviceState {
    InputDeviceInfo info;
    std::vector<bool> buttons{false, false, false};
    QString openError; // opening raises this description

    // Holds down the buttons marked 1 ("101": the outer two), lets go of the others.
    void press(const QString& pattern) {
        buttons.clear();
        for (QChar c : pattern)
            buttons.push_back(c == QLatin1Char('1'));
    }
};

struct FakeInputSystem : InputSystem {
    struct Handle : InputDevice {
        explicit Handle(std::shared_ptr<FakeDeviceState> s) : state(std::move(s)) {}
        std::vector<bool> buttons() override { return state->buttons; }
        std::shared_ptr<FakeDeviceState> state;
    };

    std::shared_ptr<FakeDeviceState> add(const QString& name) {
        auto state = std::make_shared<FakeDeviceState>();
        state->info = {QStringLiteral("/dev/input/event%1").arg(m_devices.size()), name};
        m_devices.push_back(state);
        return state;
    }

    std::vector<InputDeviceInfo> devices() override {
        std::vector<InputDeviceInfo> listed;
        for (const auto& device : m_devices)
            listed.push_back(device->info);
        return listed;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& info) override {
        const auto device = *std::find_if(m_devices.begin(), m_devices.end(),
                                          [&](const auto& d) { return d->info.path == info.path; });
        if (!device->openError.isEmpty())
            raiseError(ErrNo::InputFailure, device->openError);
        return std::make_unique<Handle>(device);
    }

    std::vector<std::shared_ptr<FakeDeviceState>> m_devices;
};

// An input system that cannot even list its devices.
struct BrokenInput : InputSystem {
    std::vector<InputDeviceInfo> devices() override { raiseError(ErrNo::InputFailure, "cannot list"); }
    std::unique_ptr<InputDevice> open(const InputDeviceInfo&) override { return nullptr; }
};
