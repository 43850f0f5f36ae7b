// The program's start-up steps: the process-wide state of the picture formats and of the skin
// library, in the order the program prepares it before the main window exists.
#pragma once

class TStartup;

void AddProgramStartupSteps(TStartup& startup);
