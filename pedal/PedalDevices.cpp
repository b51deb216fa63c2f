#include "PedalDevices.h"

#include "ErrorHandling.h"

#include <QLineEdit>
#include <chrono>

namespace {
const QString kNoButtons = QStringLiteral("000");
constexpr qint64 kSearchIntervalMs = 1000;

qint64 nowMs(const PedalDevices& devices) {
    if (devices.clockMs)
        return devices.clockMs();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A lost pedal is looked for again quietly: it may still be settling (permissions come a moment
// after the device node), and the loss itself is in the log already.
void searchAgain(PedalDevices& devices) {
    const qint64 now = nowMs(devices);
    if (devices.lastSearchMs && now - *devices.lastSearchMs < kSearchIntervalMs)
        return;
    devices.lastSearchMs = now;
    if (!devices.diRoot)
        return;
    skipErrors([&] { devices.diPedal = openFirstPedal(*devices.diRoot); });
}

void markLost(PedalDevices& devices) {
    skipErrors([&] { devices.diPedal.reset(); });
    devices.pedalLost = true;
    devices.lossLogged = true;
    if (!devices.lastSearchMs || nowMs(devices) - *devices.lastSearchMs >= kSearchIntervalMs)
        devices.lastSearchMs = nowMs(devices);
}
} // namespace

PedalDevices& pedalDevices() {
    static PedalDevices devices;
    return devices;
}

void createInputRoots(PedalDevices& devices, const std::function<std::shared_ptr<InputSystem>()>& factory) {
    skipErrors([&] { devices.dxRoot = factory ? factory() : nullptr; });
    skipErrors([&] { devices.diRoot = devices.dxRoot; });
}

bool isFootPedalName(const QString& productName) {
    return productName.toUpper().contains(QLatin1String("FOOTPEDAL"));
}

std::unique_ptr<InputDevice> openFirstPedal(InputSystem& system) {
    for (const InputDeviceInfo& device : system.devices()) {
        if (isFootPedalName(device.name))
            return system.open(device);
    }
    return nullptr;
}

QString buttonText(const std::vector<bool>& pressed) {
    QString text = kNoButtons;
    for (std::size_t i = 0; i < 3 && i < pressed.size(); ++i)
        text[qsizetype(i)] = pressed[i] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

void GetInputDevices(PedalDevices& devices) {
    devices.pedalLost = false;
    devices.lossLogged = false;
    devices.lastSearchMs.reset();
    const bool found = logAndCarryOn(SourceModule::basGlobals + QStringLiteral(".GetInputDevices()"), [&] {
        if (!devices.diRoot)
            return;
        devices.diPedal = openFirstPedal(*devices.diRoot);
    });
    if (!found)
        skipErrors([&] { devices.diPedal.reset(); });
}

QString GetInputDeviceData(PedalDevices& devices, QLineEdit* display) {
    QString text = kNoButtons;
    auto read = [&] {
        if (!devices.diPedal && devices.pedalLost)
            searchAgain(devices);
        if (!devices.diPedal)
            return;
        text = buttonText(devices.diPedal->buttons());
        devices.pedalLost = false;
        devices.lossLogged = false;
    };
    const bool good =
        devices.lossLogged
            ? skipErrors(read)
            : logAndCarryOn(SourceModule::basGlobals + QStringLiteral(".GetInputDeviceData()"), read);
    if (!good) {
        text = kNoButtons;
        markLost(devices);
    }
    if (display)
        display->setText(text);
    return text;
}

void releaseInputObjects(PedalDevices& devices) {
    skipErrors([&] { devices.diPedal.reset(); });
    devices.pedalLost = false;
    devices.lossLogged = false;
    devices.lastSearchMs.reset();
    skipErrors([&] { devices.diRoot.reset(); });
    skipErrors([&] { devices.dxRoot.reset(); });
}
