// Transport controls: play, pause, the scan boxes, the speed slider and full screen.
#include "frmMain.h"

void frmMain::cmbPlay_Click() {}
void frmMain::cmbPause_Click() {}
void frmMain::chkScanBack_Click() {}
void frmMain::chkScanForward_Click() {}
void frmMain::sldRate_Click() {}
void frmMain::cmbFullScreen_Click() {}
