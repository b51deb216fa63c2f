#include "InputDevices.h"

#include "Platform.h"

#include "QuillonError.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QByteArray kRuleFile = QByteArrayLiteral("60-quillon-footpedal.rules");

// Single quotes keep blanks and any other character as they are; a quote inside ends, escapes, reopens.
QString shellQuoted(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}
} // namespace

namespace InputNodes {
int nodeNumber(const QByteArray& fileName, const QByteArray& prefix) {
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

QString describe(const InputDeviceInfo& device) {
    return device.name.isEmpty() ? device.path : QStringLiteral("\"%1\" (%2)").arg(device.name, device.path);
}

QString udevRuleCommand(const QByteArray& folder) {
    const QString rule = shellQuoted(displayFileName(folder + '/' + kRuleFile));
    return QStringLiteral("sudo install -m 0644 %1 /etc/udev/rules.d/ && sudo udevadm control --reload && "
                          "sudo udevadm trigger --subsystem-match=input --subsystem-match=hidraw")
        .arg(rule);
}

QString openFailureText(const InputDeviceInfo& device, int errorNumber, const QByteArray& folder) {
    QString text = QStringLiteral("Cannot open the foot pedal %1: %2")
                       .arg(describe(device), QString::fromLocal8Bit(std::strerror(errorNumber)));
    if (errorNumber != EACCES && errorNumber != EPERM)
        return text;
    if (QFile::exists(QFile::decodeName(folder + '/' + kRuleFile)))
        return text +
               QStringLiteral(". To let the user at the seat read it, run this once, then start "
                              "the player again: ") +
               udevRuleCommand(folder);
    return text + QStringLiteral(". Install the udev rule 60-quillon-footpedal.rules in /etc/udev/rules.d, "
                                 "then plug the pedal in again or log in again.");
}

QByteArray readSmallFile(const QByteArray& path, qsizetype limit) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray text(limit, Qt::Uninitialized);
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
std::optional<std::vector<QByteArray>> numberedNodes(const QByteArray& folder, const QByteArray& prefix) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return std::nullopt;
    std::vector<std::pair<int, QByteArray>> nodes;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray fileName(entry->d_name);
        if (const int number = nodeNumber(fileName, prefix); number >= 0)
            nodes.emplace_back(number, fileName);
    }
    ::closedir(dir);
    std::sort(nodes.begin(), nodes.end());
    std::vector<QByteArray> names;
    names.reserve(nodes.size());
    for (auto& node : nodes)
        names.push_back(std::move(node.second));
    return names;
}

int openNode(const InputDeviceInfo& device) {
    const int fd = ::open(device.path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        raiseError(ErrNo::InputFailure, openFailureText(device, errno, programFolder()));
    return fd;
}
} // namespace InputNodes
