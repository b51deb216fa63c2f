// The udev rule handed to users: it must open pedals to the seat's user and nothing else.
#include <QFile>
#include <QRegularExpression>
#include <fnmatch.h>
#include <gtest/gtest.h>

TEST(UdevRuleTest, GrantsSeatAccessOnlyToPedals) {
    QFile file(QStringLiteral(QUILLON_TOOLS_DIR "/60-quillon-footpedal.rules"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString rules = QString::fromUtf8(file.readAll());
    // No world-readable node, not the input group.
    EXPECT_FALSE(rules.contains(QRegularExpression(QStringLiteral("MODE|GROUP|OWNER"))));
    EXPECT_EQ(rules.count(QLatin1String("TAG+=")), 2);
    EXPECT_TRUE(rules.contains(
        QLatin1String("\nATTRS{idVendor}==\"05f3\", ATTRS{idProduct}==\"00ff\", TAG+=\"uaccess\"\n")));
    const auto match =
        QRegularExpression(QStringLiteral("\nATTRS\\{name\\}==\"([^\"]+)\", TAG\\+=\"uaccess\"\n"))
            .match(rules);
    ASSERT_TRUE(match.hasMatch());
    const QByteArray pattern = match.captured(1).toUtf8();
    const std::pair<const char*, bool> names[] = {
        {"VEC  VEC USB Footpedal", true}, {"FOOTPEDAL", true}, {"Foot Pedal", false}, {"Keyboard", false}};
    for (const auto& [name, matches] : names)
        EXPECT_EQ(fnmatch(pattern.constData(), name, 0) == 0, matches) << name;
}
