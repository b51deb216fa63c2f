#include "EvdevInputSystem.h"

#include "Platform.h"
#include "QuillonError.h"

#include <libevdev/libevdev.h>
#include <linux/input.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr std::size_t kKeyBytes = KEY_MAX / 8 + 1;
constexpr qsizetype kNameLimit = 1024; // far beyond any real product name

QString systemText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

quint16 hexNumber(const QByteArray& text) {
    return text.trimmed().toUShort(nullptr, 16);
}

// Name and ids as the device itself reports them, for a node whose sysfs entry says nothing: the
// node is opened to ask, never read.
void askDevice(const QByteArray& path, InputDeviceInfo& device, QByteArray& nameText) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    std::array<char, 256> name{};
    if (::ioctl(fd, EVIOCGNAME(name.size() - 1), name.data()) > 0)
        nameText = QByteArray(name.data());
    input_id id{};
    if (::ioctl(fd, EVIOCGID, &id) == 0) {
        device.bus = id.bustype;
        device.vendor = id.vendor;
        device.product = id.product;
    }
    ::close(fd);
}

class EvdevDevice : public InputDevice {
  public:
    EvdevDevice(int fd, libevdev* device, std::vector<int> codes, InputDeviceInfo info)
        : m_fd(fd), m_device(device), m_codes(std::move(codes)), m_info(std::move(info)) {}
    ~EvdevDevice() override {
        libevdev_free(m_device);
        ::close(m_fd);
    }
    EvdevDevice(const EvdevDevice&) = delete;
    EvdevDevice& operator=(const EvdevDevice&) = delete;

    std::vector<bool> buttons() override {
        std::array<unsigned char, kKeyBytes> state{};
        if (::ioctl(m_fd, EVIOCGKEY(state.size()), state.data()) < 0) {
            const int error = errno;
            raiseError(ErrNo::InputFailure, QStringLiteral("Cannot read the foot pedal %1: %2")
                                                .arg(InputNodes::describe(m_info), systemText(error)));
        }
        return Evdev::pressedCodes(state, m_codes);
    }

  private:
    int m_fd;
    libevdev* m_device;
    std::vector<int> m_codes;
    InputDeviceInfo m_info;
};

class EvdevInputSystem : public InputSystem {
  public:
    explicit EvdevInputSystem(NodeFolders folders) : m_folders(std::move(folders)) {}

    std::vector<InputDeviceInfo> devices() override {
        const std::optional<std::vector<QByteArray>> nodes =
            InputNodes::numberedNodes(m_folders.devices, "event");
        if (!nodes) {
            const int error = errno;
            if (error == ENOENT || error == ENOTDIR)
                return {}; // no input devices at all, e.g. in a container
            raiseError(ErrNo::InputFailure,
                       QStringLiteral("Cannot list the input devices in %1: %2")
                           .arg(QString::fromLocal8Bit(m_folders.devices), systemText(error)));
        }
        std::vector<InputDeviceInfo> result;
        result.reserve(nodes->size());
        for (const QByteArray& fileName : *nodes) {
            const QByteArray path = m_folders.devices + '/' + fileName;
            const QByteArray sysfs = m_folders.sysClass + '/' + fileName + "/device/";
            InputDeviceInfo device;
            device.path = QString::fromLocal8Bit(path);
            QByteArray nameText = InputNodes::readSmallFile(sysfs + "name", kNameLimit);
            device.bus = hexNumber(InputNodes::readSmallFile(sysfs + "id/bustype"));
            device.vendor = hexNumber(InputNodes::readSmallFile(sysfs + "id/vendor"));
            device.product = hexNumber(InputNodes::readSmallFile(sysfs + "id/product"));
            if (nameText.isEmpty())
                askDevice(path, device, nameText);
            device.name = Evdev::productName(nameText);
            result.push_back(device);
        }
        return result;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) override {
        const int fd = InputNodes::openNode(device);
        libevdev* evdev = nullptr;
        const int rc = libevdev_new_from_fd(fd, &evdev);
        if (rc < 0) {
            ::close(fd);
            raiseError(ErrNo::InputFailure, QStringLiteral("The foot pedal %1 is not an input device: %2")
                                                .arg(InputNodes::describe(device), systemText(-rc)));
        }
        std::array<unsigned char, kKeyBytes> keys{};
        if (libevdev_has_event_type(evdev, EV_KEY)) {
            for (unsigned int code = 0; code <= KEY_MAX; ++code) {
                if (libevdev_has_event_code(evdev, EV_KEY, code))
                    keys[code / 8] |= static_cast<unsigned char>(1u << (code % 8));
            }
        }
        if (Evdev::firstCodes(keys, 1).empty()) {
            libevdev_free(evdev);
            ::close(fd);
            raiseError(
                ErrNo::InputFailure,
                QStringLiteral("The foot pedal %1 reports no buttons").arg(InputNodes::describe(device)));
        }
        return std::make_unique<EvdevDevice>(fd, evdev, Evdev::layoutCodes(keys, device.layout), device);
    }

  private:
    const NodeFolders m_folders;
};
} // namespace

std::shared_ptr<InputSystem> createEvdevInputSystem(const NodeFolders& folders) {
    return std::make_shared<EvdevInputSystem>(folders);
}

namespace Evdev {
std::vector<int> firstCodes(std::span<const unsigned char> bits, std::size_t count) {
    std::vector<int> codes;
    for (std::size_t byte = 0; byte < bits.size() && codes.size() < count; ++byte) {
        for (int bit = 0; bit < 8 && codes.size() < count; ++bit) {
            if (bits[byte] & (1u << bit))
                codes.push_back(int(byte * 8) + bit);
        }
    }
    return codes;
}

std::vector<int> layoutCodes(std::span<const unsigned char> bits, const ButtonLayout& layout) {
    const quint8 last = *std::max_element(layout.buttons.begin(), layout.buttons.end());
    const std::vector<int> codes = firstCodes(bits, std::size_t(last) + 1);
    std::vector<int> result;
    for (const quint8 index : layout.buttons)
        result.push_back(index < codes.size() ? codes[index] : -1);
    return result;
}

std::vector<bool> pressedCodes(std::span<const unsigned char> keyState, const std::vector<int>& codes) {
    std::vector<bool> pressed;
    pressed.reserve(codes.size());
    for (const int code : codes) {
        const auto byte = std::size_t(code / 8);
        pressed.push_back(code >= 0 && byte < keyState.size() && (keyState[byte] & (1u << (code % 8))));
    }
    return pressed;
}

QString productName(const QByteArray& nameFileText) {
    qsizetype end = nameFileText.size();
    for (const char stop : {'\n', '\0'}) {
        const qsizetype at = nameFileText.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return QString::fromUtf8(nameFileText.left(std::min(end, kNameLimit)));
}

} // namespace Evdev
