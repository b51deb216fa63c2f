// Vantrel Quillon: the session player. It takes no arguments and reads no settings.
#include "AppLog.h"
#include "DesignedFonts.h"
#include "InputSystems.h"
#include "MessageBoxes.h"
#include "MpvPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "ProgramStart.h"
#include "frmSessions.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    returnFreedMemoryPromptly();
    const std::unique_ptr<QTemporaryDir> privateWrites = keepLibrariesOutOfHome();
    useOwnToolkitPlugins();
    // No argument changes anything, not even the toolkit's own options: it sees the program name only.
    static char programName[] = "quillon";
    char* toolkitArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, toolkitArgv);
    DesignedFonts::registerAll();                   // a desktop without them still shows the designed texts
    std::setlocale(LC_NUMERIC, "C");                // libmpv needs the C number format
    QApplication::setQuitOnLastWindowClosed(false); // the catalogue's unload ends the program

    SystemLog log;
    DesktopMessageBoxes messages;
    PedalDevices pedal(log);
    frmSessions catalogue({log, messages, mpvMediaFactory(log), pedal,
                           [] { return createPedalInputSystem(); }, programFolder()});
    messages.setParentWindow(&catalogue);
    return runProgram(catalogue, messages);
}
