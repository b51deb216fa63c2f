// The pedal's pure parts: which device is a pedal of which make, and how its key states or reports
// become buttons 0, 1, 2 (forward, play, rewind).
#include "EvdevInputSystem.h"
#include "HidrawInputSystem.h"
#include "PedalDevices.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {
// Key codes as the kernel numbers them.
constexpr int kEsc = 1, kF13 = 183, kF14 = 184, kF15 = 185, kF16 = 186;
constexpr int kBtn0 = 0x100, kBtn1 = 0x101, kBtn2 = 0x102, kLeft = 0x110, kRight = 0x111, kMiddle = 0x112;
constexpr int kTrig = 0x120, kThumb = 0x121, kThumb2 = 0x122, kTop = 0x123;
constexpr auto kEvdev = InputPath::Evdev, kHidraw = InputPath::Hidraw;
// A joystick's report descriptor opening, without and with a report number.
const std::vector<unsigned char> kPlain{0x05, 0x01, 0x09, 0x04, 0xa1, 0x01, 0x05, 0x09};
const std::vector<unsigned char> kNumbered{0x05, 0x01, 0x09, 0x04, 0xa1, 0x01, 0x85, 0x01, 0x05, 0x09};

std::vector<unsigned char> bitmap(const std::vector<int>& codes) {
    std::vector<unsigned char> bits(0x300 / 8);
    for (int code : codes)
        bits[std::size_t(code / 8)] |= static_cast<unsigned char>(1u << (code % 8));
    return bits;
}
} // namespace

// A name file's first line, blanks kept, is the product name; it is a pedal's when it holds "footpedal".
TEST(PedalMappingTest, NameFilesAndWhichArePedals) {
    const std::pair<QByteArray, bool> cases[] = {
        {"VEC  VEC USB Footpedal\n", true},
        {"\xff\xfe footpedal", true},
        {"Foot Pedal\n", false},
        {"", false},
        {QByteArray("cut\0footpedal\n", 14), false},
        {"first\nfootpedal\n", false},
    };
    for (const auto& [nameFile, matches] : cases)
        EXPECT_EQ(isFootPedalName(Evdev::productName(nameFile)), matches) << nameFile.constData();
    // Devices are walked by node number; junk and overflowing names are no device node.
    for (const auto& [name, number] : {std::pair{"event10", 10}, {"event1a", -1}, {"event99999999999", -1}})
        EXPECT_EQ(InputNodes::nodeNumber(name, "event"), number) << name;
}

// Each make from its ids or name and what its device reports, to the button text (forward, play,
// rewind); a device of no make is no pedal.
TEST(PedalMappingTest, EveryMakeMapsOntoTheThreeButtons) {
    const struct {
        const char* what;
        InputPath kind;
        quint16 bus, vendor, product;
        std::vector<int> codes, down;                  // input device: its key codes, those held down
        std::vector<unsigned char> descriptor, report; // raw HID
        const char* text;                              // null: not a pedal
    } cases[] = {
        {"VEC  VEC USB Footpedal", kEvdev, 3, 0, 0, {kBtn0, kBtn1, kBtn2}, {kBtn0, kBtn2}, {}, {}, "101"},
        {"", kEvdev, 3, 0x05f3, 0x00ff, {kBtn0, kBtn1, kBtn2}, {kBtn1}, {}, {}, "010"},
        {"footpedal remapped to F13-F15", kEvdev, 0, 0, 0, {kF15, kF13, kF14}, {kF15}, {}, {}, "001"},
        {"footpedal: a 4th code", kEvdev, 0, 0, 0, {kF16, kF13, kF14, kF15}, {kF16, kF14}, {}, {}, "010"},
        {"footpedal: lowest first", kEvdev, 0, 0, 0, {kBtn0, kEsc, kBtn2}, {kEsc}, {}, {}, "100"},
        {"footpedal: 2 buttons", kEvdev, 0, 0, 0, {kBtn0, kBtn1}, {kBtn1}, {}, {}, "010"},
        {"ACC2310", kEvdev, 3, 0x0911, 0x1844, {kTrig, kThumb, kThumb2}, {kThumb2}, {}, {}, "100"},
        {"ACC2330", kEvdev, 3, 0x0911, 0x091a, {kTrig, kThumb, kThumb2, kTop}, {kTrig, kTop}, {}, {}, "001"},
        {"ACC2320 raw", kHidraw, 3, 0x0911, 0x1844, {}, {}, kPlain, {0x06}, "110"},
        {"ACC2330 raw", kHidraw, 3, 0x0911, 0x091a, {}, {}, kNumbered, {0x01, 0x09}, "001"},
        {"RS28", kEvdev, 3, 0x07b4, 0x0218, {kLeft, kRight, kMiddle}, {kMiddle}, {}, {}, "010"},
        {"RS28 raw", kHidraw, 3, 0x07b4, 0x0218, {}, {}, kPlain, {0, 0, 0, 0x03}, "101"},
        {"RS28 raw, short", kHidraw, 3, 0x07b4, 0x0218, {}, {}, kPlain, {0xff}, "000"},
        {"AT Translated Set 2 keyboard", kEvdev, 0x11, 1, 1, {kEsc}, {}, {}, {}, nullptr},
        {"SpeechMike", kEvdev, 3, 0x0911, 0x0c1c, {kBtn0}, {}, {}, {}, nullptr},
        {"VEC footpedal, raw", kHidraw, 3, 0x05f3, 0x00ff, {}, {}, kPlain, {}, nullptr},
        {"ACC2310 over Bluetooth", kEvdev, 5, 0x0911, 0x1844, {kBtn0}, {}, {}, {}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const InputDeviceInfo device{"/dev/x", c.what, c.bus, c.vendor, c.product, c.kind};
        const PedalMake* make = findPedalMake(device);
        ASSERT_EQ(make != nullptr, c.text != nullptr);
        if (!make)
            continue;
        const auto pressed =
            c.kind == kEvdev
                ? Evdev::pressedCodes(bitmap(c.down), Evdev::layoutCodes(bitmap(c.codes), make->layout))
                : Hidraw::pressedButtons(c.report, Hidraw::numbersReports(c.descriptor), make->layout);
        EXPECT_EQ(buttonText(pressed), QLatin1String(c.text));
    }
}

// A pedal the user may not read: the log gives the one command, with the rule beside the program.
TEST(PedalMappingTest, PermissionFailuresGiveTheCommandWithTheRuleOnTheDisc) {
    QTemporaryDir disc(QDir::tempPath() + QStringLiteral("/it's a disc-XXXXXX"));
    const QByteArray folder = QFile::encodeName(disc.path());
    const InputDeviceInfo pedal{"/dev/hidraw5", "Footcontrol USB"};
    EXPECT_TRUE(InputNodes::openFailureText(pedal, EACCES, folder)
                    .contains(QLatin1String("60-quillon-footpedal.rules in")))
        << "no rule beside the program: where to install it";
    QFile(disc.filePath(QStringLiteral("60-quillon-footpedal.rules"))).open(QIODevice::WriteOnly);
    for (const auto& [error, hint] : {std::pair{EPERM, true}, {EACCES, true}, {ENOENT, false}})
        EXPECT_EQ(
            InputNodes::openFailureText(pedal, error, folder).contains(InputNodes::udevRuleCommand(folder)),
            hint)
            << error;
    // The command as a shell reads it (sudo only prints its words): the rule's path is one word.
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("sudo() { printf '%s\\n' \"$@\"; }; ") +
                                           InputNodes::udevRuleCommand(folder)});
    ASSERT_TRUE(shell.waitForFinished());
    EXPECT_EQ(shell.readAllStandardOutput().split('\n').value(3), folder + "/60-quillon-footpedal.rules");
}
