#include "ChildProcess.h"

#include <cstdio>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

bool passesInChildProcess(const std::function<QString()>& prepare, const std::function<QString()>& check) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        QString fault;
        try {
            fault = prepare();
            if (fault.isEmpty())
                fault = check();
        } catch (...) {
            fault = QStringLiteral("the check threw");
        }
        if (!fault.isEmpty())
            std::fprintf(stderr, "in the child process: %s\n", qPrintable(fault));
        std::fflush(nullptr);
        ::_exit(fault.isEmpty() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool passesAsUnprivilegedUser(const std::function<QString()>& check) {
    const bool root = ::geteuid() == 0;
    const passwd* nobody = root ? ::getpwnam("nobody") : nullptr;
    const uid_t uid = nobody ? nobody->pw_uid : ::getuid();
    const gid_t gid = nobody ? nobody->pw_gid : ::getgid();
    std::printf("[ UNPRIVILEGED ] the case runs as uid %u%s\n", unsigned(uid),
                root ? " (nobody: the tests run as root)" : "");
    return passesInChildProcess(
        [=] {
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                return QStringLiteral("cannot become the user nobody");
            return ::geteuid() == 0 ? QStringLiteral("still root") : QString();
        },
        check);
}
