#pragma once

#include <QHash>
#include <QString>
#include <optional>

struct PlayerServices;

// The registry path of the DirectX version, as the checks ask for it.
inline const QString kDirectXVersionKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX\\Version");

// The media component's version text, read through one load and unload of the player window;
// empty when the component is missing or the read fails.
QString GetMediaPlayerVersion(const PlayerServices& services);

// The DirectX release label of the version the registry holds; empty when it is not in the table.
QString GetDirectXVersion();

// The release label of one registry text, matched exactly; empty when it is not in the table.
QString directXLabel(const QString& registryText);

// A value of the built-in read-only registry; empty when it does not exist.
QString ReadKey(const QString& keyPath);

// Tests put a registry of their own in place of the built-in one; nullopt restores it.
void setRegistryForTests(std::optional<QHash<QString, QString>> registry);

// The start-up verdict on a version text: its leading number is 9 or more.
bool versionPasses(const QString& versionText);
