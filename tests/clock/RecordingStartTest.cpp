// The recording start read from media file names whose date field is written in any of the ways a
// US-English desktop reads a date.
#include "RecordingStart.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordingStart, DateFieldsReadLeniently) {
    const std::pair<const char*, const char*> cases[] = {
        {"Room3_12-14-2009_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_12/14/09_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_Dec 14 2009_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_14-Dec-2009_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_December 14, 2009_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_14.12.2009_36300_1.wma", "2009-12-14T10:05:00"},
        {"Room3_2009-12-14_90000_1.wma", "2009-12-14T01:00:00"},
        // no reading makes a date, or no start: the clock is left alone
        {"Room3_notadate_36300_1.wma", nullptr},
        {"Room3_02-30-2009_36300_1.wma", nullptr},
        {"Room3_12-14_36300_1.wma", nullptr},
        {"Room3_12-14-2009.wma", nullptr},
    };
    for (const auto& [name, start] : cases) {
        const std::optional<QDateTime> read = RecordingStart::fromFilename(QString::fromLatin1(name));
        EXPECT_EQ(read ? read->toString(Qt::ISODate) : QString(),
                  start ? QString::fromLatin1(start) + QLatin1Char('Z') : QString())
            << name;
    }
}

} // namespace
