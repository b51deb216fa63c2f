#include "AppLog.h"

#include <syslog.h>

namespace {
void writeSyslog(const QString& line) {
    static const bool opened = [] {
        openlog("quillon", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    syslog(LOG_ERR, "%s", line.toUtf8().constData());
}

LogSink& currentSink() {
    static LogSink sink;
    return sink;
}
} // namespace

void writeAppLog(const QString& line) {
    try {
        if (currentSink())
            currentSink()(line);
        else
            writeSyslog(line);
    } catch (...) {
        // A failure while writing the log is ignored: the log must never take the program down.
    }
}

LogSink setLogSink(LogSink sink) {
    LogSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}
