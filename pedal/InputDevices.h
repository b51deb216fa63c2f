#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// How a device reaches the program: the kernel's input device, or its raw HID reports.
enum class InputPath { Evdev, Hidraw };

// Where a pedal make puts buttons 0, 1 and 2 (forward, play, rewind) in what its device reports.
struct ButtonLayout {
    // Input device: the index among the device's key codes, ascending. Raw HID: the bit of reportByte.
    std::array<quint8, 3> buttons{0, 1, 2};
    // Raw HID: the byte of an input report that holds the pedals, counted after any report number.
    quint8 reportByte = 0;
};

// Where a backend finds its device nodes and the kernel's description of them (sysfs); tests lay out
// folders of their own.
struct NodeFolders {
    QByteArray devices;
    QByteArray sysClass;
};

// One attached input device as the system lists it.
struct InputDeviceInfo {
    InputDeviceInfo(QString nodePath = {}, QString productName = {}, quint16 busType = 0,
                    quint16 vendorId = 0, quint16 productId = 0, InputPath nodeKind = InputPath::Evdev)
        : path(std::move(nodePath)), name(std::move(productName)), bus(busType), vendor(vendorId),
          product(productId), kind(nodeKind) {}

    QString path;    // /dev/input/eventN or /dev/hidrawN
    QString name;    // product name
    quint16 bus = 0; // 3 for USB
    quint16 vendor = 0;
    quint16 product = 0;
    InputPath kind = InputPath::Evdev;
    ButtonLayout layout; // set from the pedal makes before the device is opened
};

// An opened device: the pressed state of its buttons 0, 1, 2 as its layout places them.
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
    // Attached devices in ascending node number; listing opens nothing it need not.
    virtual std::vector<InputDeviceInfo> devices() = 0;
    // Opens a device for reading; raises a QuillonError when it cannot (permissions, gone).
    virtual std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) = 0;
};

// What both device backends share.
namespace InputNodes {
// N of a device node named prefix + N (decimal digits only); -1 for any other name.
int nodeNumber(const QByteArray& fileName, const QByteArray& prefix);
// The device for a log entry: its name and node, or the node alone.
QString describe(const InputDeviceInfo& device);
// The log text for a device that would not open; a permission failure gives the command that lets
// the user at the seat read the pedal, with the udev rule the disc carries in `folder` (the program's).
QString openFailureText(const InputDeviceInfo& device, int errorNumber, const QByteArray& folder);
// That command for a rule file in the given folder, quoted for the shell.
QString udevRuleCommand(const QByteArray& folder);
// Reads a small file without blocking; empty when it cannot be read.
QByteArray readSmallFile(const QByteArray& path, qsizetype limit = 4096);
// The nodes prefix + N in a folder, in ascending N (event2 before event10); empty with errno set when
// the folder cannot be read.
std::optional<std::vector<QByteArray>> numberedNodes(const QByteArray& folder, const QByteArray& prefix);
// Opens a device's node to read, without blocking; raises the failure text when it cannot.
int openNode(const InputDeviceInfo& device);
} // namespace InputNodes
