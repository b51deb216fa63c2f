#include "PlatformChecks.h"

#include "ErrorHandling.h"
#include "TimeText.h"
#include "frmMain.h"

#include <QPointer>

namespace {
// The input layer is part of the program, so the registry answers with the newest DirectX 9.
const QHash<QString, QString>& builtInRegistry() {
    static const QHash<QString, QString> registry{{kDirectXVersionKey, QStringLiteral("4.09.00.0904")}};
    return registry;
}

std::optional<QHash<QString, QString>>& testRegistry() {
    static std::optional<QHash<QString, QString>> registry;
    return registry;
}

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

QString GetMediaPlayerVersion(const PlayerServices& services) {
    QString version;
    QPointer<frmMain> window;
    skipErrors([&] { window = frmMain::load(services); });
    if (window) {
        skipErrors([&] {
            if (!window->player())
                raiseError(ErrNo::ObjectNotSet,
                           QStringLiteral("Object variable or With block variable not set"));
            version = window->player()->versionInfo();
        });
        skipErrors([&] { window->unload(); });
        delete window.data(); // nothing else holds it: do not leave it to a later event loop
    }
    return version;
}

QString directXLabel(const QString& registryText) {
    for (const Release& release : kReleases)
        if (registryText == QLatin1String(release.registryText))
            return QLatin1String(release.label);
    return QString();
}

QString GetDirectXVersion() {
    return logAndRaise(SourceModule::basGlobals + QStringLiteral(".GetDirectXVersion()"),
                       [&] { return directXLabel(ReadKey(kDirectXVersionKey)); });
}

QString ReadKey(const QString& keyPath) {
    QString result;
    skipErrors([&] {
        const QHash<QString, QString>& registry = testRegistry() ? *testRegistry() : builtInRegistry();
        result = registry.value(keyPath);
    });
    return result;
}

void setRegistryForTests(std::optional<QHash<QString, QString>> registry) {
    testRegistry() = std::move(registry);
}

bool versionPasses(const QString& versionText) {
    return numericValue(versionText) >= 9;
}
