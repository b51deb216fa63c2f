#include "ProgramEnd.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    remove(path);
    return 0; // on with the rest, whatever one entry does
}

// The writing end of the signal pipe: a signal handler can reach nothing but a global.
int signalWriter = -1;

extern "C" void onEndingSignal(int) {
    const int saved = errno;
    const char byte = 0;
    if (write(signalWriter, &byte, 1) < 0) {
        // the pipe is full: an end is already pending
    }
    errno = saved;
}

} // namespace

void removeWhenProgramEnds(const QByteArray& folder) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return;
    const pid_t watcher = fork();
    if (watcher != 0) {
        // The program holds the writing end until it ends; programs it starts do not inherit it.
        close(ends[0]);
        if (watcher < 0)
            close(ends[1]);
        return;
    }
    // Its own session, so that a Ctrl-C or a signal to the program's process group leaves it to
    // finish; it holds nothing of the program's but the reading end.
    setsid();
    dup2(ends[0], 0);
    close_range(1, ~0U, 0);
    char byte;
    ssize_t got;
    do
        got = read(0, &byte, 1);
    while (got < 0 && errno == EINTR);
    nftw(folder.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    _exit(0);
}

void endOnSignals(QObject* context, std::function<void()> end) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    signalWriter = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [reader = ends[0], end = std::move(end)] {
                         char bytes[16];
                         while (read(reader, bytes, sizeof bytes) > 0) {
                         }
                         end();
                     });
    struct sigaction action = {};
    action.sa_handler = onEndingSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
