// The system's own dialogs as the program shows them (the open-picture dialog), filled in with the
// robot's keyboard and mouse.
#pragma once

#include "tests/e2e/robot.h"

#include <string>

namespace e2e {

// Waits for the system's open-file dialog of the process, types a full path into its file-name field
// and presses Enter; true once the dialog is gone.
bool ChooseFileInOpenDialog(Robot& robot, DWORD processId, const std::wstring& path, DWORD timeoutMs = 10000);

} // namespace e2e
