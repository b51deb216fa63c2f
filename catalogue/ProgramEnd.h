#pragma once

#include <QByteArray>
#include <functional>

class QObject;

// Removes `folder` when this process ends, however it ends (exit(), an abort, a crash, SIGKILL): a
// small watcher process, started here, waits for the program's end and then removes it. Call
// before the application object exists, while the program has only its first thread.
void removeWhenProgramEnds(const QByteArray& folder);

// From now on SIGTERM, SIGINT and SIGHUP call `end` from the event loop, once each; the handler
// itself only writes a byte to a pipe. The handling lives as long as `context`.
void endOnSignals(QObject* context, std::function<void()> end);
