#include "AppLog.h"

#include <algorithm>
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

// Whatever a text holds, it stays on one line of the log and writes no control code of its own:
// a file name on a disc could otherwise start an entry of its own in the system log.
QString escapeControls(const QString& line) {
    const auto needsEscape = [](char16_t c) {
        return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
    };
    if (std::none_of(line.cbegin(), line.cend(), [&](QChar c) { return needsEscape(c.unicode()); }))
        return line;
    QString out;
    out.reserve(line.size() + 16);
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (!needsEscape(u))
            out += c;
        else if (u == u'\n')
            out += QLatin1String("\\n");
        else if (u == u'\r')
            out += QLatin1String("\\r");
        else if (u == u'\t')
            out += QLatin1String("\\t");
        else if (u <= 0xFF)
            out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

LogSink& currentSink() {
    static LogSink sink;
    return sink;
}
} // namespace

void writeAppLog(const QString& line) {
    try {
        const QString entry = escapeControls(line);
        if (currentSink())
            currentSink()(entry);
        else
            writeSyslog(entry);
    } catch (...) {
        // A failure while writing the log is ignored: the log must never take the program down.
    }
}

LogSink setLogSink(LogSink sink) {
    LogSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}
