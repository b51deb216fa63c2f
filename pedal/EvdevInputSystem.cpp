#include "EvdevInputSystem.h"

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
constexpr std::size_t kButtonCount = 3;

QString systemText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString describeDevice(const InputDeviceInfo& device) {
    return device.name.isEmpty() ? device.path : QStringLiteral("\"%1\" (%2)").arg(device.name, device.path);
}

// Reads a small file without blocking; empty when it cannot be read.
QByteArray readSmallFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray text(kNameLimit, Qt::Uninitialized);
    ssize_t n;
    do {
        n = ::read(fd, text.data(), std::size_t(text.size()));
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0)
        return {};
    text.truncate(qsizetype(n));
    return text;
}

// The name as the device itself reports it, for a node whose sysfs entry says nothing.
QByteArray nameFromDevice(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::array<char, 256> name{};
    const int n = ::ioctl(fd, EVIOCGNAME(name.size() - 1), name.data());
    ::close(fd);
    return n > 0 ? QByteArray(name.data()) : QByteArray();
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
                                                .arg(describeDevice(m_info), systemText(error)));
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
    EvdevInputSystem(QByteArray deviceFolder, QByteArray classFolder)
        : m_deviceFolder(std::move(deviceFolder)), m_classFolder(std::move(classFolder)) {}

    std::vector<InputDeviceInfo> devices() override {
        DIR* folder = ::opendir(m_deviceFolder.constData());
        if (!folder) {
            const int error = errno;
            if (error == ENOENT || error == ENOTDIR)
                return {}; // no input devices at all, e.g. in a container
            raiseError(ErrNo::InputFailure,
                       QStringLiteral("Cannot list the input devices in %1: %2")
                           .arg(QString::fromLocal8Bit(m_deviceFolder), systemText(error)));
        }
        std::vector<std::pair<int, QByteArray>> nodes;
        while (const dirent* entry = ::readdir(folder)) {
            const QByteArray fileName(entry->d_name);
            const int number = Evdev::eventNumber(fileName);
            if (number >= 0)
                nodes.emplace_back(number, fileName);
        }
        ::closedir(folder);
        std::sort(nodes.begin(), nodes.end());

        std::vector<InputDeviceInfo> result;
        result.reserve(nodes.size());
        for (const auto& [number, fileName] : nodes) {
            const QByteArray path = m_deviceFolder + '/' + fileName;
            QByteArray nameText = readSmallFile(m_classFolder + '/' + fileName + "/device/name");
            if (nameText.isEmpty())
                nameText = nameFromDevice(path);
            result.push_back({QString::fromLocal8Bit(path), Evdev::productName(nameText)});
        }
        return result;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) override {
        const QByteArray path = device.path.toLocal8Bit();
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            raiseError(ErrNo::InputFailure, Evdev::openFailureText(device, errno));
        libevdev* evdev = nullptr;
        const int rc = libevdev_new_from_fd(fd, &evdev);
        if (rc < 0) {
            ::close(fd);
            raiseError(ErrNo::InputFailure, QStringLiteral("The foot pedal %1 is not an input device: %2")
                                                .arg(describeDevice(device), systemText(-rc)));
        }
        std::array<unsigned char, kKeyBytes> keys{};
        if (libevdev_has_event_type(evdev, EV_KEY)) {
            for (unsigned int code = 0; code <= KEY_MAX; ++code) {
                if (libevdev_has_event_code(evdev, EV_KEY, code))
                    keys[code / 8] |= static_cast<unsigned char>(1u << (code % 8));
            }
        }
        std::vector<int> codes = Evdev::firstCodes(keys, kButtonCount);
        if (codes.empty()) {
            libevdev_free(evdev);
            ::close(fd);
            raiseError(ErrNo::InputFailure,
                       QStringLiteral("The foot pedal %1 reports no buttons").arg(describeDevice(device)));
        }
        return std::make_unique<EvdevDevice>(fd, evdev, std::move(codes), device);
    }

  private:
    QByteArray m_deviceFolder;
    QByteArray m_classFolder;
};
} // namespace

std::shared_ptr<InputSystem> createEvdevInputSystem() {
    return createEvdevInputSystemAt(QByteArrayLiteral("/dev/input"), QByteArrayLiteral("/sys/class/input"));
}

std::shared_ptr<InputSystem> createEvdevInputSystemAt(const QByteArray& deviceFolder,
                                                      const QByteArray& classFolder) {
    return std::make_shared<EvdevInputSystem>(deviceFolder, classFolder);
}

namespace Evdev {
int eventNumber(const QByteArray& fileName) {
    static const QByteArray prefix = QByteArrayLiteral("event");
    if (!fileName.startsWith(prefix) || fileName.size() == prefix.size() ||
        fileName.size() > prefix.size() + 9)
        return -1;
    int number = 0;
    for (qsizetype i = prefix.size(); i < fileName.size(); ++i) {
        const char c = fileName[i];
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

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

QString openFailureText(const InputDeviceInfo& device, int errorNumber) {
    QString text = QStringLiteral("Cannot open the foot pedal %1: %2")
                       .arg(describeDevice(device), systemText(errorNumber));
    if (errorNumber == EACCES || errorNumber == EPERM)
        text += QStringLiteral(". Install the udev rule 60-quillon-footpedal.rules in /etc/udev/rules.d, "
                               "then plug the pedal in again or log in again.");
    return text;
}
} // namespace Evdev
