#include "Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

QByteArray programFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) {
        const QByteArray exe(buffer, n);
        const qsizetype slash = exe.lastIndexOf('/');
        if (slash > 0)
            return exe.left(slash);
        if (slash == 0)
            return QByteArray("/");
    }
    return QFile::encodeName(QCoreApplication::applicationDirPath());
}

QString displayFileName(const QByteArray& name) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    return decoder.decode(name);
}

QString fileReadProblem(const QByteArray& path) {
    const auto systemReason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return systemReason(errno);
    struct stat info {};
    const bool directory = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    ::close(fd);
    return directory ? systemReason(EISDIR) : QString();
}

bool pumpEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!done())
            QThread::msleep(5);
    }
    return true;
}

void returnFreedMemoryPromptly() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
#endif
}
