#pragma once

#include <QTemporaryDir>
#include <memory>

class MessageBoxes;
class frmSessions;

// What the libraries the program loads would write under the user's home (the toolkit's and the
// sound client's caches and settings, its runtime folder where the session has none, the session
// bus's X11 autolaunch) goes to a private folder in the temporary folder (/tmp where TMPDIR is
// missing); no setting is read from the user's folders either. The folder goes with the returned
// object, and also however else the program ends. Call before the application object exists.
std::unique_ptr<QTemporaryDir> keepLibrariesOutOfHome();

// On a disc (the program's folder holds quillon-libs/plugins) the toolkit loads plugins from there
// only, whatever the environment names, and draws through X11; elsewhere (the build tree) it uses
// the system's. Call before the application object exists.
void useOwnToolkitPlugins();

// Runs the program on its catalogue window: start-up, then the event loop while the catalogue
// lives; SIGTERM, SIGINT and SIGHUP end it as closing the catalogue does. An error out of start-up
// is shown in `messages` and ends the program; returns the exit code.
int runProgram(frmSessions& catalogue, MessageBoxes& messages);
