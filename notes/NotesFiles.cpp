#include "NotesFiles.h"

#include <sys/stat.h>

namespace NotesFiles {
namespace {
bool usableName(const QByteArray& name) {
    return !name.contains('/') && !name.contains('\0');
}

} // namespace

std::optional<QByteArray> dropLastCharacters(const QByteArray& name, int n) {
    qsizetype end = name.size();
    for (int i = 0; i < n; ++i) {
        if (end == 0)
            return std::nullopt;
        // One character back: a whole UTF-8 sequence when the bytes form one, else one byte.
        qsizetype start = end - 1;
        const auto byteAt = [&](qsizetype k) { return static_cast<unsigned char>(name[k]); };
        if (byteAt(start) >= 0x80) {
            qsizetype lead = start;
            while (lead > 0 && lead > end - 4 && (byteAt(lead) & 0xC0) == 0x80)
                --lead;
            const unsigned char b = byteAt(lead);
            const qsizetype length = b >= 0xF0 && b <= 0xF4  ? 4
                                     : b >= 0xE0 && b < 0xF0 ? 3
                                     : b >= 0xC2 && b < 0xE0 ? 2
                                                             : 0;
            if (length == end - lead)
                start = lead;
        }
        end = start;
    }
    return name.left(end);
}

QList<QByteArray> candidatePaths(const QByteArray& folder, const QByteArray& mediaName) {
    QList<QByteArray> paths;
    const auto add = [&](const std::optional<QByteArray>& stem, const char* suffix) {
        if (stem && usableName(*stem))
            paths << folder + '/' + *stem + suffix;
    };
    add(dropLastCharacters(mediaName, 3), "xml");
    add(dropLastCharacters(mediaName, 6), ".xml");
    return paths;
}

std::optional<QByteArray> findFor(const QByteArray& folder, const QByteArray& mediaName) {
    for (const QByteArray& path : candidatePaths(folder, mediaName)) {
        struct stat info {};
        if (::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            return path;
    }
    return std::nullopt;
}

} // namespace NotesFiles
