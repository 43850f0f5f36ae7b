// The system's own modal windows under the skin, opened and closed many times in the real main
// window's process: the open-picture dialog and the list's popup menu leave the live GDI objects,
// menus and windows as they were.
#include "app/main.h"
#include "framework/Dialogs.h"
#include "framework/Menus.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/program_start_steps.h"
#include "tests/e2e/robot.h"
#include "tests/support/live_objects.h"

#include <chrono>
#include <cstdio>
#include <functional>

using testsupport::LiveObjects;
using testsupport::LiveObjectsBackWithin;

namespace {

const auto* const kSteps = ::testing::AddGlobalTestEnvironment(new apptest::ProgramStartSteps);

// Ends the modal loop of a system window from inside it: a thread timer is served by every modal loop,
// the dialog's and the menu's alike. A dialog is cancelled once it is visible (posting before that
// would reach a dialog still being set up); a menu is ended once its window is up.
class ModalCloser {
public:
    explicit ModalCloser(bool menu) : timer_(SetTimer(nullptr, 0, 5, menu ? EndTheMenu : CancelTheDialog))
    {
        gDone = false;
    }
    ~ModalCloser() { KillTimer(nullptr, timer_); }
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;
    static bool Done() { return gDone; }

private:
    static BOOL CALLBACK FindVisible(HWND wnd, LPARAM cls)
    {
        wchar_t name[32] = {};
        GetClassNameW(wnd, name, 32);
        if (!gDone && IsWindowVisible(wnd) && std::wstring(name) == reinterpret_cast<const wchar_t*>(cls)) {
            if (std::wstring(name) == L"#32768")
                EndMenu();
            else
                PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
            gDone = true;
        }
        return TRUE;
    }
    static void CALLBACK CancelTheDialog(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(L"#32770"));
    }
    static void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(L"#32768"));
    }
    static inline bool gDone = false;
    UINT_PTR timer_;
};

class SystemWindowLeaks : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(e2e::CopyTree(testsupport::Widen(VELMORA_SAMPLE_BASE_DIR), Folder()));
        main = Start();
        SetForegroundWindow(main->Handle());
        testsupport::PumpMessagesUntilIdle(500);
    }

    // Warms up over a few rounds, then repeats and compares; prints the time per round.
    void ExpectNoGrowth(const char* what, const std::function<void()>& step, int times)
    {
        for (int i = 0; i < 3; ++i)
            step();
        testsupport::PumpMessagesUntilIdle(200);
        const LiveObjects before = LiveObjects::Now();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < times; ++i)
            step();
        const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %d rounds, %.1f ms each\n", what, times, ms / times);
        testsupport::PumpMessagesUntilIdle(200);
        EXPECT_TRUE(LiveObjectsBackWithin(before));
    }

    TMainForm* main = nullptr;
};

// An opening and closing of the skinned open-picture dialog takes about 175 ms under Wine on a screen of
// its own: the run takes under a minute, in a CTest entry of its own.
TEST_F(SystemWindowLeaks, TwoHundredOpenPictureDialogsLeaveNothingBehind)
{
    TOpenPictureDialog dialog(nullptr);
    dialog.SetFilter(L"JPEG Image File (*.jpg)|*.jpg");
    int closed = 0;
    ExpectNoGrowth(
        "open-picture dialog",
        [&] {
            ModalCloser closer(false);
            EXPECT_FALSE(dialog.Execute());
            closed += ModalCloser::Done() ? 1 : 0;
        },
        200);
    EXPECT_EQ(closed, 203) << "every dialog showed and was cancelled";
}

TEST_F(SystemWindowLeaks, ThousandPopupMenusLeaveNothingBehind)
{
    ASSERT_NE(main->PopupMenu1, nullptr);
    int closed = 0;
    ExpectNoGrowth(
        "popup menu",
        [&] {
            ModalCloser closer(true);
            main->PopupMenu1->Popup(200, 200);
            closed += ModalCloser::Done() ? 1 : 0;
        },
        1000);
    EXPECT_EQ(closed, 1003) << "every menu showed and was ended";
}

} // namespace
