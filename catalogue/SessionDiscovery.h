#pragma once

#include "SessionData.h"

#include <QList>
#include <QVector>

class AppLog;

// Whether a bare file name takes part in the catalogue: the "*.wm?" rule, that is the name ends,
// letter case ignored, in ".wm" plus at most one more character, and is not hidden.
bool isMediaFileName(const QByteArray& name);

// The media file names in folder, in the directory's own order: regular files only, no hidden
// ones, matching isMediaFileName(). A list rather than one joined text, since a name on Linux
// may itself contain "||".
QList<QByteArray> GetFilenames(AppLog& log, const QByteArray& folder);

// The record of one media file in folder, from its name (Location_Date_StartSeconds_Group.Ext). A
// name without the fields yields the defaults; an odd StartSeconds is logged and kept at 0.
SessionData GetSessionData(AppLog& log, const QByteArray& folder, const QByteArray& fileName);

// Adds record at the end of sessions; equal records stay separate entries.
void UpdateSessionData(AppLog& log, QVector<SessionData>& sessions, const SessionData& record);
