// The application log reaches the real syslog socket as user.err entries tagged "quillon".
#include "AppLog.h"
#include "ErrorHandling.h"
#include "TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TEST(AppLog, ErrorEntryGoesToSyslogAsUserErr) {
    if (access("/dev/log", F_OK) == 0)
        GTEST_SKIP() << "a system logger owns /dev/log here";
    // Stand in for the system logger so the entry can be read back.
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "/dev/log");
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        GTEST_SKIP() << "cannot stand in for the system logger (not root?)";
    }
    const timeval timeout{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    SystemLog log;
    logAndCarryOn(log, QStringLiteral("Quillon502.frmMain.tmrFoot_Timer()"), [] {
        raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    });
    char buffer[4096];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    unlink("/dev/log");
    close(fd);
    const std::string entry(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    EXPECT_EQ(entry.rfind("<11>", 0), 0u) << entry; // facility user (1) * 8 + level err (3)
    EXPECT_NE(entry.find("quillon[" + std::to_string(getpid()) + "]: ERROR: No = 5, Line No = "),
              std::string::npos)
        << entry;
    EXPECT_NE(entry.find("Desc = Quillon502.frmMain.tmrFoot_Timer() at line: "), std::string::npos) << entry;
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
    CapturedLog log;
    for (const auto& [text, logged] : cases)
        log.write(text);
    ASSERT_EQ(log.lines.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(log.lines[qsizetype(i)], cases[i].second);
    // Through the error path: the description of an error names the file that caused it.
    log.lines.clear();
    logAndCarryOn(log, QStringLiteral("Quillon502.frmSessions.Rescan()"),
                  [] { raiseError(ErrNo::FileNotFound, QStringLiteral("Cannot read x\ny.wma")); });
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].endsWith(QLatin1String("Cannot read x\\ny.wma, AddlInfo = ")))
        << qPrintable(log.lines[0]);
}
