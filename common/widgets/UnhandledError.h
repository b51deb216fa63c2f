#pragma once

// Where the error path meets the user: an error that reached the top of an event handler is shown
// in a modal message, and the program keeps running.
#include "ErrorHandling.h"

void reportUnhandledError(const QuillonError& error);
QString unhandledErrorText(const QuillonError& error);

// The top of an event handler: log and raise inside, then show the error in the modal message
// and keep running. Nothing ever crosses the Qt event loop.
template <typename F> void eventHandler(const QString& procName, F&& body) noexcept {
    try {
        logAndRaise(procName, std::forward<F>(body));
    } catch (...) {
        reportUnhandledError(currentError());
    }
}
