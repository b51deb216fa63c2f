// The pedal from what a device reports: its name (the text of its sysfs name file), the key codes it
// has (a capability bitmap) and which are down (a key state bitmap), through discovery, reads, losses
// and searches again. The text is always three "0"/"1" and names the three first keys of the first
// device called a foot pedal.
#include "EvdevInputSystem.h"
#include "FuzzSupport.h"
#include "PedalDevices.h"
#include "QuillonError.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {
struct FakeDevice {
    QByteArray nameFile;
    std::vector<unsigned char> capabilities;
    bool opens = true;
};

struct World {
    std::vector<FakeDevice> devices;
    std::vector<unsigned char> keyState;
    bool lost = false;
    qint64 nowMs = 0;
};

// The first `count` set bits, read bit by bit.
std::vector<int> setBits(const std::vector<unsigned char>& bits, std::size_t count) {
    std::vector<int> codes;
    for (std::size_t code = 0; code < bits.size() * 8 && codes.size() < count; ++code) {
        if ((bits[code / 8] >> (code % 8)) & 1)
            codes.push_back(int(code));
    }
    return codes;
}

class Pedal : public InputDevice {
  public:
    Pedal(World& in, std::size_t at, std::vector<int> keys) : world(in), index(at), codes(std::move(keys)) {}
    std::vector<bool> buttons() override {
        if (world.lost)
            raiseError(ErrNo::InputFailure, QStringLiteral("Cannot read the foot pedal: No such device"));
        return Evdev::pressedCodes(world.keyState, codes);
    }
    World& world;
    std::size_t index;
    std::vector<int> codes;
};

class System : public InputSystem {
  public:
    explicit System(World& world) : m_world(world) {}
    std::vector<InputDeviceInfo> devices() override {
        std::vector<InputDeviceInfo> list;
        for (std::size_t i = 0; i < m_world.devices.size(); ++i)
            list.push_back({QStringLiteral("/dev/input/event%1").arg(i),
                            Evdev::productName(m_world.devices[i].nameFile)});
        return list;
    }
    std::unique_ptr<InputDevice> open(const InputDeviceInfo& info) override {
        const std::size_t index = info.path.mid(16).toULong();
        const FakeDevice& device = m_world.devices.at(index);
        if (!device.opens)
            raiseError(ErrNo::InputFailure, Evdev::openFailureText(info, EACCES));
        std::vector<int> codes = Evdev::firstCodes(device.capabilities, 3);
        FUZZ_CHECK(codes == setBits(device.capabilities, 3));
        if (codes.empty())
            raiseError(ErrNo::InputFailure, QStringLiteral("The foot pedal reports no buttons"));
        return std::make_unique<Pedal>(m_world, index, std::move(codes));
    }

  private:
    World& m_world;
};

// The first device whose name, up to its first line end or NUL, holds "footpedal" in any case.
std::optional<std::size_t> firstPedal(const World& world) {
    for (std::size_t i = 0; i < world.devices.size(); ++i) {
        const QByteArray& text = world.devices[i].nameFile;
        const auto end = [&](char stop) { return text.contains(stop) ? text.indexOf(stop) : text.size(); };
        const QByteArray line = text.left(std::min({end('\n'), end('\0'), qsizetype(1024)}));
        if (QString::fromUtf8(line).toUpper().contains(QLatin1String("FOOTPEDAL")))
            return i;
    }
    return std::nullopt;
}

std::vector<unsigned char> bytes(FuzzedDataProvider& input, std::size_t most) {
    return input.ConsumeBytes<unsigned char>(input.ConsumeIntegralInRange<std::size_t>(0, most));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    World world;
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        FakeDevice device;
        const std::string name = input.ConsumeRandomLengthString(1200);
        device.nameFile = QByteArray(name.data(), qsizetype(name.size()));
        device.capabilities = bytes(input, 96);
        device.opens = input.ConsumeBool();
        world.devices.push_back(std::move(device));
    }
    const std::string nodeName = input.ConsumeRandomLengthString(16);
    const int number = Evdev::eventNumber(QByteArray::fromStdString(nodeName));
    FUZZ_CHECK(number == -1 || QByteArray::fromStdString(nodeName).startsWith("event"));

    FuzzLog log;
    PedalDevices devices(log, [&] { return world.nowMs; });
    devices.createInputRoots([&] { return std::make_shared<System>(world); });
    devices.GetInputDevices();
    const std::optional<std::size_t> expected = firstPedal(world);
    if (devices.diPedal())
        FUZZ_CHECK(expected && static_cast<const Pedal&>(*devices.diPedal()).index == *expected);

    // A few dozen steps meet every state; more only slow each run down.
    for (int step = 0; step < 48 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            world.keyState = bytes(input, 96);
            break;
        case 1:
            world.lost = input.ConsumeBool();
            break;
        case 2:
            world.nowMs += input.ConsumeIntegral<uint16_t>();
            break;
        case 3:
            devices.GetInputDevices();
            break;
        }
        const bool lostBefore = world.lost;
        const QString text = devices.GetInputDeviceData();
        FUZZ_CHECK(text.size() == 3 &&
                       QString(text).remove(QLatin1Char('0')).remove(QLatin1Char('1')).isEmpty(),
                   text);
        if (!devices.diPedal()) {
            FUZZ_CHECK(text == QLatin1String("000"), text);
            continue;
        }
        FUZZ_CHECK(!lostBefore);
        const auto& pedal = static_cast<const Pedal&>(*devices.diPedal());
        FUZZ_CHECK(pedal.index == expected);
        QString pressed = QStringLiteral("000");
        for (std::size_t i = 0; i < pedal.codes.size(); ++i) {
            const auto code = std::size_t(pedal.codes[i]);
            if (code / 8 < world.keyState.size() && ((world.keyState[code / 8] >> (code % 8)) & 1))
                pressed[qsizetype(i)] = QLatin1Char('1');
        }
        FUZZ_CHECK(text == pressed, text, pressed);
    }
    devices.releaseInputObjects();
    return 0;
}
