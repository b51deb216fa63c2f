// Why a file cannot be read, as the system says it, for the log entries that name a file.
#include "Platform.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(Platform, FileReadProblemGivesTheSystemsReason) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::close(::creat(folder + "/readable.wma", 0600)), 0);
    ASSERT_EQ(::close(::creat(folder + "/locked.wma", 0000)), 0);
    ASSERT_EQ(::mkfifo(folder + "/pipe.wma", 0600), 0);
    const bool root = ::geteuid() == 0; // root reads every file
    const std::pair<const char*, const char*> cases[] = {
        {"readable.wma", ""},
        {"pipe.wma", ""}, // must not wait for a writer
        {"locked.wma", root ? "" : "Permission denied"},
        {"missing.wma", "No such file or directory"},
        {"readable.wma/x", "Not a directory"},
        {"", "Is a directory"},
    };
    for (const auto& [name, reason] : cases)
        EXPECT_EQ(fileReadProblem(folder + '/' + name), QLatin1String(reason)) << name;
}
