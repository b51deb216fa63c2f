// The pedal from what devices report: their names (the text of a sysfs name file), USB ids and input
// path, the key codes an input device has and which are down, or a raw HID device's report
// descriptor and its newest input report; through the makes table, discovery, reads, losses and
// searches again. The text is always three "0"/"1", read from the first device of a pedal make, as
// that make places its buttons. Also: uevent texts, and report descriptors read for report numbers.
#include "EvdevInputSystem.h"
#include "FuzzSupport.h"
#include "HidrawInputSystem.h"
#include "PedalDevices.h"
#include "QuillonError.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {
struct FakeDevice {
    QByteArray nameFile;
    InputDeviceInfo info;
    std::vector<unsigned char> capabilities; // input device: its key codes
    std::vector<unsigned char> descriptor;   // raw HID
    bool opens = true;
};

struct World {
    std::vector<FakeDevice> devices;
    std::vector<unsigned char> keyState;
    std::vector<unsigned char> report;
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

bool bitAt(const std::vector<unsigned char>& bytes, std::size_t byte, int bit) {
    return byte < bytes.size() && bit >= 0 && bit < 8 && ((bytes[byte] >> bit) & 1);
}

class Pedal : public InputDevice {
  public:
    Pedal(World& in, std::size_t at, std::vector<int> keys, bool reportNumbers)
        : world(in), index(at), codes(std::move(keys)), numbered(reportNumbers) {}
    std::vector<bool> buttons() override {
        if (world.lost)
            raiseError(ErrNo::InputFailure, QStringLiteral("Cannot read the foot pedal: No such device"));
        const InputDeviceInfo& info = world.devices[index].info;
        if (info.kind == InputPath::Evdev)
            return Evdev::pressedCodes(world.keyState, codes);
        return Hidraw::pressedButtons(world.report, numbered, info.layout);
    }
    World& world;
    std::size_t index;
    std::vector<int> codes;
    bool numbered;
};

class System : public InputSystem {
  public:
    explicit System(World& world) : m_world(world) {}
    std::vector<InputDeviceInfo> devices() override {
        std::vector<InputDeviceInfo> list;
        for (std::size_t i = 0; i < m_world.devices.size(); ++i) {
            InputDeviceInfo info = m_world.devices[i].info;
            info.path = QString::number(i);
            info.name = Evdev::productName(m_world.devices[i].nameFile);
            list.push_back(info);
        }
        return list;
    }
    std::unique_ptr<InputDevice> open(const InputDeviceInfo& info) override {
        const std::size_t index = info.path.toULong();
        FakeDevice& device = m_world.devices.at(index);
        device.info.layout = info.layout;
        if (!device.opens)
            raiseError(ErrNo::InputFailure, InputNodes::openFailureText(info, EACCES, "/disc"));
        if (info.kind == InputPath::Hidraw)
            return std::make_unique<Pedal>(m_world, index, std::vector<int>{},
                                           Hidraw::numbersReports(device.descriptor));
        std::vector<int> codes = Evdev::layoutCodes(device.capabilities, info.layout);
        const std::vector<int> all = setBits(device.capabilities, 8);
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t at = info.layout.buttons[i];
            FUZZ_CHECK(codes[i] == (at < all.size() ? all[at] : -1));
        }
        if (all.empty())
            raiseError(ErrNo::InputFailure, QStringLiteral("The foot pedal reports no buttons"));
        return std::make_unique<Pedal>(m_world, index, std::move(codes), false);
    }

  private:
    World& m_world;
};

// The first device of a make: on that make's path, with its USB ids or, for the name rule, a name
// that up to its first line end or NUL holds "footpedal" in any case.
std::optional<std::pair<std::size_t, ButtonLayout>> firstPedal(const World& world) {
    for (std::size_t i = 0; i < world.devices.size(); ++i) {
        const QByteArray& text = world.devices[i].nameFile;
        const auto end = [&](char stop) { return text.contains(stop) ? text.indexOf(stop) : text.size(); };
        const QByteArray line = text.left(std::min({end('\n'), end('\0'), qsizetype(1024)}));
        const bool named = QString::fromUtf8(line).toUpper().contains(QLatin1String("FOOTPEDAL"));
        const InputDeviceInfo& info = world.devices[i].info;
        for (const PedalMake& make : pedalMakes()) {
            const bool ids = info.bus == 3 && info.vendor == make.vendor && info.product == make.product;
            if (make.path == info.kind && (make.vendor == 0 && make.product == 0 ? named : ids))
                return std::pair{i, make.layout};
        }
    }
    return std::nullopt;
}

std::vector<unsigned char> bytes(FuzzedDataProvider& input, std::size_t most) {
    return input.ConsumeBytes<unsigned char>(input.ConsumeIntegralInRange<std::size_t>(0, most));
}

// A uevent text is read whatever it holds, and one the kernel writes gives back its ids and name.
void fuzzUevent(FuzzedDataProvider& input) {
    InputDeviceInfo any;
    Hidraw::readUevent(QByteArray::fromStdString(input.ConsumeRandomLengthString(256)), any);
    const auto bus = input.ConsumeIntegral<quint16>(), vendor = input.ConsumeIntegral<quint16>(),
               product = input.ConsumeIntegral<quint16>();
    QByteArray name = QByteArray::fromStdString(input.ConsumeRandomLengthString(64));
    name.replace('\n', ' ');
    InputDeviceInfo read;
    Hidraw::readUevent(QByteArray("DRIVER=hid-generic\nHID_ID=") +
                           QByteArray::number(bus, 16).rightJustified(4, '0') + ':' +
                           QByteArray::number(vendor, 16).rightJustified(8, '0') + ':' +
                           QByteArray::number(product, 16).toUpper().rightJustified(8, '0') +
                           "\nHID_NAME=" + name + "\nHID_PHYS=usb-0000:00:14.0-2/input0\n",
                       read);
    FUZZ_CHECK(read.bus == bus && read.vendor == vendor && read.product == product);
    FUZZ_CHECK(read.name == QString::fromUtf8(name), read.name);
}

// Report numbers: a Report ID item ahead of any descriptor is seen; a long item ahead changes nothing.
void fuzzDescriptor(const std::vector<unsigned char>& descriptor) {
    const bool numbered = Hidraw::numbersReports(descriptor);
    std::vector<unsigned char> withId{0x85, 0x02};
    withId.insert(withId.end(), descriptor.begin(), descriptor.end());
    FUZZ_CHECK(Hidraw::numbersReports(withId));
    std::vector<unsigned char> withLong{0xfe, 2, 0xf0, 0x85, 0x85};
    withLong.insert(withLong.end(), descriptor.begin(), descriptor.end());
    FUZZ_CHECK(Hidraw::numbersReports(withLong) == numbered);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    World world;
    const int count = input.ConsumeIntegralInRange(0, 4);
    const auto makes = pedalMakes();
    for (int i = 0; i < count; ++i) {
        FakeDevice device;
        const std::string name = input.ConsumeRandomLengthString(1200);
        device.nameFile = QByteArray(name.data(), qsizetype(name.size()));
        device.info.kind = input.ConsumeBool() ? InputPath::Hidraw : InputPath::Evdev;
        device.info.bus = input.ConsumeBool() ? 3 : input.ConsumeIntegral<quint16>();
        if (input.ConsumeBool()) { // the ids of a make, or any
            const PedalMake& make = makes[input.ConsumeIntegralInRange<std::size_t>(0, makes.size() - 1)];
            device.info.vendor = make.vendor;
            device.info.product = make.product;
        } else {
            device.info.vendor = input.ConsumeIntegral<quint16>();
            device.info.product = input.ConsumeIntegral<quint16>();
        }
        device.capabilities = bytes(input, 96);
        device.descriptor = bytes(input, 64);
        device.opens = input.ConsumeBool();
        fuzzDescriptor(device.descriptor);
        world.devices.push_back(std::move(device));
    }
    const std::string nodeName = input.ConsumeRandomLengthString(16);
    const int number = InputNodes::nodeNumber(QByteArray::fromStdString(nodeName), "hidraw");
    FUZZ_CHECK(number == -1 || QByteArray::fromStdString(nodeName).startsWith("hidraw"));
    fuzzUevent(input);

    FuzzLog log;
    PedalDevices devices(log, [&] { return world.nowMs; });
    devices.createInputRoots([&] { return std::make_shared<System>(world); });
    devices.GetInputDevices();
    const auto expected = firstPedal(world);
    if (devices.diPedal())
        FUZZ_CHECK(expected && static_cast<const Pedal&>(*devices.diPedal()).index == expected->first);

    // A few dozen steps meet every state; more only slow each run down.
    for (int step = 0; step < 48 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 4)) {
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
        case 4:
            world.report = bytes(input, 8);
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
        FUZZ_CHECK(expected && pedal.index == expected->first);
        const FakeDevice& device = world.devices[pedal.index];
        const ButtonLayout& layout = expected->second;
        FUZZ_CHECK(device.info.kind == InputPath::Evdev ||
                   Hidraw::numbersReports(device.descriptor) == pedal.numbered);
        const std::size_t at = layout.reportByte + (pedal.numbered ? 1 : 0);
        QString pressed = QStringLiteral("000");
        for (std::size_t i = 0; i < 3; ++i) {
            const bool down =
                device.info.kind == InputPath::Evdev
                    ? pedal.codes[i] >= 0 &&
                          bitAt(world.keyState, std::size_t(pedal.codes[i]) / 8, pedal.codes[i] % 8)
                    : bitAt(world.report, at, layout.buttons[i]);
            if (down)
                pressed[qsizetype(i)] = QLatin1Char('1');
        }
        FUZZ_CHECK(text == pressed, text, pressed);
    }
    devices.releaseInputObjects();
    return 0;
}
