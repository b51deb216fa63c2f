#include "HidrawInputSystem.h"

#include "Platform.h"
#include "QuillonError.h"

#include <QList>
#include <linux/hidraw.h>

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
constexpr qsizetype kDescriptorLimit = HID_MAX_DESCRIPTOR_SIZE;
// More reports than a pedal sends in a second; a device that floods cannot hold the poll up.
constexpr int kReadsPerPoll = 256;

QString systemText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// Bus, ids and name as the node itself reports them, for a node whose sysfs entry says nothing: the
// node is opened to ask, never read.
void askDevice(const QByteArray& path, InputDeviceInfo& device) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    hidraw_devinfo info{};
    if (::ioctl(fd, HIDIOCGRAWINFO, &info) == 0) {
        device.bus = quint16(info.bustype);
        device.vendor = quint16(info.vendor);
        device.product = quint16(info.product);
    }
    std::array<char, 256> name{};
    if (::ioctl(fd, HIDIOCGRAWNAME(name.size() - 1), name.data()) > 0)
        device.name = QString::fromUtf8(name.data());
    ::close(fd);
}

// The report descriptor from sysfs, or from the open node.
QByteArray reportDescriptor(int fd, const QByteArray& sysfsFile) {
    QByteArray descriptor = InputNodes::readSmallFile(sysfsFile, kDescriptorLimit);
    if (!descriptor.isEmpty())
        return descriptor;
    int size = 0;
    hidraw_report_descriptor raw{};
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE)
        return {};
    raw.size = quint32(size);
    if (::ioctl(fd, HIDIOCGRDESC, &raw) < 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(raw.value), size);
}

class HidrawDevice : public InputDevice {
  public:
    HidrawDevice(int fd, bool numbered, InputDeviceInfo info)
        : m_fd(fd), m_numbered(numbered), m_info(std::move(info)) {}
    ~HidrawDevice() override { ::close(m_fd); }
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    std::vector<bool> buttons() override {
        std::array<unsigned char, 256> report{};
        for (int i = 0; i < kReadsPerPoll; ++i) {
            const ssize_t n = ::read(m_fd, report.data(), report.size());
            if (n > 0) {
                m_last.assign(report.begin(), report.begin() + n);
                continue;
            }
            const int error = n == 0 ? ENODEV : errno; // a hidraw node reads nothing only once it is gone
            if (error == EINTR)
                continue;
            if (error == EAGAIN)
                break;
            raiseError(ErrNo::InputFailure, QStringLiteral("Cannot read the foot pedal %1: %2")
                                                .arg(InputNodes::describe(m_info), systemText(error)));
        }
        return Hidraw::pressedButtons(m_last, m_numbered, m_info.layout);
    }

  private:
    int m_fd;
    bool m_numbered;
    InputDeviceInfo m_info;
    std::vector<unsigned char> m_last; // the newest report; none yet reads as all released
};

class HidrawInputSystem : public InputSystem {
  public:
    explicit HidrawInputSystem(NodeFolders folders) : m_folders(std::move(folders)) {}

    std::vector<InputDeviceInfo> devices() override {
        // /dev always exists where there is hardware; a test folder may not
        const std::vector<QByteArray> nodes =
            InputNodes::numberedNodes(m_folders.devices, "hidraw").value_or(std::vector<QByteArray>{});
        std::vector<InputDeviceInfo> result;
        for (const QByteArray& fileName : nodes) {
            InputDeviceInfo device;
            device.kind = InputPath::Hidraw;
            const QByteArray path = m_folders.devices + '/' + fileName;
            device.path = QString::fromLocal8Bit(path);
            const QByteArray uevent = InputNodes::readSmallFile(sysfsFolder(device) + "uevent");
            if (uevent.isEmpty())
                askDevice(path, device);
            else
                Hidraw::readUevent(uevent, device);
            result.push_back(device);
        }
        return result;
    }

    std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) override {
        const int fd = InputNodes::openNode(device);
        const QByteArray descriptor = reportDescriptor(fd, sysfsFolder(device) + "report_descriptor");
        if (descriptor.isEmpty()) {
            ::close(fd);
            raiseError(ErrNo::InputFailure,
                       QStringLiteral("Cannot read the report layout of the foot pedal %1")
                           .arg(InputNodes::describe(device)));
        }
        const auto bytes = std::span(reinterpret_cast<const unsigned char*>(descriptor.constData()),
                                     std::size_t(descriptor.size()));
        return std::make_unique<HidrawDevice>(fd, Hidraw::numbersReports(bytes), device);
    }

  private:
    QByteArray sysfsFolder(const InputDeviceInfo& device) const {
        const QByteArray path = device.path.toLocal8Bit();
        return m_folders.sysClass + '/' + path.mid(path.lastIndexOf('/') + 1) + "/device/";
    }

    const NodeFolders m_folders;
};
} // namespace

std::shared_ptr<InputSystem> createHidrawInputSystem(const NodeFolders& folders) {
    return std::make_shared<HidrawInputSystem>(folders);
}

namespace Hidraw {
void readUevent(const QByteArray& text, InputDeviceInfo& device) {
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith("HID_NAME=")) {
            device.name = QString::fromUtf8(line.mid(9));
        } else if (line.startsWith("HID_ID=")) {
            const QList<QByteArray> ids = line.mid(7).split(':');
            if (ids.size() != 3)
                continue;
            // Each field is at most 32 bits; the kernel's ids are 16.
            bool ok[3] = {};
            const uint values[3] = {ids[0].toUInt(&ok[0], 16), ids[1].toUInt(&ok[1], 16),
                                    ids[2].toUInt(&ok[2], 16)};
            if (ok[0] && ok[1] && ok[2] && values[0] <= 0xffff && values[1] <= 0xffff &&
                values[2] <= 0xffff) {
                device.bus = quint16(values[0]);
                device.vendor = quint16(values[1]);
                device.product = quint16(values[2]);
            }
        }
    }
}

bool numbersReports(std::span<const unsigned char> descriptor) {
    std::size_t i = 0;
    while (i < descriptor.size()) {
        const unsigned char prefix = descriptor[i];
        if (prefix == 0xfe) { // a long item: its data size follows, then its tag
            if (i + 1 >= descriptor.size())
                return false;
            i += 3 + descriptor[i + 1];
            continue;
        }
        if ((prefix & 0xfc) == 0x84) // global item, tag Report ID
            return true;
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        i += 1 + size;
    }
    return false;
}

std::vector<bool> pressedButtons(std::span<const unsigned char> report, bool numbered,
                                 const ButtonLayout& layout) {
    const std::size_t at = std::size_t(layout.reportByte) + (numbered ? 1 : 0);
    std::vector<bool> pressed;
    for (const quint8 bit : layout.buttons)
        pressed.push_back(at < report.size() && bit < 8 && (report[at] >> bit) & 1);
    return pressed;
}
} // namespace Hidraw
