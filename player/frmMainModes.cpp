// Window modes: overlay (held on top) and details (collapsed to the video or expanded).
#include "frmMain.h"

void frmMain::picMain_Click() {}
void frmMain::lblMin_Click() {}
