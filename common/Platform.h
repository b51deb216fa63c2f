#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The directory that holds the executable, as exact bytes (a disc may carry names that are not UTF-8).
QByteArray programFolder();

// A file name for display: its bytes as UTF-8, invalid sequences shown as replacement characters.
QString displayFileName(const QByteArray& name);

// Why a file cannot be read, in the system's words ("Permission denied", "No such file or
// directory", "Is a directory"); empty when it can be. Never blocks, also on a FIFO.
QString fileReadProblem(const QByteArray& path);

// Lets pending events run until done() says so or timeoutMs have passed on a monotonic clock.
// Returns true when done() ended the wait.
bool pumpEventsUntil(const std::function<bool()>& done, int timeoutMs);

// glibc raises its trim threshold each time a large block is freed, so every arena of the media
// engine's threads kept 10 MB or more after its session closed, session after session; a fixed
// threshold hands freed memory back. Call once, first thing in main.
void returnFreedMemoryPromptly();
