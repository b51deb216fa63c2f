#pragma once

// What every fuzz target shares: the log kept off syslog, and a check whose failure is a finding.
#include "AppLog.h"
#include "TimeText.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A broken property stops the run with the input saved, as a crash would.
#define FUZZ_CHECK(condition, ...)                                                                           \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "fuzz check failed: %s\n", #condition);                                     \
            fuzzReport(__VA_ARGS__);                                                                         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

inline void fuzzReport() {}
template <typename... Texts> void fuzzReport(const QString& first, const Texts&... rest) {
    std::fprintf(stderr, "  %s\n", first.toUtf8().constData());
    fuzzReport(rest...);
}

// Log lines are counted, not written: a fuzzer writes millions, and the system log is not ours to fill.
// Each stays one line with no control code of its own, whatever text from outside it carries.
class FuzzLog : public AppLog {
  public:
    qint64 lines = 0;

  protected:
    void writeEntry(const QString& line) override {
        ++lines;
        for (const QChar c : line)
            FUZZ_CHECK(c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() > 0x9F) &&
                           c != QChar::LineSeparator && c != QChar::ParagraphSeparator,
                       line);
    }
};

// A note's time as the list shows it: a time of day comes out as "hh:mm:ss AM" and reads back as the
// same time; any other text comes out exactly as read.
inline void checkNoteTimeText(const QString& text) {
    const std::optional<QTime> time = parseTimeOfDay(text);
    const QString shown = formatTimeAmPm(text);
    if (!time) {
        FUZZ_CHECK(shown == text, text, shown);
        return;
    }
    FUZZ_CHECK(time->isValid() && shown.size() == 11 && parseTimeOfDay(shown) == time, text, shown);
}
