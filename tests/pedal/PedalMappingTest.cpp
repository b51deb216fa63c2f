// The pedal's pure parts: which device is a pedal, and how key bitmaps and names read.
#include "EvdevInputSystem.h"
#include "PedalDevices.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {
// Key codes as the kernel numbers them.
constexpr int kEsc = 1, kF13 = 183, kF14 = 184, kF15 = 185, kF16 = 186;
constexpr int kBtn0 = 0x100, kBtn1 = 0x101, kBtn2 = 0x102;

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
    // Devices are walked by event number; junk and overflowing names are no event node.
    for (const auto& [name, number] : {std::pair{"event10", 10}, {"event1a", -1}, {"event99999999999", -1}})
        EXPECT_EQ(Evdev::eventNumber(name), number) << name;
}

// Buttons 0, 1, 2 are the first three key codes a device reports, ascending.
TEST(PedalMappingTest, ButtonTextFromKeyStates) {
    const struct {
        std::vector<int> capabilities, down;
        const char* text;
    } cases[] = {
        {{kBtn0, kBtn1, kBtn2}, {kBtn0, kBtn2}, "101"},  // VEC pedal
        {{kF15, kF13, kF14}, {kF15}, "001"},             // remapped to F13 to F15
        {{kF16, kF13, kF14, kF15}, {kF16, kF14}, "010"}, // a fourth code is no button
        {{kBtn0, kEsc, kBtn2}, {kEsc}, "100"},           // lowest code first
        {{kBtn0, kBtn1}, {kBtn1}, "010"},                // fewer buttons: the rest are released
    };
    for (const auto& c : cases) {
        const auto codes = Evdev::firstCodes(bitmap(c.capabilities), 3);
        EXPECT_EQ(buttonText(Evdev::pressedCodes(bitmap(c.down), codes)), QLatin1String(c.text)) << c.text;
    }
    // A state shorter than the codes (a damaged answer) reads as released.
    EXPECT_EQ(buttonText(Evdev::pressedCodes(std::vector<unsigned char>(4, 0xff), {kBtn0, kBtn1, kBtn2})),
              QLatin1String("000"));
}

TEST(PedalMappingTest, PermissionFailuresPointAtTheUdevRule) {
    const InputDeviceInfo pedal{"/dev/input/event5", "VEC  VEC USB Footpedal"};
    EXPECT_TRUE(Evdev::openFailureText(pedal, EPERM)
                    .contains(QLatin1String("\"VEC  VEC USB Footpedal\" (/dev/input/event5)")));
    for (const auto& [error, hint] : {std::pair{EPERM, true}, {EACCES, true}, {ENOENT, false}})
        EXPECT_EQ(Evdev::openFailureText(pedal, error).contains(QLatin1String("60-quillon-footpedal.rules")),
                  hint)
            << error;
}
