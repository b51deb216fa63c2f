#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One media file of a disc, read once from its name (Location_Date_StartSeconds_Group.Ext): the
// catalogue lists it and hands it to the player whole.
struct SessionData {
    QString Location;
    QString SessionDate;
    QString Filename; // the bare name as shown (invalid UTF-8 as replacement characters)
    qint32 StartSeconds = 0;
    int Channels = 0;
    bool Video = false;

    QByteArray Folder;    // the disc folder that holds the file
    QByteArray FileBytes; // the exact name on disc, for opening the file and those beside it
    // Where the recording began, as the player's clock reads the name's date and start fields. The
    // list's StartSeconds reads the same name by rules of its own: a start beyond 32 bits is 0 there
    // (12:00:00 AM) while the clock takes a day off first (03:14:08 AM). Empty when the name has no
    // start field or its date is not a date.
    std::optional<QDateTime> RecordingStart;
    // The names its notes document may have, in the order they are tried.
    QList<QByteArray> NotesCandidates;

    // "Room3 - 12-14-2009": the player window's title.
    QString title() const { return Location + QStringLiteral(" - ") + SessionDate; }
    QByteArray path() const { return Folder + '/' + FileBytes; }
};
