#include "PedalDevices.h"

#include <QLineEdit>

PedalDevices& pedalDevices() {
    static PedalDevices devices;
    return devices;
}

void createInputRoots(PedalDevices& devices, const std::function<std::shared_ptr<InputSystem>()>& factory) {
    try {
        devices.dxRoot = factory ? factory() : nullptr;
        devices.diRoot = devices.dxRoot;
    } catch (...) {
    }
}

void GetInputDevices(PedalDevices& devices) { (void)devices; }

QString GetInputDeviceData(PedalDevices& devices, QLineEdit* display) {
    (void)devices;
    const QString text = QStringLiteral("000");
    if (display)
        display->setText(text);
    return text;
}

void releaseInputObjects(PedalDevices& devices) {
    devices.diPedal.reset();
    devices.diRoot.reset();
    devices.dxRoot.reset();
}
