// The adapter root on real windows: taking over and giving back the window procedure, the property, the
// framework chain, the skin command answers and the lifetime around the window's destruction.
#include "tests/skin_controls/adapters_support.h"

#include "framework/StdCtrls.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"

using namespace adaptertest;

namespace {

WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }

// An adapter that counts its own calls, to see which of two adapters got a message.
class TCountingWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& message) override
    {
        ++Calls;
        TacMainWnd::WndProc(message);
    }
    int Calls = 0;
};

class MainWndTest : public AdapterTest {
protected:
    // Nothing of any adapter is left on the window, and Msg reaches the window's own procedure once more.
    void ExpectLetGo(HWND wnd, WNDPROC original, UINT msg)
    {
        const int heard = Log.count(msg);
        EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), original);
        SendMessageW(wnd, msg, 0, 0);
        EXPECT_EQ(Log.count(msg), heard + 1);
    }
};

// Someone else's subclass put on top of an adapter.
WNDPROC gBelow = nullptr;
LRESULT CALLBACK OnTopProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(gBelow, wnd, msg, wParam, lParam);
}

TEST_F(MainWndTest, AttachSetsPropertyAndReplacesProcedureDetachRestoresBoth)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    const WNDPROC original = ProcOf(wnd);
    {
        auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
        EXPECT_EQ(AdapterOfWindow(wnd), adapter.get());
        EXPECT_NE(ProcOf(wnd), original);
        EXPECT_EQ(adapter->PreviousWndProc(), original);
        // Messages still reach the window's own procedure through the adapter.
        SendMessageW(wnd, WM_USER + 5, 0, 0);
        EXPECT_EQ(Log.count(WM_USER + 5), 1);
    }
    EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
    EXPECT_EQ(ProcOf(wnd), original);
    EXPECT_EQ(GetPropW(wnd, L"ACSBSC.PROC"), nullptr);
}

TEST_F(MainWndTest, UpdateUIStateNeverReachesThePreviousProcedure)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    SendMessageW(wnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_EQ(Log.count(WM_UPDATEUISTATE), 0);
}

TEST_F(MainWndTest, EveryAdaptedWindowAnswersIsSkinned)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    EXPECT_FALSE(QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned));
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    EXPECT_TRUE(QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned));
    EXPECT_EQ(SendSkinCmd(wnd, SkinCmdIsSkinned, 0), 1);
}

TEST_F(MainWndTest, SkinCommandOfAnotherManagerIsOnlyPassedOn)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    adapter->SkinData->BGChanged = false;
    const LPARAM other = 0x1234;
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdSkinChanged), other);
    EXPECT_FALSE(adapter->SkinData->BGChanged);
    EXPECT_EQ(Log.count(SM_SKINCMD), 1);
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdSkinChanged), reinterpret_cast<LPARAM>(Manager));
    EXPECT_TRUE(adapter->SkinData->BGChanged);
    EXPECT_EQ(Log.count(SM_SKINCMD), 2);
    // A refresh by its own manager is answered, not passed on; another manager's refresh goes on.
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdRefresh), reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(Log.count(SM_SKINCMD), 2);
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdRefresh), other);
    EXPECT_EQ(Log.count(SM_SKINCMD), 3);
}

TEST_F(MainWndTest, CacheQueryIsAnsweredWithTheAdaptersOwnCache)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    CacheReply = TCacheInfo{};
    SendSkinCmd(wnd, SkinCmdGetCache, 0);
    EXPECT_TRUE(CacheReply.Ready);
    EXPECT_EQ(CacheReply.Bmp, adapter->SkinData->CacheBmp());
    EXPECT_EQ(CacheReply.X, 0);
    CacheReply = TCacheInfo{};
}

TEST_F(MainWndTest, TextChangesReachTheWindowAndTheCaption)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    SetWindowTextW(wnd, L"Щи");
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    EXPECT_EQ(adapter->Caption, L"Щи");
    SetWindowTextW(wnd, L"Борщ");
    EXPECT_EQ(adapter->Caption, L"Борщ");
    EXPECT_EQ(Log.count(WM_SETTEXT), 2);
}

TEST_F(MainWndTest, WindowDestroyedUnderItsAdapterDetachesAndTheAdapterFreesLater)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    DestroyWindow(wnd);
    EXPECT_TRUE(adapter->Detached);
    EXPECT_EQ(Log.count(WM_DESTROY), 1);
    EXPECT_EQ(Log.count(WM_NCDESTROY), 1);
    adapter.reset(); // the owner frees it later: nothing touches the window any more
    EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWndTest, AdapterFreedDuringItsOwnMessageGoesWhenTheMessageReturns)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    // Like a popup-menu window's adapter: it frees itself from inside its window's destruction.
    class TSelfFreeing : public TacMainWnd {
    public:
        using TacMainWnd::TacMainWnd;
        void WndProc(TMessage& message) override
        {
            TacMainWnd::WndProc(message);
            if (message.Msg == WM_USER + 9) {
                TacMainWnd* self = this;
                UnhookWindow(AdaptedWnd, true, false, self);
                Seen = self == nullptr;
                // The object is still alive here: the outermost message has not returned.
                SkinParamsSet = true;
            }
        }
        bool Seen = false;
    };
    auto adapter = MakeAdapter<TSelfFreeing>(wnd, false, L"EDIT", Manager, nullptr);
    TSelfFreeing* raw = adapter.release();
    SendMessageW(wnd, WM_USER + 9, 0, 0);
    EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
    EXPECT_EQ(Log.count(WM_USER + 9), 1);
    SendMessageW(wnd, WM_USER + 10, 0, 0);
    EXPECT_EQ(Log.count(WM_USER + 10), 1);
    (void)raw;
}

TEST_F(MainWndTest, SecondAdapterWinsThePropertyAndGivesItBackWhenFreed)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    const WNDPROC original = ProcOf(wnd);
    auto first = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    auto second = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    EXPECT_EQ(AdapterOfWindow(wnd), second.get());
    const int firstBefore = first->Calls;
    const int secondBefore = second->Calls;
    SendMessageW(wnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(second->Calls - secondBefore, 1);
    EXPECT_EQ(first->Calls - firstBefore, 1);
    EXPECT_EQ(Log.count(WM_USER + 1), 1);
    second.reset();
    EXPECT_EQ(AdapterOfWindow(wnd), first.get());
    const int firstAfter = first->Calls;
    SendMessageW(wnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(first->Calls - firstAfter, 1);
    EXPECT_EQ(Log.count(WM_USER + 1), 2);
    first.reset();
    EXPECT_EQ(ProcOf(wnd), original);
    EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
}

// The lower of two adapters freed first (a dialog's provider frees its children's adapters before the
// combo box that put a second one on its list): the upper one goes on hearing the window, and once it
// goes too nothing is left bound to the window.
TEST_F(MainWndTest, LowerOfTwoAdaptersFreedFirstLeavesTheUpperWorkingAndNothingBehind)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    const WNDPROC original = ProcOf(wnd);
    auto first = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    auto second = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    first.reset();
    EXPECT_EQ(AdapterOfWindow(wnd), second.get());
    const int secondBefore = second->Calls;
    SendMessageW(wnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(second->Calls - secondBefore, 1);
    EXPECT_EQ(Log.count(WM_USER + 1), 1);
    second.reset();
    ExpectLetGo(wnd, original, WM_USER + 1);
}

// Of three adapters the middle one goes first: the top one still reaches the bottom one.
TEST_F(MainWndTest, MiddleOfThreeAdaptersFreedFirstKeepsTheChainWhole)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    const WNDPROC original = ProcOf(wnd);
    auto bottom = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    auto middle = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    auto top = MakeAdapter<TCountingWnd>(wnd, false, L"EDIT", Manager, nullptr);
    middle.reset();
    const int bottomBefore = bottom->Calls, topBefore = top->Calls;
    SendMessageW(wnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(top->Calls - topBefore, 1);
    EXPECT_EQ(bottom->Calls - bottomBefore, 1);
    EXPECT_EQ(Log.count(WM_USER + 1), 1);
    top.reset();
    EXPECT_EQ(AdapterOfWindow(wnd), bottom.get());
    bottom.reset();
    ExpectLetGo(wnd, original, WM_USER + 1);
}

TEST_F(MainWndTest, ProcedureSubclassedOnTopIsLeftInPlaceAndStillReachesTheWindow)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    gBelow = ProcOf(wnd);
    const WNDPROC onTop = OnTopProc;
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onTop));
    adapter.reset();
    EXPECT_EQ(ProcOf(wnd), onTop);
    EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
    // The adapter is gone; the chain falls through to the window's first procedure.
    SendMessageW(wnd, WM_USER + 2, 0, 0);
    EXPECT_EQ(Log.count(WM_USER + 2), 1);
    DestroyWindow(wnd);
}

TEST_F(MainWndTest, FrameworkControlChainsThroughWindowProcAndGetsItBack)
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(50, 50, 300, 200);
    auto* edit = Create<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 24);
    form->Show();
    HWND wnd = edit->Handle();
    const WNDPROC procBefore = ProcOf(wnd);
    const TWndMethod methodBefore = edit->WindowProc;
    TsCommonData data(nullptr, true);
    data.FOwnerControl = edit;
    data.FOwnerObj = edit;
    {
        auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, &data);
        EXPECT_EQ(ProcOf(wnd), procBefore);
        EXPECT_TRUE(edit->WindowProc == adapter->Method());
        EXPECT_EQ(adapter->PreviousWndProc(), nullptr);
        EXPECT_TRUE(QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned));
        edit->SetText(L"Соль");
        EXPECT_EQ(adapter->Caption, L"Соль");
    }
    EXPECT_TRUE(edit->WindowProc == methodBefore);
    EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
    Free(form);
}

TEST_F(MainWndTest, AdapterFreedWhileAllAdaptersGoStillLetsGoOfItsWindow)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    const WNDPROC original = ProcOf(wnd);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    SetAdaptersBeingRemoved(true);
    adapter.reset();
    SetAdaptersBeingRemoved(false);
    // A window left running through a freed adapter would crash at its next message.
    ExpectLetGo(wnd, original, WM_USER + 3);
}

TEST_F(MainWndTest, ExceptionInsideAnAdapterGoesToTheApplicationNotThroughTheSystem)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    class TThrowing : public TacMainWnd {
    public:
        using TacMainWnd::TacMainWnd;
        void WndProc(TMessage& message) override
        {
            if (message.Msg == WM_USER + 4)
                throw Exception(L"сбой");
            TacMainWnd::WndProc(message);
        }
    };
    auto adapter = MakeAdapter<TThrowing>(wnd, false, L"EDIT", Manager, nullptr);
    SendMessageW(wnd, WM_USER + 4, 0, 0);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], L"сбой");
    Errors.clear();
}

TEST_F(MainWndTest, PrintIsAnsweredByTheAdaptersPaint)
{
    HWND wnd = CreateChild(0, 10, 10, 100, 60);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    Log.messages.clear();
    HDC dc = GetDC(wnd);
    SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ReleaseDC(wnd, dc);
    EXPECT_EQ(Log.count(WM_PRINT), 0);
    EXPECT_EQ(Log.count(WM_PAINT), 1);
}

// A plain adapted window prints the picture its own paint gives into the same DC.
TEST_F(MainWndTest, PrintGivesThePictureTheWindowsPaintGives)
{
    HWND wnd = CreateWindowExW(0, L"STATIC", L"Щи да каша", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10, 100, 60, Host,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    auto adapter = MakeAdapter<TacMainWnd>(wnd, false, L"EDIT", Manager, nullptr);
    const auto shot = [&](UINT msg, LPARAM flags) {
        return testsupport::DrawnPixels(100, 60, nullptr, [&](HDC dc) {
            FillDC(dc, TRect{0, 0, 100, 60}, clLime);
            SendMessageW(wnd, msg, reinterpret_cast<WPARAM>(dc), flags);
        });
    };
    const testsupport::Pixels24 painted = shot(WM_PAINT, 0);
    EXPECT_GT(InkColumns(painted, TRect{0, 0, 100, 60}, painted.At(1, 1)).first, 0) << "the text is painted";
    EXPECT_EQ(shot(WM_PRINT, PRF_CLIENT).DifferingPixels(painted), 0);
}

} // namespace
