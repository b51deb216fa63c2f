// The playback tick and note jumps.
#include "frmMain.h"

void frmMain::Timer1_Timer() {}
void frmMain::lvNotes_DblClick() {}
