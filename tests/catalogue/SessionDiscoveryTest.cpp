// Session discovery: the file-name rule, the record of one name, and the directory read.
#include "SessionDiscovery.h"
#include "ByteFolder.h"
#include "QuillonError.h"
#include "TestSupport.h"
#include "TimeText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
struct NameCase {
    const char* name;
    const char* location;
    const char* date;
    const char* startTime;
    int channels;
    bool video;
};

// The worked examples, then our own odd names.
const NameCase kNames[] = {
    {"Room3_12-14-2009_34200_1.wma", "Room3", "12-14-2009", "09:30:00 AM", 2, false},
    {"Room3_12-14-2009_34200_2.wma", "Room3", "12-14-2009", "09:30:00 AM", 4, false},
    {"Room3_12-14-2009_34200_3.wmv", "Room3", "12-14-2009", "09:30:00 AM", 0, true},
    {"ROOM3_12-14-2009_50400_1.WMA", "ROOM3", "12-14-2009", "02:00:00 PM", 2, false},
    {"Room3_12-14-2009_34200.wmv", "Room3", "12-14-2009", "09:30:00 AM", 0, true},
    {"Room3_12-14-2009_0930_1.wma", "Room3", "12-14-2009", "12:15:30 AM", 2, false},
    {"Room3_12-14-2009.wmv", "Room3", "", "12:00:00 AM", 0, false},
    {"Interview.wma", "", "", "12:00:00 AM", 0, false},
    {"_A_34200_1.wma", "", "", "12:00:00 AM", 0, false},
    {"Room3__34200_1.wma", "Room3", "", "09:30:00 AM", 2, false},
    {"Room 3 East_12-14-2009_34200_1.wma", "Room 3 East", "12-14-2009", "09:30:00 AM", 2, false},
    {"Room3_12-14-2009_34200_2_take2.wma", "Room3", "12-14-2009", "09:30:00 AM", 4, false},
    {"Room3_12-14-2009_34200.5_1.wma", "Room3", "12-14-2009", "09:30:00 AM", 2, false},
    {"Room3_12-14-2009_34201.5_1.wma", "Room3", "12-14-2009", "09:30:02 AM", 2, false},
    {"Room3_12-14-2009_-3600_1.wma", "Room3", "12-14-2009", "11:00:00 PM", 2, false},
    {"Room3_12-14-2009_90000_1.wma", "Room3", "12-14-2009", "01:00:00 AM", 2, false},
    {"Room3_12-14-2009_ 34200_1.wma", "Room3", "12-14-2009", "09:30:00 AM", 2, false},
    {"Room3_12-14-2009_34200_3.wMv", "Room3", "12-14-2009", "09:30:00 AM", 0, true},
    {"Room3_12-14-2009_34200_x.wma", "Room3", "12-14-2009", "09:30:00 AM", 0, false},
    {"Room3_12-14-2009_34200_.wma", "Room3", "12-14-2009", "09:30:00 AM", 0, false},
    {"Room3_12-14-2009_abc_1.wma", "Room3", "12-14-2009", "12:00:00 AM", 2, false},
    {"a_b_c_d_e_f.wm", "a", "b", "12:00:00 AM", 0, false},
    {"_.wmv", "", "", "12:00:00 AM", 0, false},
};
} // namespace

TEST(GetSessionData, FileNameTable) {
    CapturedLog log;
    for (const NameCase& c : kNames) {
        const SessionData record = GetSessionData(QByteArray(c.name));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(record.Location, QString::fromUtf8(c.location));
        EXPECT_EQ(record.SessionDate, QString::fromUtf8(c.date));
        EXPECT_EQ(SecondsToTime(record.StartSeconds, "hh:mm:ss AMPM"), QLatin1String(c.startTime));
        EXPECT_EQ(record.Channels, c.channels);
        EXPECT_EQ(record.Video, c.video);
        EXPECT_EQ(record.Filename, QLatin1String(c.name));
        EXPECT_EQ(record.FileBytes, QByteArray(c.name));
    }
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

TEST(GetSessionData, StartBeyondThirtyTwoBitsIsLoggedAndKeptAtZero) {
    for (const char* name : {"Room3_12-14-2009_2147483648_1.wma", "Room3_12-14-2009_-2147483649_2.wma",
                             "Room3_12-14-2009_99999999999999999999999999_3.wmv"}) {
        CapturedLog log;
        SessionData record;
        ASSERT_NO_THROW(record = GetSessionData(QByteArray(name))) << name;
        EXPECT_EQ(record.StartSeconds, 0) << name;
        EXPECT_EQ(record.Location, "Room3");
        EXPECT_NE(record.Channels + int(record.Video), 0) << "the later fields are still read";
        ASSERT_EQ(log.lines.size(), 1) << name;
        EXPECT_TRUE(log.lines[0].startsWith("ERROR: No = 6, Line No = ")) << log.lines[0].toStdString();
        EXPECT_TRUE(log.lines[0].contains("Desc = Quillon502.frmSessions.GetSessionData() at line: "));
        EXPECT_TRUE(log.lines[0].contains(QLatin1String(name)));
    }
    // The edges themselves still fit.
    EXPECT_EQ(GetSessionData("R_D_2147483647_1.wma").StartSeconds, 2147483647);
    EXPECT_EQ(GetSessionData("R_D_-2147483648_1.wma").StartSeconds, -2147483647 - 1);
}

TEST(GetSessionData, NameThatIsNotUtf8KeepsItsBytes) {
    const QByteArray name("Salle\xe9_12-14-2009_34200_1.wma");
    const SessionData record = GetSessionData(name);
    EXPECT_EQ(record.FileBytes, name);
    EXPECT_EQ(record.Location, QString::fromUtf8("Salle\xef\xbf\xbd"));
    EXPECT_EQ(record.SessionDate, "12-14-2009");
    EXPECT_EQ(record.StartSeconds, 34200);
    EXPECT_EQ(record.Channels, 2);
}

TEST(UpdateSessionData, EqualRecordsStaySeparate) {
    QVector<SessionData> sessions;
    const SessionData record = GetSessionData("Room3_12-14-2009_34200_1.wma");
    UpdateSessionData(sessions, record);
    UpdateSessionData(sessions, record);
    ASSERT_EQ(sessions.size(), 2);
    EXPECT_EQ(sessions[1].Filename, record.Filename);
}

TEST(IsMediaFileName, WmPlusAtMostOneCharacter) {
    const struct {
        QByteArray name;
        bool listed;
    } cases[] = {
        {"a.wma", true},
        {"a.WMA", true},
        {"a.Wmv", true},
        {"a.wmx", true},
        {"a.wm", true},
        {"a.WM", true},
        {"a.wm1", true},
        {"a.b.wma", true},
        {"a.wm\xc3\xa9", true},
        {"a.wm\xff", true},
        {"a.wmaa", false},
        {"a.wm\xc3\xa9x", false},
        {"a.wav", false},
        {"a.mp3", false},
        {"a.xml", false},
        {"awma", false},
        {".wma", false},
        {".hidden.wma", false},
        {"", false},
        {"a.wm\xc3", true},
        {"a.wm\xf0\x9f\x8e\xb5", true},
        {"a.wm\xe2\x82", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isMediaFileName(c.name), c.listed) << c.name.toStdString();
}

namespace {
class Folder : public ByteFolder {
  public:
    void file(const QByteArray& name) const { ASSERT_TRUE(ByteFolder::file(name)) << name.toStdString(); }
};
} // namespace

TEST(GetFilenames, ListsExactlyTheMediaFilesOfTheFolder) {
    Folder folder;
    const QList<QByteArray> listed = {"Room3_12-14-2009_34200_1.wma",
                                      "Room3_12-14-2009_34200_3.WMV",
                                      "b.Wma",
                                      "c.wm",
                                      "d.wmx",
                                      "Salle\xe9_1-1-2010_60_1.wma",
                                      "a||b.wma"};
    for (const QByteArray& name : listed)
        folder.file(name);
    for (const char* name :
         {"Room3_12-14-2009_34200_1.mp3", "Room3_12-14-2009_34200.xml", ".hidden.wma", "notes.wmaa", "plain"})
        folder.file(name);
    ASSERT_EQ(mkdir((folder.path() + "/x.wma").constData(), 0700), 0);
    ASSERT_EQ(mkfifo((folder.path() + "/pipe.wma").constData(), 0600), 0);
    ASSERT_EQ(symlink("b.Wma", (folder.path() + "/link.wma").constData()), 0);
    ASSERT_EQ(symlink("missing.wma", (folder.path() + "/dangling.wma").constData()), 0);

    const QList<QByteArray> names = GetFilenames(folder.path());
    QList<QByteArray> expected = listed;
    expected << "link.wma";
    EXPECT_EQ(QSet<QByteArray>(names.begin(), names.end()),
              QSet<QByteArray>(expected.begin(), expected.end()));
    EXPECT_EQ(names.size(), expected.size()) << "no name twice";

    // The directory's own order: the same as the system lists it, never sorted.
    QList<QByteArray> systemOrder;
    const QStringList entries = QDir(QFile::decodeName(folder.path())).entryList(QDir::Files, QDir::Unsorted);
    for (const QByteArray& name : names)
        EXPECT_TRUE(isMediaFileName(name));
    for (const QString& entry : entries)
        if (names.contains(QFile::encodeName(entry)))
            systemOrder << QFile::encodeName(entry);
    QList<QByteArray> namesWithoutUndecodable = names;
    namesWithoutUndecodable.removeIf([&](const QByteArray& n) { return !systemOrder.contains(n); });
    EXPECT_EQ(namesWithoutUndecodable, systemOrder);
}

TEST(GetFilenames, EmptyAndMissingFolders) {
    Folder folder;
    EXPECT_TRUE(GetFilenames(folder.path()).isEmpty());

    CapturedLog log;
    EXPECT_THROW(GetFilenames(folder.path() + "/gone"), QuillonError);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith("ERROR: No = 76, ")) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[0].contains("Quillon502.frmSessions.GetFilenames()"));
}
