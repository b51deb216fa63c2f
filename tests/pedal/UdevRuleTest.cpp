// The udev rule handed to users: it must open every pedal make to the seat's user and nothing else.
#include "PedalMakes.h"

#include <QFile>
#include <QRegularExpression>
#include <fnmatch.h>
#include <gtest/gtest.h>

TEST(UdevRuleTest, GrantsSeatAccessToEveryPedalMakeAndNothingElse) {
    QFile file(QStringLiteral(QUILLON_TOOLS_DIR "/60-quillon-footpedal.rules"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString rules = QString::fromUtf8(file.readAll());
    // No world-readable node, not the input group.
    EXPECT_FALSE(rules.contains(QRegularExpression(QStringLiteral("MODE|GROUP|OWNER"))));
    QSet<QString> granted;
    for (const auto& match :
         QRegularExpression(QStringLiteral("\nATTRS\\{idVendor\\}==\"(\\w{4})\", "
                                           "ATTRS\\{idProduct\\}==\"(\\w{4})\", TAG\\+=\"uaccess\""))
             .globalMatch(rules))
        granted << match.captured(1) + ':' + match.captured(2);
    QSet<QString> makes;
    for (const PedalMake& make : pedalMakes())
        if (make.vendor != 0)
            makes << QStringLiteral("%1:%2")
                         .arg(make.vendor, 4, 16, QLatin1Char('0'))
                         .arg(make.product, 4, 16, QLatin1Char('0'));
    EXPECT_EQ(granted, makes);

    const auto match =
        QRegularExpression(
            QStringLiteral("\nSUBSYSTEM==\"input\", ATTRS\\{name\\}==\"([^\"]+)\", TAG\\+=\"uaccess\"\n"))
            .match(rules);
    ASSERT_TRUE(match.hasMatch());
    const QByteArray pattern = match.captured(1).toUtf8();
    const std::pair<const char*, bool> names[] = {
        {"VEC  VEC USB Footpedal", true}, {"FOOTPEDAL", true}, {"Foot Pedal", false}, {"Keyboard", false}};
    for (const auto& [name, matches] : names)
        EXPECT_EQ(fnmatch(pattern.constData(), name, 0) == 0, matches) << name;
    EXPECT_EQ(rules.count(QLatin1String("TAG+=")), makes.size() + 1) << "a grant to anything else";
}
