#include "TickFailures.h"

#include "QuillonError.h"
#include "UnhandledError.h"

#include <utility>

QStringList WindowLog::takeHeld() {
    m_holding = false;
    return std::exchange(m_held, {});
}

void WindowLog::pass(const QStringList& lines) {
    for (const QString& line : lines)
        m_log.write(line);
}

void WindowLog::writeEntry(const QString& entry) {
    if (m_holding)
        m_held << entry;
    else
        m_log.write(entry);
}

void TickFailures::report(const QuillonError& error, const QStringList& logLines) {
    for (Seen& seen : m_seen) {
        if (seen.number == error.Number && seen.description == error.Description) {
            ++seen.repeats;
            return;
        }
    }
    m_seen.push_back({error.Number, error.Description, 0});
    m_log.pass(logLines);
    reportUnhandledError(m_messages, error);
}

void TickFailures::logRepeats() {
    for (const Seen& seen : std::exchange(m_seen, {})) {
        if (seen.repeats > 0)
            m_log.write(
                QStringLiteral("ERROR: No = %1, Line No = 0, Desc = %2, AddlInfo = repeated %3 more times "
                               "in this session")
                    .arg(QString::number(seen.number), seen.description, QString::number(seen.repeats)));
    }
}
