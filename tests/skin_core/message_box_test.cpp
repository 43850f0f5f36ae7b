// The library's message box: flags and captions by type, and the real box under Wine.
#include "skin/core/sMessageBox.h"
#include "skin/core/sVclUtils.h"

#include "tests/skin_core/message_box_watcher.h"
#include "tests/support/test_support.h"

namespace {

TEST(MessageBox, ConfirmationWithYesNoCancel)
{
    const TMessageBoxStyle s = MessageBoxStyle(L"", mtConfirmation, Buttons({mbYes, mbNo, mbCancel}));
    EXPECT_EQ(s.Flags, static_cast<unsigned>(MB_ICONQUESTION | MB_YESNOCANCEL));
    EXPECT_EQ(s.Caption, L"Confirm");
}

TEST(MessageBox, AbortOrIgnoreDropsTheIcon)
{
    EXPECT_EQ(MessageBoxStyle(L"", mtError, Buttons({mbAbort})).Flags, static_cast<unsigned>(MB_ABORTRETRYIGNORE));
    EXPECT_EQ(MessageBoxStyle(L"Own", mtError, Buttons({mbOK, mbCancel, mbHelp})).Flags,
              static_cast<unsigned>(MB_ICONERROR | MB_OKCANCEL | MB_HELP));
    EXPECT_EQ(MessageBoxStyle(L"Own", mtError, 0).Caption, L"Own");
    EXPECT_EQ(MessageBoxStyle(L"", mtCustom, Buttons({mbRetry})).Flags, static_cast<unsigned>(MB_RETRYCANCEL));
    EXPECT_EQ(MessageBoxStyle(L"", mtInformation, Buttons({mbNo})).Flags,
              static_cast<unsigned>(MB_ICONINFORMATION | MB_YESNO));
}

TEST(MessageBox, WarningBoxShowsCaptionIconAndOneOk)
{
    testskin::MessageBoxWatcher watcher;
    const int result = ShowWarningBox(L"Something to note");
    const testskin::SeenBox box = watcher.Wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"Warning");
    EXPECT_EQ(box.text, L"Something to note");
    EXPECT_EQ(box.buttons, 1);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(result, IDOK);
}

struct SeenPosition {
    int x = 0;
    int y = 0;
};
SeenPosition gSeenPosition;

// Reads the position globals once the box is open.
DWORD WINAPI ReadPositionWhileOpen(void*)
{
    for (int i = 0; i < 400 && !FindWindowW(L"#32770", L"Information"); ++i)
        Sleep(10);
    gSeenPosition.x = gMessageBoxX;
    gSeenPosition.y = gMessageBoxY;
    return 0;
}

TEST(MessageBox, PositionIsHeldOnlyWhileTheBoxIsOpen)
{
    testskin::MessageBoxWatcher watcher;
    HANDLE reader = CreateThread(nullptr, 0, ReadPositionWhileOpen, nullptr, 0, nullptr);
    ShowMessageBox(L"", L"At a place", mtInformation, 40, 50, 0, Buttons({mbOK}));
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    watcher.Wait();
    EXPECT_EQ(gSeenPosition.x, 40);
    EXPECT_EQ(gSeenPosition.y, 50);
    EXPECT_EQ(gMessageBoxX, -1);
    EXPECT_EQ(gMessageBoxY, -1);
}

} // namespace
