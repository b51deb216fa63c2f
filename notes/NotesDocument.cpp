#include "NotesDocument.h"
