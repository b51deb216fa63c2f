#pragma once

#include <QHash>
#include <QString>

class AppLog;
struct MediaFactory;

// The registry path of the DirectX version, as the checks ask for it.
inline const QString kDirectXVersionKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX\\Version");

// A read-only registry: values by key path.
using Registry = QHash<QString, QString>;

// The registry the program reads: the input layer is part of the program, so it answers with the
// newest DirectX 9; every other key is missing.
Registry builtInRegistry();

// The media component's version text; empty when the component is missing or the read fails.
QString GetMediaPlayerVersion(const MediaFactory& media);

// The DirectX release label of the version the registry holds; empty when it is not in the table.
QString GetDirectXVersion(AppLog& log, const Registry& registry);

// The release label of one registry text, matched exactly; empty when it is not in the table.
QString directXLabel(const QString& registryText);

// A value of the registry; empty when it does not exist.
QString ReadKey(const Registry& registry, const QString& keyPath);

// The start-up verdict on a version text: its leading number is 9 or more.
bool versionPasses(const QString& versionText);
