// The udev rule handed to users: it must open pedals to the seat's user and nothing else.
#include <QFile>
#include <QRegularExpression>
#include <fnmatch.h>
#include <gtest/gtest.h>

namespace {
QString ruleText() {
    QFile file(QStringLiteral(QUILLON_TOOLS_DIR "/60-quillon-footpedal.rules"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The rules that take effect, without comments.
QStringList activeLines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            lines << trimmed;
    }
    return lines;
}
} // namespace

TEST(UdevRuleTest, GrantsSeatAccessOnlyToPedals) {
    const QStringList lines = activeLines(ruleText());
    ASSERT_FALSE(lines.isEmpty());
    const QString rules = lines.join(QLatin1Char('\n'));
    EXPECT_TRUE(rules.contains(
        QLatin1String("ATTRS{idVendor}==\"05f3\", ATTRS{idProduct}==\"00ff\", TAG+=\"uaccess\"")));
    EXPECT_FALSE(rules.contains(QLatin1String("MODE")));  // no world-readable node
    EXPECT_FALSE(rules.contains(QLatin1String("GROUP"))); // not the input group
    EXPECT_FALSE(rules.contains(QLatin1String("OWNER")));
    EXPECT_TRUE(rules.contains(QLatin1String("SUBSYSTEM!=\"input\"")));
    for (const QString& line : lines) {
        if (!line.contains(QLatin1String("TAG+=")))
            continue;
        EXPECT_TRUE(line.contains(QLatin1String("ATTRS{")))
            << "every grant names the pedal: " << line.toStdString();
    }
}

TEST(UdevRuleTest, NamePatternMatchesFootpedalInAnyCase) {
    const QRegularExpression namePattern(QStringLiteral("ATTRS\\{name\\}==\"([^\"]+)\""));
    const auto match = namePattern.match(ruleText());
    ASSERT_TRUE(match.hasMatch());
    const QByteArray pattern = match.captured(1).toUtf8();
    const struct {
        const char* name;
        bool matches;
    } cases[] = {
        {"VEC  VEC USB Footpedal", true},
        {"USB FootPedal Controller", true},
        {"footpedal", true},
        {"FOOTPEDAL", true},
        {"Foot Pedal", false},
        {"AT Translated Set 2 keyboard", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fnmatch(pattern.constData(), c.name, 0) == 0, c.matches) << c.name;
}
