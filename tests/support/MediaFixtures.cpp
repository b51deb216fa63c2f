#include "MediaFixtures.h"

#include "FrameCode.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

// QTemporaryDir cannot remove names that are not UTF-8: the folder goes by its bytes first.
MediaFixtures::~MediaFixtures() {
    std::error_code ignored;
    std::filesystem::remove_all(folder().toStdString(), ignored);
}

QByteArray MediaFixtures::folder() const {
    return QFile::encodeName(m_dir.path());
}

QByteArray MediaFixtures::path(const QByteArray& name) const {
    return folder() + '/' + name;
}

QByteArray MediaFixtures::makeWma(const QByteArray& name, int channels, double seconds) {
    const QString sine = QStringLiteral("-f lavfi -i sine=frequency=%1:sample_rate=44100:duration=%2 ");
    QString arguments = sine.arg(440).arg(seconds);
    if (channels > 2)
        arguments += sine.arg(660).arg(seconds) + QStringLiteral("-map 0 -map 1 ");
    arguments += QStringLiteral("-ac %1 -c:a wmav2 -b:a 64k -f asf").arg(std::min(channels, 2));
    return runFfmpeg(name, arguments.split(QLatin1Char(' ')));
}

QByteArray MediaFixtures::makeWmv(const QByteArray& name, double seconds, int width, int height) {
    // The frame number across the top: a grey band of two rows of cells, bit i of the number lighting
    // cell i of the upper row and its complement lighting cell i of the lower one.
    QString picture = QString::asprintf("testsrc2=size=%dx%d:rate=25:duration=%g,"
                                        "drawbox=x=0:y=0:w=iw:h=ih/8:color=0x606060:t=fill",
                                        width, height, seconds);
    for (int bit = 0; bit < FrameCode::kBits; ++bit)
        for (const bool lower : {false, true})
            picture += QString::asprintf(",drawbox=x=iw*%d/%d:y=%s:w=iw/%d:h=ih/16:color=white:t=fill:"
                                         "enable='%s(mod(floor(n/%d),2))'",
                                         bit, FrameCode::kBits, lower ? "ih/16" : "0", FrameCode::kBits,
                                         lower ? "not" : "", 1 << bit);
    // about a tenth of a bit per pixel, as recordings have; never below what small ones need
    const int bitrate = std::max(600000, width * height * 25 / 10);
    return runFfmpeg(name,
                     QString::asprintf("-f lavfi -i %s -f lavfi -i sine=frequency=440:sample_rate=44100:"
                                       "duration=%g -c:v wmv2 -b:v %d -g 25 -c:a wmav2 -b:a 64k -ac 2 -f asf",
                                       qPrintable(picture), seconds, bitrate)
                         .split(QLatin1Char(' ')));
}

QByteArray MediaFixtures::makeFile(const QByteArray& name, const QByteArray& content) {
    const QByteArray target = path(name);
    std::ofstream file(target.constData(), std::ios::binary);
    if (!file.write(content.constData(), content.size()).flush()) {
        qWarning("cannot write %s", target.constData());
        return {};
    }
    return target;
}

QByteArray MediaFixtures::makeCut(const QByteArray& name, const QByteArray& from, int bytes) {
    QFile whole(QFile::decodeName(from));
    return whole.open(QIODevice::ReadOnly) ? makeFile(name, whole.read(bytes)) : QByteArray();
}

// ffmpeg writes under a plain name; the file then takes its real name byte for byte.
QByteArray MediaFixtures::runFfmpeg(const QByteArray& name, const QStringList& arguments) {
    const QString plain = m_dir.filePath(QStringLiteral("made-%1.tmp").arg(++m_made));
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringLiteral("-hide_banner -loglevel error -nostdin -y").split(QLatin1Char(' '))
                     << arguments << plain);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed: %s %s", qPrintable(ffmpeg.errorString()), ffmpeg.readAll().constData());
        return {};
    }
    const QByteArray target = path(name);
    if (std::rename(QFile::encodeName(plain).constData(), target.constData()) != 0) {
        qWarning("cannot rename to %s", target.constData());
        return {};
    }
    return target;
}
