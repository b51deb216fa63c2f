// The digit clock: recorded time of day on six digit images, the PM marker and the dates.
#include "frmMain.h"

#include "ClockFace.h"
#include "ErrorHandling.h"
#include "TimeText.h"

#include <QDateTime>
#include <QLabel>

void frmMain::SetClock(const QDateTime& NewDateTime, bool MilitaryTime) {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".SetClock()"), [&] {
        if (!NewDateTime.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        SetDate(NewDateTime.date());
        const QTime time = NewDateTime.time();
        SetTime(QTime(time.hour(), time.minute(), time.second()), MilitaryTime);
    });
}

void frmMain::SetDate(const QDate& date) {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".SetDate()"), [&] {
        lblDate->setText(FormatDateLong(date));
        lblSessionDate->setText(ClockFace::sessionDateText(date));
    });
}

void frmMain::SetTime(const QTime& time, bool MilitaryTime) {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".SetTime()"), [&] {
        if (!time.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        if (!services().catalogue)
            raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        // The start label first: without a catalogue row the clock keeps what it shows.
        lblStartTime->setText(services().catalogue->selectedStartTime());

        const ClockFace::Reading face = ClockFace::reading(time.msecsSinceStartOfDay() / 1000, MilitaryTime);
        if (ilTime.size() < 10)
            raiseError(ErrNo::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
        lblPM->setVisible(face.pm);
        for (size_t i = 0; i < picClock.size(); ++i) {
            const int digit = face.digits[i];
            picClock[i]->setPixmap(ilTime.at(ClockFace::imageOfDigit(digit) - 1));
            const QString spoken = QString::number(digit);
            if (picClock[i]->accessibleName() != spoken)
                picClock[i]->setAccessibleName(spoken);
        }
        if (picClockFrame->accessibleDescription() != face.text)
            picClockFrame->setAccessibleDescription(face.text);
    });
}
