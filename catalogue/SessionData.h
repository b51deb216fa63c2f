#pragma once

#include <QByteArray>
#include <QString>

// One catalogue entry, built from one media file name alone.
struct SessionData {
    QString Location;
    QString SessionDate;
    QString Filename; // the bare name as shown (invalid UTF-8 as replacement characters)
    qint32 StartSeconds = 0;
    int Channels = 0;
    bool Video = false;
    QByteArray FileBytes; // the exact name on disc, for opening the file
};
