#pragma once

// Small notes documents shared by the reader tests and the player window tests.
#include <QByteArray>
#include <QStringList>
#include <cstdio>

namespace NotesFixtures {

inline const QByteArray exampleDocument = R"(<session>
  <header><items><item name='Room' value='Hall 2'/><item name='Recorder' value='Unit 7'/></items></header>
  <duration>1:12:45</duration><started>9:30:00 AM</started><finished>10:42:45 AM</finished>
  <notes>
    <note><time>09:31:10</time><speaker>Chair</speaker><text>Opening remarks</text></note>
    <note><time>10:05:02 AM</time><speaker>Member</speaker><text>Item 4 taken up</text></note>
  </notes>
</session>)";

// A document with one note per (time, speaker, text) and no header.
inline QByteArray notesDocument(const QList<QStringList>& notes, const QByteArray& extra = {}) {
    QByteArray xml = "<session>" + extra + "<notes>";
    for (const QStringList& n : notes)
        xml += "<note><time>" + n.value(0).toUtf8() + "</time><speaker>" + n.value(1).toUtf8() +
               "</speaker><text>" + n.value(2).toUtf8() + "</text></note>";
    return xml + "</notes></session>";
}

// By bytes: names may be anything a file system takes, also names that are not UTF-8.
inline void writeFile(const QByteArray& path, const QByteArray& bytes) {
    FILE* f = std::fopen(path.constData(), "wb");
    if (!f)
        qFatal("cannot write fixture %s", path.constData());
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f);
    std::fclose(f);
}

} // namespace NotesFixtures
