// The application log reaches the system logger through syslog(3) as user.err entries tagged
// "quillon". The logger here is the test's own socket at /dev/log, in a child process with a private
// mount namespace (a user namespace too where the tests do not run as root), so a system logger
// neither hides the entry nor sees it.
#include "AppLog.h"
#include "ChildProcess.h"
#include "ErrorHandling.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString systemFault(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

// An empty /dev of this process's own.
QString privateDevFolder() {
    const uint uid = ::getuid(), gid = ::getgid();
    if (uid != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return systemFault("unshare(CLONE_NEWUSER | CLONE_NEWNS)");
        const std::pair<const char*, QByteArray> maps[] = {
            {"/proc/self/setgroups", "deny"},
            {"/proc/self/uid_map", QByteArray::number(uid) + ' ' + QByteArray::number(uid) + " 1"},
            {"/proc/self/gid_map", QByteArray::number(gid) + ' ' + QByteArray::number(gid) + " 1"}};
        for (const auto& [file, line] : maps) {
            const int map = ::open(file, O_WRONLY | O_CLOEXEC); // the child ends soon: left open
            if (map < 0 || ::write(map, line.constData(), size_t(line.size())) != line.size())
                return systemFault(file);
        }
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return systemFault("unshare(CLONE_NEWNS)");
    }
    // The new /dev must not reach the system's mounts: the mount it stacks on is made private (/dev
    // where it is a mount of its own, else the root, which in a chroot is no mount at all).
    if (::mount(nullptr, "/dev", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return systemFault("mount --make-rprivate /dev or /");
    if (::mount("tmpfs", "/dev", "tmpfs", 0, "mode=0755") != 0)
        return systemFault("mount tmpfs /dev");
    return {};
}

// Stands in for the system logger, logs one error through the system log and reads the entry back.
QString errorEntryAsTheLoggerReadsIt() {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "/dev/log");
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return systemFault("bind /dev/log");
    const timeval timeout{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    SystemLog log;
    logAndCarryOn(log, QStringLiteral("Quillon502.frmMain.tmrFoot_Timer()"), [] {
        raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    });
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0)
        return systemFault("nothing reached /dev/log");
    // <11>: facility user (1) * 8 + level err (3)
    const QString entry = QString::fromUtf8(buffer, n);
    const QString expected = QStringLiteral("^<11>.*quillon\\[%1\\]: ERROR: No = 5, Line No = .*"
                                            "Desc = Quillon502\\.frmMain\\.tmrFoot_Timer\\(\\) at line: ")
                                 .arg(::getpid());
    return QRegularExpression(expected).match(entry).hasMatch() ? QString() : "the logger read: " + entry;
}
} // namespace

TEST(AppLog, ErrorEntryGoesToSyslogAsUserErr) {
    EXPECT_TRUE(passesInChildProcess(privateDevFolder, errorEntryAsTheLoggerReadsIt));
}

// A text with control characters, such as a file name off a disc, stays inside its one entry.
TEST(AppLog, ControlCharactersAreEscaped) {
    // clang-format off
    const std::pair<QString, QString> cases[] = {
        {"plain Salé_1.wma", "plain Salé_1.wma"},
        {"a\nERROR: forged", "a\\nERROR: forged"},
        {"cr\r tab\t esc\x1b[31m", "cr\\r tab\\t esc\\x1b[31m"},
        {QString("nul") + QChar(0) + "del\x7f", "nul\\x00del\\x7f"},
        {QString("c1") + QChar(0x85) + "ls" + QChar(0x2028) + "ps" + QChar(0x2029), "c1\\x85ls\\u2028ps\\u2029"},
        {"back\\slash", "back\\slash"},
    };
    // clang-format on
    for (const auto& [text, logged] : cases) {
        CapturedLog log;
        log.write(text);
        EXPECT_EQ(log.lines, QStringList{logged});
    }
}
