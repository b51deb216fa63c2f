#include "PlatformChecks.h"

#include "ErrorHandling.h"
#include "MediaPlayer.h"
#include "Numbers.h"

namespace {
struct Release {
    const char* registryText;
    const char* label;
};
constexpr Release kReleases[] = {
    {"4.02.0095", "1.0"},       {"4.03.00.1096", "2.0"},   {"4.04.0068", "3.0"},
    {"4.04.0069", "3.0"},       {"4.05.00.0155", "5.0"},   {"4.05.01.1721", "5.0"},
    {"4.05.01.1998", "5.0"},    {"4.06.02.0436", "6.0"},   {"4.07.00.0700", "7.0"},
    {"4.07.00.0716", "7.0a"},   {"4.08.00.0400", "8.0"},   {"4.08.01.0881", "8.1"},
    {"4.08.01.0810", "8.1"},    {"4.09.0000.0900", "9.0"}, {"4.09.0000.0901", "9.0a"},
    {"4.09.0000.0902", "9.0b"}, {"4.09.00.0904", "9.0c"},
};
} // namespace

Registry builtInRegistry() {
    return {{kDirectXVersionKey, QStringLiteral("4.09.00.0904")}};
}

QString GetMediaPlayerVersion(const MediaFactory& media) {
    QString version;
    skipErrors([&] {
        if (!media.versionInfo)
            raiseObjectNotSet();
        version = media.versionInfo();
    });
    return version;
}

QString directXLabel(const QString& registryText) {
    for (const Release& release : kReleases)
        if (registryText == QLatin1String(release.registryText))
            return QLatin1String(release.label);
    return QString();
}

QString GetDirectXVersion(AppLog& log, const Registry& registry) {
    return logAndRaise(log, SourceModule::basGlobals + QStringLiteral(".GetDirectXVersion()"),
                       [&] { return directXLabel(ReadKey(registry, kDirectXVersionKey)); });
}

QString ReadKey(const Registry& registry, const QString& keyPath) {
    QString result;
    skipErrors([&] { result = registry.value(keyPath); });
    return result;
}

bool versionPasses(const QString& versionText) {
    return numericValue(versionText) >= 9;
}
