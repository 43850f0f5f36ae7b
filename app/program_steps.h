// The program's start-up, written once: the common controls, the ordered steps that prepare the
// process-wide state of the picture formats and of the skin library, the links of the form-skinning
// layer and the application. The program block, the tests and the benchmark start the same way.
#pragma once

#include "framework/Startup.h"

// Adds the ordered process-wide steps (TStartup runs them by their place in the order).
void AddProgramStartupSteps(TStartup& startup);

// Starts everything the program prepares before its main window exists, and finishes it in reverse
// when it goes (after the main window is gone).
class TProgramStart {
public:
    // Without the application, start-up stops after the skin links (for test programs that make the
    // application themselves).
    explicit TProgramStart(bool withApplication = true);
    ~TProgramStart();
    TProgramStart(const TProgramStart&) = delete;
    TProgramStart& operator=(const TProgramStart&) = delete;

private:
    TStartup startup_;
    bool withApplication_;
};
