#include "UnhandledError.h"

#include "MessageBoxes.h"

QString unhandledErrorText(const QuillonError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.Number).arg(error.Description);
}

void reportUnhandledError(const QuillonError& error) {
    skipErrors([&] { MessageBoxes::error(unhandledErrorText(error), QStringLiteral("Vantrel Quillon")); });
}
