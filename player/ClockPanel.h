#pragma once

#include <QDateTime>
#include <QObject>
#include <QPixmap>
#include <QVector>
#include <array>

class AppLog;
class QLabel;
class QWidget;

// The digit clock on the player window: the long date, six digit images, the PM marker, the start
// and end labels, and the session date.
class ClockPanel : public QObject {
  public:
    ClockPanel(QWidget* window, AppLog& log);

    // Shows the date and time of day of NewDateTime; the start label shows the recording's start time.
    void SetClock(const QDateTime& NewDateTime, bool MilitaryTime, const QString& startTime);
    // The notes document's start and end texts.
    void showStartAndEnd(const QString& started, const QString& finished);
    // The time as the clock reads it aloud: "hh:mm:ss AM" or "hh:mm:ss PM".
    QString shownTime() const;

  private:
    void build(QWidget* window);
    void SetDate(const QDate& date);
    void SetTime(const QTime& time, bool MilitaryTime, const QString& startTime);

    AppLog& m_log;
    QLabel* picClockFrame = nullptr;
    QLabel* lblDate = nullptr;
    std::array<QLabel*, 6> picClock{};
    QLabel* lblPM = nullptr;
    QLabel* lblStartTime = nullptr;
    QLabel* lblEndTime = nullptr;
    QLabel* lblSessionDate = nullptr;
    QVector<QPixmap> ilTime; // eleven images, index 1 to 11 at [0] to [10]
};
