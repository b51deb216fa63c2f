// The digit clock: six digit images, the PM marker and the two dates, on the real window.
#include "ClockFace.h"
#include "PlayerWindowFixture.h"

#include <QLabel>

namespace {
struct ClockCase {
    const char* time;   // recorded time of day, 24-hour
    const char* digits; // the six digits shown
    bool pm;
};

const ClockCase kClockCases[] = {
    {"00:00:00", "120000", false}, {"00:59:59", "125959", false}, {"09:05:07", "090507", false},
    {"11:59:59", "115959", false}, {"12:00:00", "120000", true},  {"13:00:00", "010000", true},
    {"21:30:45", "093045", true},  {"22:10:00", "101000", true},  {"23:59:59", "115959", true},
};

class ClockTest : public PlayerWindowTest, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(ClockTest, ShowsTwelveHourDigitsAndMarker) {
    const ClockCase& c = GetParam();
    const QTime time = QTime::fromString(QString::fromLatin1(c.time), QStringLiteral("hh:mm:ss"));
    window->SetClock(QDateTime(QDate(2009, 12, 14), time.addMSecs(700), Qt::UTC), true);

    const QString expected = QString::fromLatin1(c.digits);
    for (int i = 0; i < 6; ++i) {
        const int digit = expected[i].digitValue();
        SCOPED_TRACE(i);
        EXPECT_EQ(window->picClock[i]->pixmap().cacheKey(),
                  window->ilTime[ClockFace::imageOfDigit(digit) - 1].cacheKey());
        EXPECT_EQ(window->picClock[i]->accessibleName(), QString::number(digit));
    }
    EXPECT_EQ(!window->lblPM->isHidden(), c.pm);
    EXPECT_EQ(clockText(), expected.left(2) + ':' + expected.mid(2, 2) + ':' + expected.mid(4, 2) +
                               (c.pm ? " PM" : " AM"));
    EXPECT_EQ(window->lblStartTime->text(), catalogue.startTime);
}

INSTANTIATE_TEST_SUITE_P(Hours, ClockTest, ::testing::ValuesIn(kClockCases));

TEST_F(PlayerWindowTest, DatesLongAndShort) {
    const struct {
        QDate date;
        const char* longDate;
        const char* shortDate;
    } cases[] = {
        {QDate(2009, 12, 14), "Monday, December 14, 2009", "12-14-2009"},
        {QDate(2009, 3, 1), "Sunday, March 1, 2009", "03-01-2009"},
        {QDate(2010, 1, 5), "Tuesday, January 5, 2010", "01-05-2010"},
    };
    for (const auto& c : cases) {
        window->SetClock(QDateTime(c.date, QTime(23, 59, 59), Qt::UTC), true);
        EXPECT_EQ(window->lblDate->text(), QLatin1String(c.longDate));
        EXPECT_EQ(window->lblSessionDate->text(), QLatin1String(c.shortDate));
    }
    EXPECT_TRUE(window->lblSessionDate->isHidden());
}

TEST_F(PlayerWindowTest, WithoutCatalogueRowTheDateChangesButNotTheTime) {
    window->SetClock(QDateTime(QDate(2009, 12, 14), QTime(13, 0, 0), Qt::UTC), true);
    catalogue.hasSelection = false;
    EXPECT_THROW(window->SetClock(QDateTime(QDate(2009, 12, 15), QTime(2, 0, 0), Qt::UTC), true),
                 QuillonError);
    EXPECT_EQ(window->lblSessionDate->text(), "12-15-2009");
    EXPECT_EQ(clockText(), "01:00:00 PM");
    EXPECT_FALSE(window->lblPM->isHidden());
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(chainOf(log.lines[0]).contains("Quillon502.frmMain.SetTime() > "));
    EXPECT_TRUE(
        chainOf(log.lines[1]).contains("Quillon502.frmMain.SetClock() > Quillon502.frmMain.SetTime() > "));
}

TEST(ClockFace, TwentyFourHourFaceKeepsTheMarkerDark) {
    const ClockFace::Reading r = ClockFace::reading(13 * 3600 + 5 * 60 + 9, false);
    EXPECT_EQ(r.text, "13:05:09");
    EXPECT_FALSE(r.pm);
    EXPECT_EQ(ClockFace::reading(86400 + 60).text, "12:01:00 AM");
    EXPECT_EQ(ClockFace::reading(-1).text, "11:59:59 PM");
}
} // namespace
