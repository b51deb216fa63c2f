#pragma once

// A scripted input layer: the test lists devices, holds buttons down, pulls devices out.
#include "InputDevices.h"
#include "QuillonError.h"

#include <QStringList>
#include <memory>

// What one attached device does; shared between the fake system and any open handle of it.
struct FakeDeviceState {
    InputDeviceInfo info;
    std::vector<bool> buttons{false, false, false};
    bool attached = true;
    QString openError; // opening raises this description
    int reads = 0;
};

class FakeInputDevice : public InputDevice {
  public:
    explicit FakeInputDevice(std::shared_ptr<FakeDeviceState> state) : m_state(std::move(state)) {}
    std::vector<bool> buttons() override {
        ++m_state->reads;
        if (!m_state->attached)
            raiseError(ErrNo::InputFailure, QStringLiteral("Cannot read the foot pedal: No such device"));
        return m_state->buttons;
    }

  private:
    std::shared_ptr<FakeDeviceState> m_state;
};

class FakeInputSystem : public InputSystem {
  public:
    std::shared_ptr<FakeDeviceState> add(const QString& name) {
        auto state = std::make_shared<FakeDeviceState>();
        state->info = {QStringLiteral("/dev/input/event%1").arg(m_next++), name};
        m_devices.push_back(state);
        return state;
    }

    std::vector<InputDeviceInfo> devices() override {
        ++listings;
        if (!listError.isEmpty())
            raiseError(ErrNo::InputFailure, listError);
        std::vector<InputDeviceInfo> attached;
        for (const auto& device : m_devices) {
            if (device->attached)
                attached.push_back(device->info);
        }
        return attached;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& info) override {
        for (const auto& device : m_devices) {
            if (device->info.path != info.path || !device->attached)
                continue;
            if (!device->openError.isEmpty())
                raiseError(ErrNo::InputFailure, device->openError);
            opened << info.name;
            return std::make_unique<FakeInputDevice>(device);
        }
        raiseError(ErrNo::InputFailure, QStringLiteral("No such device"));
    }

    QString listError;
    QStringList opened;
    int listings = 0;

  private:
    std::vector<std::shared_ptr<FakeDeviceState>> m_devices;
    int m_next = 0;
};
