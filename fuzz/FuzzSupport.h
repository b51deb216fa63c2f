#pragma once

// What every fuzz target shares: the log kept off syslog, and a check whose failure is a finding.
#include "AppLog.h"

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
inline qint64 loggedLines = 0;
inline void quietLog() {
    setLogSink([](const QString&) { ++loggedLines; });
}
