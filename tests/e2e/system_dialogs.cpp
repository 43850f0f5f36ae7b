// The system's own dialogs, filled in with the robot's keyboard and mouse.
#include "tests/e2e/system_dialogs.h"

#include <dlgs.h>

namespace e2e {

namespace {

// The file-name field: an edit inside the file-name combo box (cmb13) or the plain edt1 of older dialogs.
HWND FileNameField(HWND dialog)
{
    if (HWND combo = GetDlgItem(dialog, cmb13))
        if (HWND edit = FindChildWindow(combo, L"Edit"))
            return edit;
    if (HWND edit = GetDlgItem(dialog, edt1))
        return edit;
    return FindChildWindow(dialog, L"Edit");
}

} // namespace

bool ChooseFileInOpenDialog(Robot& robot, DWORD processId, const std::wstring& path, DWORD timeoutMs,
                            const std::function<void(HWND dialog)>& filledIn)
{
    HWND dialog = WaitForTopWindow({processId, L"#32770", {}, true}, timeoutMs);
    if (!dialog)
        return false;
    HWND field = nullptr;
    if (!WaitUntil([&] { return (field = FileNameField(dialog)) != nullptr; }, timeoutMs))
        return false;
    robot.WaitIdle(dialog);
    robot.Click(field, ClientCentre(field));
    robot.TypeText(path);
    if (!WaitUntil([&] { return WindowCaption(field) == path; }, timeoutMs))
        return false;
    if (filledIn)
        filledIn(dialog);
    robot.PressKey(VK_RETURN);
    return WaitForWindowGone(dialog, timeoutMs);
}

} // namespace e2e
