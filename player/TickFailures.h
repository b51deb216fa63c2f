#pragma once

#include "AppLog.h"

#include <QStringList>
#include <vector>

class MessageBoxes;
class QuillonError;

// The log the window's procedures write to. The tick holds its lines until it knows whether its
// error is one already reported.
class WindowLog final : public AppLog {
  public:
    explicit WindowLog(AppLog& log) : m_log(log) {}
    void hold() { m_holding = true; }
    // Stops holding and hands over what was held, unwritten.
    QStringList takeHeld();
    void pass(const QStringList& lines);

  protected:
    void writeEntry(const QString& entry) override;

  private:
    AppLog& m_log;
    bool m_holding = false;
    QStringList m_held;
};

// A failing tick is shown and logged the first time its error comes in a session; repeats are counted
// and their number logged when the window stops, so a fault does not raise a message every 500 ms.
class TickFailures {
  public:
    TickFailures(WindowLog& log, MessageBoxes& messages) : m_log(log), m_messages(messages) {}
    void report(const QuillonError& error, const QStringList& logLines);
    void logRepeats();

  private:
    struct Seen {
        int number;
        QString description;
        int repeats;
    };
    WindowLog& m_log;
    MessageBoxes& m_messages;
    std::vector<Seen> m_seen;
};
