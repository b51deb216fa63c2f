#pragma once

class frmSessions;

// Runs the program on its catalogue window: start-up, then the event loop while the catalogue
// lives. An error out of start-up is shown and ends the program; returns the exit code.
int runProgram(frmSessions& catalogue);
