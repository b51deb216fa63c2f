// The evdev backend without a device: its mapping, and its walk over a device tree laid out on disk.
#include "EvdevInputSystem.h"
#include "PedalDevices.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Key codes as the kernel numbers them.
constexpr int kEsc = 1;
constexpr int kF13 = 183, kF14 = 184, kF15 = 185, kF16 = 186;
constexpr int kBtn0 = 0x100, kBtn1 = 0x101, kBtn2 = 0x102;

std::vector<unsigned char> bitmap(std::initializer_list<int> codes) {
    std::vector<unsigned char> bits(0x300 / 8);
    for (int code : codes)
        bits[std::size_t(code / 8)] |= static_cast<unsigned char>(1u << (code % 8));
    return bits;
}

// A device folder and a class folder as the kernel shows them, made of plain files.
class DeviceTree {
  public:
    DeviceTree() { QDir(root.path()).mkpath(QStringLiteral("dev")); }
    QByteArray devFolder() const { return QFile::encodeName(root.path() + QStringLiteral("/dev")); }
    QByteArray classFolder() const { return QFile::encodeName(root.path() + QStringLiteral("/class")); }

    void addNode(const QString& node) { touch(root.path() + QStringLiteral("/dev/") + node, {}); }
    void addNamed(const QString& node, const QByteArray& nameFile) {
        addNode(node);
        QDir(root.path()).mkpath(QStringLiteral("class/%1/device").arg(node));
        touch(root.path() + QStringLiteral("/class/%1/device/name").arg(node), nameFile);
    }
    QString path(const QString& relative) const { return root.path() + QLatin1Char('/') + relative; }

  private:
    static void touch(const QString& path, const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir root;
};

QStringList names(const std::vector<InputDeviceInfo>& devices) {
    QStringList list;
    for (const auto& device : devices)
        list << QFileInfo(device.path).fileName() + QLatin1Char('=') + device.name;
    return list;
}
} // namespace

TEST(EvdevMappingTest, EventNodeNumbers) {
    const struct {
        const char* name;
        int number;
    } cases[] = {
        {"event0", 0}, {"event9", 9},   {"event10", 10}, {"event123", 123},
        {"event", -1}, {"event1a", -1}, {"event-1", -1}, {"mouse0", -1},
        {"by-id", -1}, {".", -1},       {"Event3", -1},  {"event99999999999", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Evdev::eventNumber(c.name), c.number) << c.name;
}

TEST(EvdevMappingTest, ButtonsAreTheFirstThreeKeyCodes) {
    const struct {
        const char* what;
        std::vector<unsigned char> capabilities;
        std::vector<int> codes;
    } cases[] = {
        {"VEC pedal", bitmap({kBtn0, kBtn1, kBtn2}), {kBtn0, kBtn1, kBtn2}},
        {"remapped to F13 to F15", bitmap({kF15, kF13, kF14}), {kF13, kF14, kF15}},
        {"a fourth code is not a button", bitmap({kF16, kF13, kF14, kF15}), {kF13, kF14, kF15}},
        {"lowest codes come first", bitmap({kBtn0, kEsc, kBtn2}), {kEsc, kBtn0, kBtn2}},
        {"two codes", bitmap({kBtn0, kBtn1}), {kBtn0, kBtn1}},
        {"no keys", bitmap({}), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Evdev::firstCodes(c.capabilities, 3), c.codes) << c.what;
}

TEST(EvdevMappingTest, PressedStateOfTheButtonCodes) {
    const std::vector<int> vec{kBtn0, kBtn1, kBtn2};
    EXPECT_EQ(buttonText(Evdev::pressedCodes(bitmap({kBtn0, kBtn2}), vec)), QStringLiteral("101"));
    EXPECT_EQ(buttonText(Evdev::pressedCodes(bitmap({kBtn1, kF13}), vec)), QStringLiteral("010"));
    const std::vector<int> remapped{kF13, kF14, kF15};
    EXPECT_EQ(buttonText(Evdev::pressedCodes(bitmap({kF15}), remapped)), QStringLiteral("001"));
    // A state shorter than the codes (a damaged answer) reads as released.
    const std::vector<unsigned char> shortState(4, 0xff);
    EXPECT_EQ(buttonText(Evdev::pressedCodes(shortState, vec)), QStringLiteral("000"));
}

TEST(EvdevMappingTest, ProductNamesKeepTheirBlanks) {
    EXPECT_EQ(Evdev::productName("VEC  VEC USB Footpedal\n"), QStringLiteral("VEC  VEC USB Footpedal"));
    EXPECT_EQ(Evdev::productName("  padded  \n"), QStringLiteral("  padded  "));
    EXPECT_EQ(Evdev::productName(QByteArray("cut\0here\n", 9)), QStringLiteral("cut"));
    EXPECT_EQ(Evdev::productName("first\nsecond\n"), QStringLiteral("first"));
    EXPECT_EQ(Evdev::productName(""), QString());
    EXPECT_TRUE(Evdev::productName("Fu\xff\xfe\xdf footpedal\n").endsWith(QLatin1String(" footpedal")));
}

TEST(EvdevMappingTest, PermissionFailuresPointAtTheUdevRule) {
    const InputDeviceInfo pedal{QStringLiteral("/dev/input/event5"),
                                QStringLiteral("VEC  VEC USB Footpedal")};
    for (int error : {EACCES, EPERM}) {
        const QString text = Evdev::openFailureText(pedal, error);
        EXPECT_TRUE(text.contains(QLatin1String("60-quillon-footpedal.rules"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("\"VEC  VEC USB Footpedal\" (/dev/input/event5)")));
    }
    EXPECT_FALSE(Evdev::openFailureText(pedal, ENOENT).contains(QLatin1String("udev")));
}

TEST(EvdevSystemTest, ListsEventNodesInNumericOrderWithTheirNames) {
    DeviceTree tree;
    tree.addNamed(QStringLiteral("event10"), "VEC  VEC USB Footpedal\n");
    tree.addNamed(QStringLiteral("event9"), "AT Translated Set 2 keyboard\n");
    tree.addNamed(QStringLiteral("event2"), "Power Button\n");
    tree.addNode(QStringLiteral("event0")); // no class entry: no name
    tree.addNode(QStringLiteral("mouse0"));
    tree.addNode(QStringLiteral("eventx"));
    QDir().mkpath(tree.path(QStringLiteral("dev/by-id")));

    auto system = createEvdevInputSystemAt(tree.devFolder(), tree.classFolder());
    EXPECT_EQ(names(system->devices()),
              (QStringList{QStringLiteral("event0="), QStringLiteral("event2=Power Button"),
                           QStringLiteral("event9=AT Translated Set 2 keyboard"),
                           QStringLiteral("event10=VEC  VEC USB Footpedal")}));
}

TEST(EvdevSystemTest, OddNameFilesNeitherHangNorOverflow) {
    DeviceTree tree;
    tree.addNamed(QStringLiteral("event1"), QByteArray(1 << 20, 'F') + "\n");
    tree.addNode(QStringLiteral("event2"));
    QDir().mkpath(tree.path(QStringLiteral("class/event2/device")));
    ASSERT_EQ(
        mkfifo(QFile::encodeName(tree.path(QStringLiteral("class/event2/device/name"))).constData(), 0600),
        0);

    const auto devices = createEvdevInputSystemAt(tree.devFolder(), tree.classFolder())->devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_LE(devices[0].name.size(), 1024);
    EXPECT_TRUE(devices[1].name.isEmpty());
}

TEST(EvdevSystemTest, NoDeviceFolderMeansNoDevices) {
    auto system = createEvdevInputSystemAt("/nonexistent/input", "/nonexistent/class");
    EXPECT_TRUE(system->devices().empty());
}

TEST(EvdevSystemTest, OpeningSomethingThatIsNotAnInputDeviceFails) {
    DeviceTree tree;
    tree.addNamed(QStringLiteral("event3"), "VEC  VEC USB Footpedal\n");
    auto system = createEvdevInputSystemAt(tree.devFolder(), tree.classFolder());
    const auto devices = system->devices();
    ASSERT_EQ(devices.size(), 1u);
    try {
        system->open(devices[0]);
        FAIL() << "a plain file opened as a pedal";
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::InputFailure);
        EXPECT_TRUE(e.Description.contains(QLatin1String("not an input device")));
    }
    try {
        system->open({tree.path(QStringLiteral("dev/event99")), QStringLiteral("footpedal")});
        FAIL() << "a missing node opened";
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::InputFailure);
    }
}

TEST(EvdevSystemTest, AnUnreadablePedalIsLoggedWithTheHint) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    DeviceTree tree;
    tree.addNamed(QStringLiteral("event4"), "VEC  VEC USB Footpedal\n");
    ASSERT_EQ(chmod(QFile::encodeName(tree.path(QStringLiteral("dev/event4"))).constData(), 0), 0);
    CapturedLog log;
    PedalDevices devices;
    createInputRoots(devices, [&] { return createEvdevInputSystemAt(tree.devFolder(), tree.classFolder()); });
    GetInputDevices(devices);
    EXPECT_FALSE(devices.hasPedal());
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.basGlobals.GetInputDevices()")));
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("60-quillon-footpedal.rules")));
}

TEST(EvdevSystemTest, DiscoveryOverABrokenTreeLogsAndGoesOn) {
    DeviceTree tree;
    tree.addNamed(QStringLiteral("event7"), "Keyboard\n");
    tree.addNamed(QStringLiteral("event8"), "VEC  VEC USB Footpedal\n"); // a plain file, not a device
    CapturedLog log;
    PedalDevices devices;
    createInputRoots(devices, [&] { return createEvdevInputSystemAt(tree.devFolder(), tree.classFolder()); });
    EXPECT_NO_THROW(GetInputDevices(devices));
    EXPECT_FALSE(devices.hasPedal());
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.basGlobals.GetInputDevices()")));
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("event8")));
}
