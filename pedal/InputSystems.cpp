#include "InputSystems.h"

#include "EvdevInputSystem.h"
#include "HidrawInputSystem.h"
#include "QuillonError.h"

namespace {
class CombinedInputSystem : public InputSystem {
  public:
    explicit CombinedInputSystem(std::vector<std::shared_ptr<InputSystem>> systems)
        : m_systems(std::move(systems)) {}

    std::vector<InputDeviceInfo> devices() override {
        m_owners.clear();
        std::vector<InputDeviceInfo> all;
        for (const auto& system : m_systems) {
            for (InputDeviceInfo& device : system->devices()) {
                m_owners.emplace_back(device.path, system.get());
                all.push_back(std::move(device));
            }
        }
        return all;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) override {
        for (const auto& [path, system] : m_owners) {
            if (path == device.path)
                return system->open(device);
        }
        raiseError(ErrNo::InputFailure,
                   QStringLiteral("The input device %1 is not attached").arg(device.path));
    }

  private:
    std::vector<std::shared_ptr<InputSystem>> m_systems;
    std::vector<std::pair<QString, InputSystem*>> m_owners; // from the last listing
};
} // namespace

std::shared_ptr<InputSystem> combineInputSystems(std::vector<std::shared_ptr<InputSystem>> systems) {
    return std::make_shared<CombinedInputSystem>(std::move(systems));
}

std::shared_ptr<InputSystem> createPedalInputSystem() {
    return combineInputSystems({createEvdevInputSystem(), createHidrawInputSystem()});
}
