#include "UnhandledError.h"

#include "MessageBoxes.h"

QString unhandledErrorText(const QuillonError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(QString::number(error.Number), error.Description);
}

void reportUnhandledError(MessageBoxes& messages, const QuillonError& error) {
    skipErrors([&] { messages.showError(unhandledErrorText(error), QStringLiteral("Vantrel Quillon")); });
}
