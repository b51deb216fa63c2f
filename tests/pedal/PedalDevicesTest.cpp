// The pedal layer over a scripted input system: which device it reads at start-up. (A lost pedal taken
// up again: the input nodes' test, on real nodes; the pedal given back at unload ends the program.)
#include "PedalDevices.h"
#include "FakeInputSystem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
class PedalDevicesTest : public ::testing::Test {
  public:
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
    CapturedLog log;
    PedalDevices devices{log};
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
        {"refused", [](PedalDevicesTest& t) { t.pedal->openError = "Permission denied"; }, false, "000", 1},
        {"no input system", [](PedalDevicesTest& t) { t.system = nullptr; }, false, "000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log.lines.clear();
        plugIn();
        c.setUp(*this);
        pedal->press("101");
        devices.createInputRoots([input = system] { return input; });
        devices.GetInputDevices();
        EXPECT_EQ(devices.hasPedal(), c.hasPedal);
        EXPECT_EQ(devices.GetInputDeviceData(), QLatin1String(c.buttons));
        EXPECT_EQ(log.lines.size(), c.logged);
        devices.releaseInputObjects();
    }
}
