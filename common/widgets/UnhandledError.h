#pragma once

// Where the error path meets the user: an error that reached the top of an event handler is shown
// in a modal message, and the program keeps running.
#include "ErrorHandling.h"

class MessageBoxes;

void reportUnhandledError(MessageBoxes& messages, const QuillonError& error);
QString unhandledErrorText(const QuillonError& error);
