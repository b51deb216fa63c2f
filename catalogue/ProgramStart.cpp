#include "ProgramStart.h"

#include "ErrorHandling.h"
#include "UnhandledError.h"
#include "MessageBoxes.h"
#include "frmSessions.h"

#include <QApplication>

int runProgram(frmSessions& catalogue) {
    MessageBoxes::setParentWindow(&catalogue);
    try {
        catalogue.Form_Load();
    } catch (...) {
        // Before the catalogue could show there is nothing the user could go on with.
        reportUnhandledError(currentError());
        return 1;
    }
    if (catalogue.isUnloaded())
        return 0;
    return QApplication::exec();
}
