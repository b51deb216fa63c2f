#include "ChildProcess.h"

#include <cerrno>
#include <cstdio>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

QString inChildProcess(const std::function<QString()>& prepare, const std::function<QString()>& check) {
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("no pipe to a child");
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        QString fault;
        try {
            fault = prepare();
            if (fault.isEmpty())
                fault = check();
        } catch (...) {
            fault = QStringLiteral("the check threw");
        }
        const QByteArray answer = "answer:" + fault.toUtf8();
        const bool sent = ::write(channel[1], answer.constData(), size_t(answer.size())) == answer.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[4096];
    while (child > 0) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n > 0)
            answer.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return QStringLiteral("no child process");
    if (!answer.startsWith("answer:"))
        return QStringLiteral("the child ended without an answer (wait status %1)").arg(status);
    return QString::fromUtf8(answer.mid(7));
}

QString asUnprivilegedUser(const std::function<QString()>& check) {
    const bool root = ::geteuid() == 0;
    const passwd* nobody = root ? ::getpwnam("nobody") : nullptr;
    if (root && !nobody)
        return QStringLiteral("no user nobody to run as");
    const uid_t uid = nobody ? nobody->pw_uid : ::getuid();
    const gid_t gid = nobody ? nobody->pw_gid : ::getgid();
    const auto dropPrivileges = [=] {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            return QStringLiteral("cannot become the user nobody");
        return ::geteuid() == 0 ? QStringLiteral("still root") : QString();
    };
    const QString fault = inChildProcess(dropPrivileges, check);
    std::printf("[ UNPRIVILEGED ] the case ran as uid %u%s\n", unsigned(uid),
                root ? " (nobody; the tests run as root)" : "");
    return fault;
}
