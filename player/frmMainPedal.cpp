// The foot pedal poll: button edges become play, pause and rate commands.
#include "frmMain.h"

void frmMain::tmrFoot_Timer() {}
