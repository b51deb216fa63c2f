#include "Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>

#include <climits>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

namespace {
QByteArray& testFolder() {
    static QByteArray folder;
    return folder;
}
} // namespace

QByteArray programFolder() {
    if (!testFolder().isEmpty())
        return testFolder();
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

void setProgramFolderForTests(const QByteArray& folder) {
    testFolder() = folder;
}

QString displayFileName(const QByteArray& name) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    return decoder.decode(name);
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
