// The system's own dialogs as the program shows them (the open-picture dialog), filled in with the
// robot's keyboard and mouse.
#pragma once

#include "tests/e2e/robot.h"

#include <functional>
#include <string>

namespace e2e {

// Waits for the system's open-file dialog of the process, types a full path into its file-name field
// and presses Enter; true once the dialog is gone. filledIn, when given, sees the dialog with the path
// typed, before Enter (a screenshot, say).
bool ChooseFileInOpenDialog(Robot& robot, DWORD processId, const std::wstring& path, DWORD timeoutMs = 10000,
                            const std::function<void(HWND dialog)>& filledIn = {});

} // namespace e2e
