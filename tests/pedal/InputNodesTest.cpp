// The two device backends on device folders laid out like /dev and /sys: what they list, in which
// order, what they refuse to open, and a raw HID pedal read, pulled out and put back through the
// pedal layer. FIFOs stand for raw HID nodes: like one, a FIFO with its writer open reads nothing
// (EAGAIN) until a report is written, and reads end (0) once the writer is gone.
#include "EvdevInputSystem.h"
#include "HidrawInputSystem.h"
#include "InputSystems.h"
#include "PedalDevices.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
class InputNodesTest : public ::testing::Test {
  public:
    InputNodesTest() { QDir(root.path()).mkpath(QStringLiteral("dev/input")); }
    ~InputNodesTest() override {
        for (const auto& [node, fd] : writers)
            ::close(fd);
    }
    QByteArray path(const QString& relative) const { return QFile::encodeName(root.filePath(relative)); }
    void write(const QString& relative, const QByteArray& bytes) const {
        QDir(root.path()).mkpath(QFileInfo(root.filePath(relative)).path());
        QFile file(root.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // An input device node (a plain file: it is listed, never a real device) with its sysfs entry.
    void event(int n, const QByteArray& name, const QByteArray& vendor = "0001") {
        write(QStringLiteral("dev/input/event%1").arg(n), {});
        if (!name.isEmpty())
            write(QStringLiteral("sys/input/event%1/device/name").arg(n), name + '\n');
        write(QStringLiteral("sys/input/event%1/device/id/vendor").arg(n), vendor + '\n');
    }
    // A raw HID node with its uevent and report descriptor, and a writer that plays the device.
    void hidraw(int n, const QByteArray& uevent, const QByteArray& descriptor = "\x05\x01\x09\x04\xa1\x01") {
        const QString node = QStringLiteral("dev/hidraw%1").arg(n);
        write(QStringLiteral("sys/hidraw/hidraw%1/device/uevent").arg(n), uevent);
        write(QStringLiteral("sys/hidraw/hidraw%1/device/report_descriptor").arg(n), descriptor);
        ASSERT_EQ(::mkfifo(path(node).constData(), 0600), 0);
        writers[n] = ::open(path(node).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    void report(int n, const QByteArray& bytes) {
        ASSERT_EQ(::write(writers[n], bytes.data(), size_t(bytes.size())), bytes.size());
    }
    void pullOut(int n) {
        ::close(writers[n]);
        writers.erase(n);
        QFile::remove(root.filePath(QStringLiteral("dev/hidraw%1").arg(n)));
    }
    std::shared_ptr<InputSystem> evdev() const {
        return createEvdevInputSystem({path("dev/input"), path("sys/input")});
    }
    std::shared_ptr<InputSystem> raw() const {
        return createHidrawInputSystem({path("dev"), path("sys/hidraw")});
    }

    QTemporaryDir root;
    std::map<int, int> writers;
    CapturedLog log;
};

const QByteArray kAcc2310 = "DRIVER=hid-generic\nHID_ID=0003:00000911:00001844\nHID_NAME=Footcontrol USB\n";
} // namespace

// Listing order is by node number; names and ids come from sysfs without opening a node, and a node
// sysfs says nothing of is asked (a plain file answers nothing). Opening fails with the reason.
TEST_F(InputNodesTest, ListsInNodeOrderAndSaysWhyANodeDoesNotOpen) {
    event(10, "VEC  VEC USB Footpedal", "05f3");
    event(2, "AT Translated Set 2 keyboard");
    event(3, {});
    hidraw(2, "HID_ID=0005:0000046D:0000B023\nHID_NAME=MX Keys");
    hidraw(10, kAcc2310);
    hidraw(3, {}); // nothing in sysfs: asked, answers nothing
    std::vector<QString> listed;
    for (const auto& device : combineInputSystems({evdev(), raw()})->devices())
        listed.push_back(QStringLiteral("%1 %2 %3")
                             .arg(QFileInfo(device.path).fileName(), device.name)
                             .arg(device.vendor, 0, 16));
    EXPECT_EQ(listed, (std::vector<QString>{"event2 AT Translated Set 2 keyboard 1", "event3  1",
                                            "event10 VEC  VEC USB Footpedal 5f3", "hidraw2 MX Keys 46d",
                                            "hidraw3  0", "hidraw10 Footcontrol USB 911"}));

    const auto opening = [](InputSystem& system, const QString& node) {
        try {
            system.open({node, "pedal"});
        } catch (const QuillonError& error) {
            return error.Description;
        }
        return QString();
    };
    EXPECT_TRUE(opening(*evdev(), QString::fromLocal8Bit(path("dev/input/event10")))
                    .contains("is not an input device"));
    EXPECT_TRUE(opening(*evdev(), QString::fromLocal8Bit(path("dev/input/event7"))).contains("No such file"));
    write(QStringLiteral("sys/hidraw/hidraw10/device/report_descriptor"), {});
    EXPECT_TRUE(opening(*raw(), QString::fromLocal8Bit(path("dev/hidraw10"))).contains("report layout"));
}

// A pedal shown only as raw HID is found among other devices, read report by report, logged once
// when pulled out and read again when put back on another node, also where it cannot be opened for a
// moment; the keyboard is never held open.
TEST_F(InputNodesTest, ARawHidPedalIsReadPulledOutAndPutBack) {
    ::mkfifo(path("dev/input/event0").constData(), 0600);
    write(QStringLiteral("sys/input/event0/device/name"), "AT Translated Set 2 keyboard\n");
    hidraw(3, kAcc2310);
    qint64 clock = 0;
    PedalDevices devices(log, [&] { return clock; });
    devices.createInputRoots([this] { return combineInputSystems({evdev(), raw()}); });
    devices.GetInputDevices();
    ASSERT_TRUE(devices.hasPedal());
    EXPECT_EQ(devices.GetInputDeviceData(), "000") << "no report yet";
    report(3, "\x04");
    EXPECT_EQ(devices.GetInputDeviceData(), "100");
    report(3, "\x03");
    EXPECT_EQ(devices.GetInputDeviceData(), "011");
    EXPECT_EQ(::open(path("dev/input/event0").constData(), O_WRONLY | O_NONBLOCK), -1)
        << "the keyboard has no reader";

    pullOut(3);
    for (int i = 0; i < 5; ++i, clock += 200)
        EXPECT_EQ(devices.GetInputDeviceData(), "000");
    EXPECT_EQ(log.lines.size(), 1);
    hidraw(7, kAcc2310, {}); // its report layout not readable yet
    report(7, "\x02");
    clock += 1000;
    EXPECT_EQ(devices.GetInputDeviceData(), "000");
    write(QStringLiteral("sys/hidraw/hidraw7/device/report_descriptor"), "\x05\x01\x09\x04\xa1\x01");
    clock += 1000;
    EXPECT_EQ(devices.GetInputDeviceData(), "010");
    EXPECT_EQ(log.lines.size(), 1);
    pullOut(7);
    devices.GetInputDeviceData();
    EXPECT_EQ(log.lines.size(), 2) << "a second loss is a new entry";
}
