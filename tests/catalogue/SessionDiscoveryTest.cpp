// Session discovery: the record of one file name, and the directory read with its name rule.
#include "SessionDiscovery.h"
#include "CatalogueFixture.h"
#include "TimeText.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

// Location, date, start, channels and video of each name as the list shows them. A start beyond 32 bits
// is logged under its procedure and listed as 0, and the scan goes on.
TEST(GetSessionData, FileNameTable) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"Room3_12-14-2009_34200_1.wma", "Room3|12-14-2009|09:30:00 AM|2|No", false},
        {"Room3_12-14-2009_ 34200_3.wMv", "Room3|12-14-2009|09:30:00 AM|0|Yes", false},
        {"Room3_12-14-2009.wmv", "Room3||12:00:00 AM|0|No", false},
        {"Interview.wma", "||12:00:00 AM|0|No", false},
        {"_A_34200_1.wma", "||12:00:00 AM|0|No", false},
        {"Room 3 East_12-14-2009_34200_2_take2.wma", "Room 3 East|12-14-2009|09:30:00 AM|4|No", false},
        {"Room3_12-14-2009_34200.5_1.wma", "Room3|12-14-2009|09:30:00 AM|2|No", false},
        {"Room3_12-14-2009_34201.5_1.wma", "Room3|12-14-2009|09:30:02 AM|2|No", false},
        {"Salle\xe9_12-14-2009_34200_1.wma", "Salle\xef\xbf\xbd|12-14-2009|09:30:00 AM|2|No", false},
        {"R_12-14-2009_2147483647_1.wma", "R|12-14-2009|03:14:07 AM|2|No", false},
        {"R_12-14-2009_2147483648_1.wma", "R|12-14-2009|12:00:00 AM|2|No", true},
        {"R_D_-2147483649_2.wma", "R|D|12:00:00 AM|4|No", true},
    };
    for (const auto& [name, expected, logged] : cases) {
        SCOPED_TRACE(name);
        CapturedLog log;
        const SessionData r = GetSessionData(log, "/disc", QByteArray(name)); // a throw fails the case
        EXPECT_EQ(QStringList({r.Location, r.SessionDate, SecondsToTime(log, r.StartSeconds, "hh:mm:ss AMPM"),
                               QString::number(r.Channels), r.Video ? "Yes" : "No"})
                      .join('|'),
                  QString::fromUtf8(expected));
        EXPECT_EQ(log.lines.size(), logged ? 1 : 0);
        EXPECT_EQ(log.lines.join('\n').contains("No = 6, Line No = "), logged);
    }
}

TEST_F(CatalogueTest, GetFilenamesListsExactlyTheMediaFilesInDirectoryOrder) {
    // "*.wm?": one character after wm, where a UTF-8 sequence or a stray byte counts as one.
    const QList<QByteArray> listed =
        QByteArray(
            "a.wma b.WMA c.Wmv d.wmx e.WM f.wm1 g.b.wma h.wm\xc3\xa9 i.wm\xff j.wm\xc3 k.wm\xf0\x9f\x8e\xb5 "
            "Salle\xe9_1-1-2010_60_1.wma a||b.wma")
            .split(' ');
    for (const QByteArray& name :
         listed + QByteArray("l.wmaa m.wm\xc3\xa9x n.wm\xe2\x82 o.wav R_1-1-2010_60.xml "
                             "awma .wma .h.wma")
                      .split(' '))
        addFile(name);
    ASSERT_EQ(mkdir((disc.path + "/x.wma").constData(), 0700), 0);
    ASSERT_EQ(mkfifo((disc.path + "/pipe.wma").constData(), 0600), 0);
    ASSERT_EQ(symlink("b.WMA", (disc.path + "/link.wma").constData()), 0);
    ASSERT_EQ(symlink("missing.wma", (disc.path + "/dangling.wma").constData()), 0);

    // The directory's own order, never sorted.
    QList<QByteArray> expected;
    DIR* dir = opendir(disc.path.constData());
    while (const dirent* entry = readdir(dir))
        if (listed.contains(entry->d_name) || QByteArray(entry->d_name) == "link.wma")
            expected << entry->d_name;
    closedir(dir);
    EXPECT_EQ(GetFilenames(log, disc.path), expected);
}
