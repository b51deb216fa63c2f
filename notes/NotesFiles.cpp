#include "NotesFiles.h"

#include <QString>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace NotesFiles {
namespace {

bool usableName(const QByteArray& name) {
    return !name.contains('/') && !name.contains('\0');
}

bool isOrdinaryFile(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Equal but for letter case: ASCII letters in any name, and all of Unicode's where both names
// are UTF-8.
bool sameIgnoringCase(const QByteArray& a, const QByteArray& b) {
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    if (a.isValidUtf8() && b.isValidUtf8())
        return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
    return false;
}

// Every entry of a folder, read once for all candidates; empty when it cannot be read.
QList<QByteArray> entriesOf(const QByteArray& folder) {
    QList<QByteArray> names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir))
        names << QByteArray(entry->d_name);
    ::closedir(dir);
    return names;
}

} // namespace

QList<QByteArray> candidateNames(const QByteArray& mediaName) {
    QList<QByteArray> names;
    const auto add = [&](qsizetype cut, const char* suffix) {
        if (cut < 0)
            return;
        const QByteArray name = mediaName.left(cut) + suffix;
        if (usableName(name))
            names << name;
    };
    const qsizetype dot = mediaName.lastIndexOf('.');
    add(dot < 0 ? -1 : dot + 1, "xml");
    add(mediaName.lastIndexOf('_'), ".xml");
    return names;
}

std::optional<QByteArray> findFirst(const QByteArray& folder, const QList<QByteArray>& candidates) {
    std::optional<QList<QByteArray>> entries; // listed only when an exact name is missing
    for (const QByteArray& candidate : candidates) {
        if (isOrdinaryFile(folder + '/' + candidate))
            return folder + '/' + candidate;
        if (!entries) {
            entries = entriesOf(folder);
            std::sort(entries->begin(), entries->end());
        }
        for (const QByteArray& entry : std::as_const(*entries)) {
            if (entry != candidate && sameIgnoringCase(entry, candidate) &&
                isOrdinaryFile(folder + '/' + entry))
                return folder + '/' + entry;
        }
    }
    return std::nullopt;
}

} // namespace NotesFiles
