// The robot fills in the system's open-file dialog the way the program's picture browser shows it:
// tried on a dialog of the test itself, whose answer is known.
#include "tests/e2e/system_dialogs.h"
#include "tests/support/test_support.h"

#include <commdlg.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace e2e;

class OpenDialogTest : public testsupport::TempFolderTest {};

TEST_F(OpenDialogTest, TypedFullPathIsTheChosenFile)
{
    const std::wstring picture = PathOf(L"Фото блюда.jpg");
    testsupport::WriteFileBytes(picture, "\xFF\xD8\xFF\xD9");
    std::wstring chosen;
    BOOL answered = FALSE;
    // The dialog runs its own loop on a thread of its own, as in the program; the robot drives it.
    std::thread owner([&] {
        wchar_t file[MAX_PATH] = {};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.lpstrFilter = L"JPEG\0*.jpg;*.jpeg\0\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = Folder().c_str();
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
        answered = GetOpenFileNameW(&ofn);
        chosen = file;
    });
    Robot robot(GetCurrentProcess());
    bool done = ChooseFileInOpenDialog(robot, GetCurrentProcessId(), picture);
    if (!done)
        for (HWND wnd : FindTopWindows({GetCurrentProcessId(), L"#32770", {}, true}))
            PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
    owner.join();
    ASSERT_TRUE(done) << "the dialog was not filled in";
    EXPECT_TRUE(answered);
    EXPECT_EQ(chosen, picture);
}

} // namespace
