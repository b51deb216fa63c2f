#include "MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <random>
#include <unistd.h>

MediaFixtures::MediaFixtures() : m_dir(QDir::tempPath() + QStringLiteral("/quillon-media-XXXXXX")) {}

// QTemporaryDir cannot remove names that are not UTF-8: files go by their bytes first.
MediaFixtures::~MediaFixtures() {
    if (!m_dir.isValid())
        return;
    if (DIR* dir = opendir(folder().constData())) {
        while (const dirent* entry = readdir(dir))
            if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
                unlink(path(entry->d_name).constData());
        closedir(dir);
    }
}

QByteArray MediaFixtures::folder() const {
    return QFile::encodeName(m_dir.path());
}

QByteArray MediaFixtures::path(const QByteArray& name) const {
    return folder() + '/' + name;
}

QByteArray MediaFixtures::makeWma(const QByteArray& name, int channels, double seconds) {
    const QString length = QString::number(seconds);
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                          QStringLiteral("sine=frequency=440:sample_rate=44100:duration=") + length};
    if (channels > 2)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
                  << QStringLiteral("sine=frequency=660:sample_rate=44100:duration=") + length
                  << QStringLiteral("-map") << QStringLiteral("0") << QStringLiteral("-map")
                  << QStringLiteral("1");
    arguments << QStringLiteral("-ac") << QString::number(std::min(channels, 2)) << QStringLiteral("-c:a")
              << QStringLiteral("wmav2") << QStringLiteral("-b:a") << QStringLiteral("64k")
              << QStringLiteral("-f") << QStringLiteral("asf");
    return runFfmpeg(name, arguments);
}

QByteArray MediaFixtures::makeWmv(const QByteArray& name, double seconds, int width, int height) {
    const QString length = QString::number(seconds);
    return runFfmpeg(
        name, {QStringLiteral("-f"),
               QStringLiteral("lavfi"),
               QStringLiteral("-i"),
               QStringLiteral("testsrc2=size=%1x%2:rate=25:duration=%3").arg(width).arg(height).arg(length),
               QStringLiteral("-f"),
               QStringLiteral("lavfi"),
               QStringLiteral("-i"),
               QStringLiteral("sine=frequency=440:sample_rate=44100:duration=") + length,
               QStringLiteral("-c:v"),
               QStringLiteral("wmv2"),
               QStringLiteral("-b:v"),
               QStringLiteral("600k"),
               QStringLiteral("-g"),
               QStringLiteral("25"),
               QStringLiteral("-c:a"),
               QStringLiteral("wmav2"),
               QStringLiteral("-b:a"),
               QStringLiteral("64k"),
               QStringLiteral("-ac"),
               QStringLiteral("2"),
               QStringLiteral("-f"),
               QStringLiteral("asf")});
}

QByteArray MediaFixtures::makeCorrupt(const QByteArray& name) {
    static const unsigned char asfHeader[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    QByteArray content(reinterpret_cast<const char*>(asfHeader), sizeof asfHeader);
    std::mt19937 noise(1234);
    for (int i = 0; i < 8192; ++i)
        content.append(static_cast<char>(noise() & 0xFF));
    return makeFile(name, content);
}

QByteArray MediaFixtures::makeFile(const QByteArray& name, const QByteArray& content) {
    const QByteArray target = path(name);
    std::FILE* file = std::fopen(target.constData(), "wb");
    if (!file || (!content.isEmpty() &&
                  std::fwrite(content.constData(), 1, content.size(), file) != size_t(content.size()))) {
        m_error = QStringLiteral("cannot write %1").arg(QString::fromLocal8Bit(target));
        if (file)
            std::fclose(file);
        return {};
    }
    std::fclose(file);
    return target;
}

// ffmpeg writes under a plain name; the file then takes its real name byte for byte.
QByteArray MediaFixtures::runFfmpeg(const QByteArray& name, const QStringList& arguments) {
    const QString plain = m_dir.filePath(QStringLiteral("made-%1.tmp").arg(++m_made));
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y")}
                     << arguments << plain);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        m_error = QStringLiteral("ffmpeg failed: ") + ffmpeg.errorString() + ' ' +
                  QString::fromLocal8Bit(ffmpeg.readAll());
        return {};
    }
    const QByteArray target = path(name);
    if (std::rename(QFile::encodeName(plain).constData(), target.constData()) != 0) {
        m_error = QStringLiteral("cannot rename to %1").arg(QString::fromLocal8Bit(target));
        return {};
    }
    return target;
}
