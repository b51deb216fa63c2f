// The pedal layer over a scripted input system: which device it reads, how a lost pedal is logged
// and taken up again, and what start-up and unload leave behind.
#include "PedalDevices.h"
#include "FakeInputSystem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
class PedalDevicesTest : public ::testing::Test {
  public:
    PedalDevicesTest() { plugIn(); }
    void start(std::shared_ptr<InputSystem> input) {
        devices.createInputRoots([input] { return input; });
        devices.GetInputDevices();
    }

    // A keyboard, then the pedal, then a second pedal that must never be the one read.
    void plugIn() {
        system = std::make_shared<FakeInputSystem>();
        keyboard = system->add(QStringLiteral("AT keyboard"));
        pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
        second = system->add(QStringLiteral("second footpedal"));
        keyboard->buttons = second->buttons = {true, true, true};     // would show if read instead
        keyboard->openError = QStringLiteral("a keyboard is opened"); // would be logged
    }

    std::shared_ptr<FakeInputSystem> system;
    std::shared_ptr<FakeDeviceState> keyboard, pedal, second;
    qint64 clock = 50000;
    CapturedLog log;
    PedalDevices devices{log, [this] { return clock; }};
};
} // namespace

// (An input system that cannot even list its devices: the catalogue's start-up test.)
TEST_F(PedalDevicesTest, StartUpFindsTheFirstPedalOrCarriesOnWithout) {
    const struct {
        const char* what;
        std::function<void(PedalDevicesTest&)> setUp;
        bool hasPedal;
        const char* buttons;
        int logged; // start-up failures are logged, never raised
    } cases[] = {
        {"first pedal", [](PedalDevicesTest&) {}, true, "101", 0},
        {"no pedal", [](PedalDevicesTest& t) { t.pedal->attached = t.second->attached = false; }, false,
         "000", 0},
        {"refused", [](PedalDevicesTest& t) { t.pedal->openError = "Permission denied"; }, false, "000", 1},
        {"no input system", [](PedalDevicesTest& t) { t.system = nullptr; }, false, "000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.lines.clear();
        plugIn();
        c.setUp(*this);
        pedal->press("101");
        start(system);
        EXPECT_EQ(devices.hasPedal(), c.hasPedal);
        EXPECT_EQ(devices.GetInputDeviceData(), QLatin1String(c.buttons));
        EXPECT_EQ(log.lines.size(), c.logged);
        devices.releaseInputObjects();
    }
}

TEST_F(PedalDevicesTest, APulledOutPedalIsLoggedOnceAndLookedForOnceASecond) {
    start(system);
    pedal->attached = second->attached = false;
    const int listings = system->listings;
    for (int i = 0; i < 25; ++i, clock += 200) // five seconds of polling
        EXPECT_EQ(devices.GetInputDeviceData(), "000");
    const int searches = system->listings - listings;
    EXPECT_TRUE(searches >= 4 && searches <= 5) << searches;
    EXPECT_TRUE(devices.hasPedal()) << "a lost pedal is still polled for";

    auto back = system->add(QStringLiteral("VEC  VEC USB Footpedal")); // a new event number
    back->buttons = {false, true, false};
    back->openError = QStringLiteral("Permission denied"); // access comes a moment after the node
    EXPECT_EQ(devices.GetInputDeviceData(), "000");
    clock += 1000;
    back->openError.clear();
    EXPECT_EQ(devices.GetInputDeviceData(), "010");
    EXPECT_EQ(log.lines.size(), 1);

    back->attached = false; // a second loss is a new entry
    devices.GetInputDeviceData();
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(PedalDevicesTest, UnloadGivesThePedalBack) {
    start(system);
    devices.GetInputDeviceData();
    const long held = pedal.use_count();
    devices.releaseInputObjects();
    EXPECT_EQ(pedal.use_count(), held - 1) << "the open handle goes";
    EXPECT_EQ(system.use_count(), 1) << "both roots go";
    EXPECT_FALSE(devices.hasPedal());
    EXPECT_EQ(devices.GetInputDeviceData(), "000");
}
