#pragma once

#include <QString>

// The application log: one entry per line. Control characters in a line are written escaped ("\n",
// "\x1b", "\u2028"), so one call is always one entry of one line, whatever a disc's names hold.
class AppLog {
  public:
    virtual ~AppLog() = default;
    // Never fails: the log must never take the program down.
    void write(const QString& line) noexcept;

  protected:
    virtual void writeEntry(const QString& entry) = 0;
};

// The system log: syslog, ident "quillon", facility user, level err.
class SystemLog final : public AppLog {
  protected:
    void writeEntry(const QString& entry) override;
};
