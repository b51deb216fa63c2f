// The digit clock: recorded time of day on six digit images, the PM marker and the dates.
#include "frmMain.h"

#include <QDateTime>

void frmMain::SetClock(const QDateTime& NewDateTime, bool MilitaryTime) {
    (void)NewDateTime;
    (void)MilitaryTime;
}
void frmMain::SetDate(const QDate& date) { (void)date; }
void frmMain::SetTime(const QTime& time, bool MilitaryTime) {
    (void)time;
    (void)MilitaryTime;
}
