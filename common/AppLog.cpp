#include "AppLog.h"

#include <algorithm>
#include <syslog.h>

namespace {
// A file name on a disc could otherwise start an entry of its own in the system log.
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
} // namespace

void AppLog::write(const QString& line) noexcept {
    try {
        writeEntry(escapeControls(line));
    } catch (...) {
    }
}

void SystemLog::writeEntry(const QString& entry) {
    static const bool opened = [] {
        openlog("quillon", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    syslog(LOG_ERR, "%s", entry.toUtf8().constData());
}
