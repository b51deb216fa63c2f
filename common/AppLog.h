#pragma once

#include <QString>
#include <functional>

// The application log: one syslog entry per line (ident "quillon", facility user, level err).
// Control characters in a line are written escaped ("\n", "\x1b", "\u2028"), so one call is
// always one entry of one line.
using LogSink = std::function<void(const QString&)>;

void writeAppLog(const QString& line);

// Replaces where log lines go (tests); returns the previous sink. An empty sink restores syslog.
LogSink setLogSink(LogSink sink);
