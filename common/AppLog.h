#pragma once

#include <QString>
#include <functional>

// The application log: one syslog entry per line (ident "quillon", facility user, level err).
using LogSink = std::function<void(const QString&)>;

void writeAppLog(const QString& line);

// Replaces where log lines go (tests); returns the previous sink. An empty sink restores syslog.
LogSink setLogSink(LogSink sink);
