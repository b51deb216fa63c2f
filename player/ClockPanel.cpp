// The digit clock: recorded time of day on six digit images, the PM marker and the dates.
#include "ClockPanel.h"

#include "Artwork.h"
#include "ClockFace.h"
#include "DesignedLayout.h"
#include "ErrorHandling.h"
#include "TimeText.h"

#include <QApplication>
#include <QLabel>

namespace {
using namespace DesignedLayout;

QString procName(const char* name) {
    return SourceModule::frmMain + QLatin1String(name);
}
} // namespace

ClockPanel::ClockPanel(QWidget* window, AppLog& log) : QObject(window), m_log(log) {
    build(window);
}

void ClockPanel::build(QWidget* window) {
    const qreal dpr = qApp->devicePixelRatio();
    picClockFrame = place(new QLabel(window), "picClockFrame", 5535, 630, 3930, 1080);
    picClockFrame->setPixmap(Artwork::pixmap(QStringLiteral("clock_panel"), QSize(262, 72), dpr));
    picClockFrame->setAccessibleName(QStringLiteral("Recorded time")); // its description: the time shown

    lblSessionDate = place(new QLabel(window), "lblSessionDate", 9675, 4230, 960, 195);
    lblSessionDate->setAutoFillBackground(true);
    lblSessionDate->hide();

    // The panel's own controls, placed inside it.
    lblDate =
        place(new QLabel(QStringLiteral("Mon, Jul 15, 2004"), picClockFrame), "lblDate", 180, 45, 3555, 195);
    lblDate->setToolTip(QStringLiteral("Current Date"));
    lblDate->setFont(monoFont(StandardFontPx));
    setTextColour(lblDate, Qt::black);

    for (int d = 0; d <= 9; ++d)
        ilTime.append(Artwork::pixmap(QStringLiteral("digit_%1").arg(d), QSize(18, 20), dpr));
    ilTime.append(Artwork::pixmap(QStringLiteral("digit_dash"), QSize(15, 20), dpr));

    static const int kDigitLeft[6] = {120, 390, 810, 1065, 1485, 1740};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "picClock(" + QByteArray::number(i) + ")";
        picClock[i] = place(new QLabel(picClockFrame), name.constData(), kDigitLeft[i], 495, 270, 300);
        picClock[i]->setPixmap(ilTime[0]);
        picClock[i]->setAccessibleName(QStringLiteral("0")); // then the digit shown
    }
    const QPixmap colon = Artwork::pixmap(QStringLiteral("colon"), QSize(11, 15), dpr);
    for (const auto& [name, left] : {std::pair{"Picture3", 675}, std::pair{"Picture4", 1350}}) {
        QLabel* dots = place(new QLabel(picClockFrame), name, left, 540, 165, 225);
        dots->setPixmap(colon);
        dots->setAccessibleName(QStringLiteral("colon"));
    }
    picClockFrame->setAccessibleDescription(QStringLiteral("00:00:00"));

    lblPM = place(new QLabel(QStringLiteral("PM"), picClockFrame), "lblPM", 1665, 810, 375, 240);
    lblPM->setFont(sansFont(StandardFontPx, true));
    setTextColour(lblPM, Yellow);
    lblPM->hide();
    const QColor lightYellow(255, 255, 128);
    lblStartTime = place(new QLabel(picClockFrame), "lblStartTime", 2670, 405, 1005, 270);
    setTextColour(lblStartTime, lightYellow);
    lblEndTime = place(new QLabel(picClockFrame), "lblEndTime", 2655, 765, 1005, 270);
    setTextColour(lblEndTime, lightYellow);
    // Each time speaks itself; the word printed on the panel beside it says which it is.
    lblStartTime->setAccessibleDescription(QStringLiteral("Start time"));
    lblEndTime->setAccessibleDescription(QStringLiteral("End time"));
}

void ClockPanel::SetClock(const QDateTime& NewDateTime, bool MilitaryTime, const QString& startTime) {
    logAndRaise(m_log, procName(".SetClock()"), [&] {
        if (!NewDateTime.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        SetDate(NewDateTime.date());
        const QTime time = NewDateTime.time();
        SetTime(QTime(time.hour(), time.minute(), time.second()), MilitaryTime, startTime);
    });
}

void ClockPanel::SetDate(const QDate& date) {
    logAndRaise(m_log, procName(".SetDate()"), [&] {
        lblDate->setText(FormatDateLong(m_log, date));
        lblSessionDate->setText(ClockFace::sessionDateText(date));
    });
}

void ClockPanel::SetTime(const QTime& time, bool MilitaryTime, const QString& startTime) {
    logAndRaise(m_log, procName(".SetTime()"), [&] {
        if (!time.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        lblStartTime->setText(startTime);

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

void ClockPanel::showStartAndEnd(const QString& started, const QString& finished) {
    lblStartTime->setText(started);
    lblEndTime->setText(finished);
}

QString ClockPanel::shownTime() const {
    return picClockFrame->accessibleDescription();
}
