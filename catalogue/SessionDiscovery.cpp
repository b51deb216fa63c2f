#include "SessionDiscovery.h"

#include "ErrorHandling.h"
#include "NotesFiles.h"
#include "Numbers.h"
#include "Platform.h"
#include "RecordingStart.h"

#include <QStringDecoder>

#include <dirent.h>
#include <limits>
#include <memory>
#include <sys/stat.h>

namespace {
constexpr int kPathNotFound = 76;

QString procName(const char* name) {
    return SourceModule::frmSessions + QLatin1String(name);
}

bool isDotWm(const char* p) {
    return p[0] == '.' && (p[1] == 'w' || p[1] == 'W') && (p[2] == 'm' || p[2] == 'M');
}

// One character as a user sees it: a single byte, or one well-formed UTF-8 sequence.
bool isOneCharacter(QByteArrayView tail) {
    if (tail.size() == 1)
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(tail);
    if (decoder.hasError())
        return false;
    return text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate());
}

bool isRegularFile(int dirFd, const dirent* entry) {
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    struct stat info {};
    return fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
} // namespace

bool isMediaFileName(const QByteArray& name) {
    if (name.isEmpty() || name.startsWith('.'))
        return false;
    const qsizetype n = name.size();
    for (qsizetype tail = 0; tail <= 4; ++tail) {
        if (n < tail + 3 || !isDotWm(name.constData() + n - tail - 3))
            continue;
        if (tail == 0 || isOneCharacter(QByteArrayView(name).last(tail)))
            return true;
    }
    return false;
}

QList<QByteArray> GetFilenames(AppLog& log, const QByteArray& folder) {
    return logAndRaise(log, procName(".GetFilenames()"), [&] {
        QList<QByteArray> result;
        std::unique_ptr<DIR, DirCloser> dir(opendir(folder.constData()));
        if (!dir)
            raiseError(kPathNotFound, QStringLiteral("Path not found: ") + displayFileName(folder));
        const int fd = dirfd(dir.get());
        while (const dirent* entry = readdir(dir.get())) {
            const QByteArray name(entry->d_name);
            if (isMediaFileName(name) && isRegularFile(fd, entry))
                result.append(name);
        }
        return result;
    });
}

SessionData GetSessionData(AppLog& log, const QByteArray& folder, const QByteArray& fileName) {
    return logAndRaise(log, procName(".GetSessionData()"), [&] {
        SessionData record;
        const QString name = displayFileName(fileName);
        record.Filename = name;
        record.Folder = folder;
        record.FileBytes = fileName;
        // What the player reads of the same name, read here once.
        record.RecordingStart = RecordingStart::fromFilename(name);
        record.NotesCandidates = NotesFiles::candidateNames(fileName);

        const qsizetype p1 = name.indexOf(QLatin1Char('_'));
        if (p1 <= 0)
            return record;
        record.Location = name.left(p1);
        const qsizetype p2 = name.indexOf(QLatin1Char('_'), p1 + 1);
        if (p2 < 0)
            return record;
        record.SessionDate = name.mid(p1 + 1, p2 - p1 - 1);

        // A start beyond 32 bits is logged and left at 0: one odd name must not hide the disc.
        const double start = roundHalfEven(numericValue(QStringView(name).mid(p2 + 1)));
        logAndCarryOn(log, procName(".GetSessionData()"), [&] {
            if (!(start >= std::numeric_limits<qint32>::min() && start <= std::numeric_limits<qint32>::max()))
                raiseError(ErrNo::Overflow, QStringLiteral("Overflow: start seconds of ") + name);
            record.StartSeconds = static_cast<qint32>(start);
        });

        const qsizetype p3 = name.indexOf(QLatin1Char('_'), p2 + 1);
        if (p3 >= 0) {
            const double group = numericValue(QStringView(name).mid(p3 + 1, 1));
            record.Channels = group == 1 ? 2 : group == 2 ? 4 : 0;
        }
        record.Video = name.right(3).toUpper() == QLatin1String("WMV");
        return record;
    });
}

void UpdateSessionData(AppLog& log, QVector<SessionData>& sessions, const SessionData& record) {
    logAndRaise(log, procName(".UpdateSessionData()"), [&] { sessions.append(record); });
}
