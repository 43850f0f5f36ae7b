// The real main window on the sample base, as the program starts it, changes tabs and recipes and opens
// every dialog many times over; the process's GDI objects, menus and windows come back each time.
#include "app/main_dialogs.h"
#include "tests/app/main_window_fixture.h"
#include "tests/e2e/robot.h"
#include "tests/support/live_objects.h"

#include <commctrl.h>

#include <functional>

using testsupport::LiveObjects;
using testsupport::LiveObjectsBackWithin;

namespace {

// Dispatches what is queued (paints included) without waiting for more.
void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Closes the thread's dialog, a shown and enabled top-level window other than Keep (tool windows such
// as hints and popup menus aside), as a person pressing Escape
// would, once it has been shown and painted (timer messages come after paints). The dialog is found
// among the thread's windows, not as the active window: the leak runs go side by side with other test
// programs on one X server, and activation may move to one of them.
class DialogCloser {
public:
    explicit DialogCloser(HWND keep) : timer_(SetTimer(nullptr, 0, 10, Tick))
    {
        gKeep = keep;
        gLastClosed = nullptr;
        gClosed = 0;
    }
    ~DialogCloser() { KillTimer(nullptr, timer_); }
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;
    static int Closed() { return gClosed; }

private:
    static BOOL CALLBACK FindDialog(HWND wnd, LPARAM found)
    {
        const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
        if (wnd != gKeep && IsWindowVisible(wnd) && IsWindowEnabled(wnd) && !(exStyle & WS_EX_TOOLWINDOW)) {
            *reinterpret_cast<HWND*>(found) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        // Closed once: the WM_CLOSE may still be queued at the next tick.
        if (dialog && dialog != gLastClosed) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            gLastClosed = dialog;
            ++gClosed;
        }
    }
    static inline HWND gKeep = nullptr;
    static inline HWND gLastClosed = nullptr;
    static inline int gClosed = 0;
    UINT_PTR timer_;
};

class ProgramLeaks : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(e2e::CopyTree(testsupport::Widen(VELMORA_SAMPLE_BASE_DIR), Folder()));
        main = Start();
        SetForegroundWindow(main->Handle());
        testsupport::PumpMessagesUntilIdle(500);
        ASSERT_GT(main->sTabControl->Tabs()->GetCount(), 2);
    }

    // Tabs scrolled out of the strip cannot be clicked: the cycle goes over the ones in view.
    int TabsInView() const
    {
        HWND tabs = main->sTabControl->Handle();
        RECT client{};
        GetClientRect(tabs, &client);
        int count = 0;
        RECT r{};
        while (count < main->sTabControl->Tabs()->GetCount() &&
               SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&r)) &&
               r.right <= client.right)
            ++count;
        return count;
    }

    void SelectTab(int index)
    {
        HWND tabs = main->sTabControl->Handle();
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    }

    int RecipeCount() const
    {
        return static_cast<int>(SendMessageW(main->RecipesList->Handle(), LVM_GETITEMCOUNT, 0, 0));
    }

    void SelectRecipe(int index)
    {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(main->RecipesList->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }

    // The window is painted after every tenth change, as it is when a person clicks faster than it
    // paints: each change still makes and frees what it makes, and the paints after it still paint
    // what it changed, but the run does not wait for ten paints where one shows the same.
    static void PaintEveryTenth(int step)
    {
        if (step % 10 == 9)
            Drain();
    }

    // Shows a modal dialog and closes it as soon as it has been painted.
    void OpenAndClose(const std::function<void()>& show)
    {
        DialogCloser closer(main->Handle());
        show();
        Drain();
        EXPECT_EQ(DialogCloser::Closed(), 1) << "the dialog showed and was closed once";
    }

    // Warms the operation up over a whole cycle (first-use caches, the hook's lists), then repeats it
    // and compares.
    void ExpectNoGrowth(const std::function<void(int)>& step, int cycle, int times)
    {
        for (int i = 0; i < cycle; ++i)
            step(i);
        testsupport::PumpMessagesUntilIdle(200);
        const LiveObjects before = LiveObjects::Now();
        for (int i = 0; i < times; ++i)
            step(i);
        testsupport::PumpMessagesUntilIdle(200);
        EXPECT_TRUE(LiveObjectsBackWithin(before));
    }

    TMainForm* main = nullptr;
};

TEST_F(ProgramLeaks, ThousandTabChangesLeaveNothingBehind)
{
    const int tabs = TabsInView();
    ASSERT_GE(tabs, 2);
    ExpectNoGrowth(
        [&](int i) {
            SelectTab(i % tabs);
            PaintEveryTenth(i);
        },
        tabs, 1000);
    EXPECT_EQ(main->sTabControl->TabIndex(), 999 % tabs);
}

TEST_F(ProgramLeaks, ThousandRecipeSelectionsLeaveNothingBehind)
{
    ASSERT_GT(RecipeCount(), 1);
    const int count = RecipeCount();
    ExpectNoGrowth(
        [&](int i) {
            SelectRecipe(i % count);
            PaintEveryTenth(i);
        },
        count, 1000);
    EXPECT_TRUE(main->SelectedCaption().has_value());
}

// Each of the program's dialogs, opened as its command opens it.
struct DialogCase {
    const char* name;
    TModalResult (*show)(TMainForm*);
};

class ProgramDialogLeaks : public ProgramLeaks, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(ProgramDialogLeaks, TwoHundredOpeningsLeaveNothingBehind)
{
    // A recipe with a photo is selected, so the move, rating and photo dialogs have their subject.
    for (int i = 0; i < RecipeCount() && main->PhotoPath.empty(); ++i) {
        SelectRecipe(i);
        Drain();
    }
    ASSERT_FALSE(main->PhotoPath.empty()) << "the sample base has a recipe with a photo";
    ExpectNoGrowth([&](int) { OpenAndClose([&] { GetParam().show(main); }); }, 3, 200);
}

TModalResult ShowMessageDialog(TMainForm* main)
{
    main->UseDialogs(nullptr);
    main->StoreDialogs().ShowMessage(L"Рецепт сохранён.");
    return mrOk;
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, ProgramDialogLeaks,
                         ::testing::Values(DialogCase{"NewRecipe", ShowNewRecipeDialog},
                                           DialogCase{"Move", ShowMoveDialog},
                                           DialogCase{"Rating", ShowRatingDialog},
                                           DialogCase{"NewCategory", ShowNewCategoryDialog},
                                           DialogCase{"Search", ShowSearchDialog},
                                           DialogCase{"Photo", ShowPhotoDialog},
                                           DialogCase{"About", ShowAboutDialog},
                                           DialogCase{"Message", ShowMessageDialog}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
