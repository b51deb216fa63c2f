// The application log reaches the real syslog socket as user.err entries tagged "quillon".
#include "AppLog.h"
#include "ErrorHandling.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Stands in for the system logger on a machine that has none, so the entry can be read back.
class LogSocket {
  public:
    LogSocket() {
        m_fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "/dev/log");
        m_bound = m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        timeval timeout{2, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    }
    ~LogSocket() {
        if (m_bound)
            unlink("/dev/log");
        if (m_fd >= 0)
            close(m_fd);
    }
    bool bound() const { return m_bound; }
    std::string receive() {
        char buffer[4096];
        const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }

  private:
    int m_fd = -1;
    bool m_bound = false;
};
} // namespace

TEST(AppLog, ErrorEntryGoesToSyslogAsUserErr) {
    if (access("/dev/log", F_OK) == 0)
        GTEST_SKIP() << "a system logger owns /dev/log here";
    LogSocket socket;
    if (!socket.bound())
        GTEST_SKIP() << "cannot stand in for the system logger (not root?)";
    setLogSink({});
    logAndCarryOn(QStringLiteral("Quillon502.frmMain.tmrFoot_Timer()"), [] {
        raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    });
    const std::string entry = socket.receive();
    EXPECT_EQ(entry.rfind("<11>", 0), 0u) << entry; // facility user (1) * 8 + level err (3)
    EXPECT_NE(entry.find("quillon[" + std::to_string(getpid()) + "]: ERROR: No = 5, Line No = "),
              std::string::npos)
        << entry;
    EXPECT_NE(entry.find("Desc = Quillon502.frmMain.tmrFoot_Timer() at line: "), std::string::npos) << entry;
}
