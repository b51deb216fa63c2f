// Finding, opening and reading the pedal against a scripted input layer.
#include "PedalDevices.h"
#include "FakeInputSystem.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
class PedalDevicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system = std::make_shared<FakeInputSystem>();
        createInputRoots(devices, [this] { return system; });
        devices.clockMs = [this] { return clock; };
    }
    std::shared_ptr<FakeInputSystem> system;
    PedalDevices devices;
    qint64 clock = 100000;
    CapturedLog log;
};
} // namespace

TEST(PedalNameTest, MatchesFootpedalAnywhereInAnyCase) {
    const struct {
        const char* name;
        bool matches;
    } cases[] = {
        {"VEC  VEC USB Footpedal", true},
        {"USB FootPedal Controller", true},
        {"footpedal", true},
        {"Foot Pedal", false},
        {"FOOT-PEDAL", false},
        {"AT Translated Set 2 keyboard", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isFootPedalName(QString::fromUtf8(c.name)), c.matches) << c.name;
}

TEST(PedalNameTest, ButtonTextFromKeyStates) {
    const struct {
        std::vector<bool> pressed;
        const char* text;
    } cases[] = {
        {{true, false, true}, "101"},
        {{false, true, false}, "010"},
        {{false, false, false, true}, "000"}, // a fourth button is ignored
        {{true, true, true, true}, "111"},
        {{true}, "100"}, // a device with fewer buttons: the rest count as released
        {{}, "000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buttonText(c.pressed), QLatin1String(c.text)) << c.text;
}

TEST_F(PedalDevicesTest, OpensTheFirstMatchingDeviceOnly) {
    system->add(QStringLiteral("AT Translated Set 2 keyboard"));
    system->add(QStringLiteral("Foot Pedal"));
    auto first = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    system->add(QStringLiteral("second footpedal"));
    GetInputDevices(devices);
    ASSERT_TRUE(devices.diPedal);
    EXPECT_EQ(system->opened, QStringList{QStringLiteral("VEC  VEC USB Footpedal")});
    first->buttons = {true, false, true};
    QLineEdit display;
    EXPECT_EQ(GetInputDeviceData(devices, &display), QStringLiteral("101"));
    EXPECT_EQ(display.text(), QStringLiteral("101"));
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(PedalDevicesTest, WithoutAPedalNothingIsOpenedOrLogged) {
    system->add(QStringLiteral("Logitech USB Receiver Mouse"));
    GetInputDevices(devices);
    EXPECT_FALSE(devices.diPedal);
    EXPECT_FALSE(devices.hasPedal());
    QLineEdit display(QStringLiteral("111"));
    EXPECT_EQ(GetInputDeviceData(devices, &display), QStringLiteral("000"));
    EXPECT_EQ(display.text(), QStringLiteral("000"));
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(PedalDevicesTest, DiscoveryFailuresAreLoggedAndNeverRaised) {
    const struct {
        const char* what;
        std::function<void(FakeInputSystem&)> arrange;
        const char* logged;
    } cases[] = {
        {"permission",
         [](FakeInputSystem& s) {
             s.add("VEC  VEC USB Footpedal")->openError = "Permission denied, install the udev rule";
         },
         "install the udev rule"},
        {"listing", [](FakeInputSystem& s) { s.listError = "Cannot list the input devices"; },
         "Cannot list the input devices"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.lines.clear();
        system = std::make_shared<FakeInputSystem>();
        devices.diRoot = system;
        c.arrange(*system);
        EXPECT_NO_THROW(GetInputDevices(devices));
        EXPECT_FALSE(devices.hasPedal());
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.basGlobals.GetInputDevices()")));
        EXPECT_TRUE(log.lines[0].contains(QLatin1String(c.logged)));
        EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
    }
}

TEST_F(PedalDevicesTest, MissingRootsLeaveThePedalOff) {
    PedalDevices bare;
    createInputRoots(bare, []() -> std::shared_ptr<InputSystem> { throw std::runtime_error("no input"); });
    EXPECT_FALSE(bare.dxRoot);
    EXPECT_FALSE(bare.diRoot);
    EXPECT_NO_THROW(GetInputDevices(bare));
    EXPECT_FALSE(bare.hasPedal());
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(PedalDevicesTest, UnplugIsLoggedOnceAndThePedalIsFoundAgain) {
    auto pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    GetInputDevices(devices);
    pedal->buttons = {false, true, false};
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("010"));

    pedal->attached = false;
    for (int tick = 0; tick < 25; ++tick) { // five seconds of polling
        EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
        clock += 200;
    }
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.basGlobals.GetInputDeviceData()")));
    EXPECT_TRUE(devices.hasPedal());    // still polled, so that it can come back
    EXPECT_EQ(system->listings, 1 + 4); // discovery, then once a second from the loss on

    auto back = system->add(QStringLiteral("VEC  VEC USB Footpedal")); // a new event number
    back->buttons = {true, false, false};
    clock += 1000;
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("100"));
    EXPECT_EQ(log.lines.size(), 1);

    back->attached = false; // a second loss is a new entry
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(PedalDevicesTest, APedalThatCannotBeOpenedAgainStaysQuiet) {
    auto pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    GetInputDevices(devices);
    pedal->attached = false;
    GetInputDeviceData(devices, nullptr);
    auto back = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    back->openError = QStringLiteral("Permission denied"); // access comes a moment after the node
    for (int tick = 0; tick < 10; ++tick) {
        clock += 200;
        EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
    }
    back->openError.clear();
    back->buttons = {false, false, true};
    clock += 1000;
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("001"));
    EXPECT_EQ(log.lines.size(), 1);
}

TEST_F(PedalDevicesTest, ReleaseDropsEverything) {
    system->add(QStringLiteral("footpedal"));
    GetInputDevices(devices);
    ASSERT_TRUE(devices.hasPedal());
    releaseInputObjects(devices);
    EXPECT_FALSE(devices.diPedal);
    EXPECT_FALSE(devices.diRoot);
    EXPECT_FALSE(devices.dxRoot);
    EXPECT_FALSE(devices.hasPedal());
    EXPECT_EQ(GetInputDeviceData(devices, nullptr), QStringLiteral("000"));
}
