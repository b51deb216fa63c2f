// Why a file cannot be read, as the system says it, for the log entries that name a file. Run as an
// unprivileged user: root reads every file.
#include "Platform.h"
#include "ChildProcess.h"
#include "QtPrinting.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(Platform, FileReadProblemGivesTheSystemsReason) {
    const auto unexpectedReasons = [] {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        if (!dir.isValid() || ::close(::creat(folder + "/readable.wma", 0600)) != 0 ||
            ::close(::creat(folder + "/locked.wma", 0000)) != 0 || ::mkfifo(folder + "/pipe.wma", 0600) != 0)
            return QStringLiteral("cannot make the files in ") + dir.path();
        const std::pair<const char*, const char*> cases[] = {
            {"readable.wma", ""},
            {"pipe.wma", ""}, // must not wait for a writer
            {"locked.wma", "Permission denied"},
            {"missing.wma", "No such file or directory"},
            {"", "Is a directory"},
        };
        QStringList faults;
        for (const auto& [name, reason] : cases)
            if (const QString problem = fileReadProblem(folder + '/' + name);
                problem != QLatin1String(reason))
                faults << QStringLiteral("%1: \"%2\"").arg(QLatin1String(name), problem);
        return faults.join(QStringLiteral(", "));
    };
    EXPECT_TRUE(passesAsUnprivilegedUser(unexpectedReasons));
}
