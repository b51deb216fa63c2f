#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Real Windows Media files made by ffmpeg at test time, in a temporary folder that goes with the object.
// WMA: wmav2 in ASF, a steady tone. ffmpeg's wmav2 encoder stops at two channels, so a four-channel
// recording is made as two stereo wmav2 streams in one file. WMV: wmv2 in ASF at 25 frames a second,
// ffmpeg's testsrc2 picture with its frame number drawn across the top (read back by FrameCode), and a
// stereo wmav2 track.
// Names are exact bytes and may be anything a file system takes, also names that are not UTF-8.
// Each maker returns the file's full path, or an empty array when it failed (and warns why).
class MediaFixtures {
  public:
    ~MediaFixtures();

    QByteArray folder() const;
    QByteArray path(const QByteArray& name) const;

    QByteArray makeWma(const QByteArray& name, int channels, double seconds);
    QByteArray makeWmv(const QByteArray& name, double seconds, int width = 320, int height = 240);
    QByteArray makeFile(const QByteArray& name, const QByteArray& content);
    // The first `bytes` of a file made before (`from`, a full path): a copy cut short.
    QByteArray makeCut(const QByteArray& name, const QByteArray& from, int bytes);

  private:
    QByteArray runFfmpeg(const QByteArray& name, const QStringList& arguments);

    QTemporaryDir m_dir;
    int m_made = 0;
};
