#include "ProgramStart.h"

#include "ErrorHandling.h"
#include "MessageBoxes.h"
#include "ProgramEnd.h"
#include "UnhandledError.h"
#include "frmSessions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

std::unique_ptr<QTemporaryDir> keepLibrariesOutOfHome() {
    // The sound client's cookie is used where it already is; it is never made.
    const QString configHome = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")
                                   ? QDir::homePath() + QStringLiteral("/.config")
                                   : qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString cookie = configHome + QStringLiteral("/pulse/cookie");
    if (qEnvironmentVariableIsEmpty("PULSE_COOKIE") && QFile::exists(cookie))
        qputenv("PULSE_COOKIE", QFile::encodeName(cookie));
    // Without a session bus, connecting would start one by X11 autolaunch, which writes ~/.dbus.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        const QString runtimeBus = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && QFile::exists(runtimeBus)
                    ? "unix:path=" + QFile::encodeName(runtimeBus)
                    : QByteArray("disabled:"));
    }
    auto place = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillon-XXXXXX"));
    if (!place->isValid()) // TMPDIR names a folder that is missing or closed to us
        place = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/quillon-XXXXXX"));
    if (!place->isValid())
        return place; // nowhere better: the libraries write where they would
    removeWhenProgramEnds(QFile::encodeName(place->path()));
    const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", "/config"},
                                                           {"XDG_CACHE_HOME", "/cache"},
                                                           {"XDG_DATA_HOME", "/data"},
                                                           {"XDG_STATE_HOME", "/state"}};
    for (const auto& [variable, folder] : folders)
        qputenv(variable, QFile::encodeName(place->path() + QLatin1String(folder)));
    // Without a runtime folder Qt makes one in the temporary folder and leaves it there.
    const QByteArray runtime = QFile::encodeName(place->path() + QStringLiteral("/runtime"));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && mkdir(runtime.constData(), 0700) == 0)
        qputenv("XDG_RUNTIME_DIR", runtime);
    return place;
}

void useOwnToolkitPlugins() {
    const QString folder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    const QString plugins = QFileInfo(folder + QStringLiteral("/quillon-libs/plugins")).canonicalFilePath();
    if (plugins.isEmpty())
        return; // not on a disc: the system's plugins, as for any Qt program
    // The application object adds the program's folder to the plugin folders unless it was in the
    // first list and taken out before; QT_PLUGIN_PATH is read for that first list only.
    qputenv("QT_PLUGIN_PATH", QFile::encodeName(folder));
    QCoreApplication::setLibraryPaths({plugins});
    qunsetenv("QT_PLUGIN_PATH");
    qunsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
    // The one platform the disc carries; on a Wayland desktop it draws through Xwayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
}

int runProgram(frmSessions& catalogue, MessageBoxes& messages) {
    endOnSignals(&catalogue, [&catalogue] { catalogue.unload(); });
    try {
        catalogue.Form_Load();
    } catch (...) {
        // Before the catalogue could show there is nothing the user could go on with.
        reportUnhandledError(messages, currentError());
        return 1;
    }
    if (catalogue.isUnloaded())
        return 0;
    return QApplication::exec();
}
