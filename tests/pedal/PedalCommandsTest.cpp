// The command table: which player steps each change of the button text brings.
#include "PedalCommands.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(PedalCommandsTest, EdgesBecomeStepsInTableOrder) {
    const struct {
        const char* last;
        const char* now;
        const char* steps;
    } cases[] = {
        {"000", "100", "rate=8 play"},
        {"100", "000", "pause rate=PlayRate"},
        {"000", "010", "rate=PlayRate play"},
        {"010", "000", "rate=-9 wait pause rate=PlayRate"},
        {"000", "001", "rate=-8 play"},
        {"001", "000", "pause rate=PlayRate"},
        {"000", "101", "rate=8 play rate=-8 play"},         // a chord ends playing backwards
        {"100", "001", "pause rate=PlayRate rate=-8 play"}, // release and press in one tick
        {"111", "000", "pause rate=PlayRate rate=-9 wait pause rate=PlayRate pause rate=PlayRate"},
        {"110", "110", ""}, // holding issues nothing
        {"000", "000", ""},
        {"100", "", ""}, // no reading changes nothing
        {"", "100", ""}, // nothing to compare with: the caller starts from "000"
    };
    for (const auto& c : cases) {
        QStringList steps;
        for (const PedalCommand& step : pedalCommands(QLatin1String(c.last), QLatin1String(c.now)))
            steps << describe(step);
        EXPECT_EQ(steps.join(QLatin1Char(' ')), QLatin1String(c.steps)) << c.last << " -> " << c.now;
    }
}
