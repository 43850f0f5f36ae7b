// The window binding: objects bound at WM_NCCREATE from the create parameter, the maker's own create
// parameter handed on, procedures taken over and given back only while still ours, deferred deletes.
#include "framework/WindowBinding.h"

#include <gtest/gtest.h>

namespace {

// What the test window's object saw of its creation.
struct TProbe {
    bool boundAtNcCreate = false;
    LPVOID createParam = nullptr;
};

LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* probe = static_cast<TProbe*>(BindAtCreate(wnd, msg, lParam, TWindowRole::PopupList));
    if (probe && msg == WM_NCCREATE)
        probe->boundAtNcCreate = true;
    CREATESTRUCTW scratch{};
    if (probe && msg == WM_CREATE)
        probe->createParam = reinterpret_cast<CREATESTRUCTW*>(ClassCreateParam(msg, lParam, scratch))->lpCreateParams;
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK OurProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(OriginalWindowProc(wnd, TWindowRole::PopupMenu), wnd, msg, wParam, lParam);
}

LRESULT CALLBACK OtherProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

class WindowBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TBindingProbe";
        RegisterClassExW(&wc);
        wnd = CreateBoundWindow(TWindowRole::PopupList, &probe, 0, L"TBindingProbe", L"", WS_POPUP, 0, 0, 10, 10,
                                nullptr, &makerParam);
    }
    void TearDown() override { DestroyWindow(wnd); }
    TProbe probe;
    HWND wnd = nullptr;
    int makerParam = 0;
};

TEST_F(WindowBinding, BindsTheObjectAtNcCreateAndHandsTheClassItsOwnCreateParameter)
{
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(probe.boundAtNcCreate);
    EXPECT_EQ(probe.createParam, &makerParam);
    EXPECT_EQ(WindowObject(wnd, TWindowRole::PopupList), &probe);
    // Other roles of the same window stay unbound.
    EXPECT_EQ(WindowObject(wnd, TWindowRole::Control), nullptr);
}

TEST_F(WindowBinding, UnbindsOnlyTheObjectStillBound)
{
    int other = 0;
    UnbindWindow(wnd, TWindowRole::PopupList, &other);
    EXPECT_EQ(WindowObject(wnd, TWindowRole::PopupList), &probe);
    UnbindWindow(wnd, TWindowRole::PopupList, &probe);
    EXPECT_EQ(WindowObject(wnd, TWindowRole::PopupList), nullptr);
}

TEST_F(WindowBinding, GivesTheProcedureBackWhileTheWindowStillRunsOurs)
{
    WNDPROC previous = TakeOverWindowProc(wnd, TWindowRole::PopupMenu, OurProc);
    EXPECT_EQ(previous, &ProbeProc);
    EXPECT_EQ(OriginalWindowProc(wnd, TWindowRole::PopupMenu), &ProbeProc);
    EXPECT_TRUE(GiveBackWindowProc(wnd, TWindowRole::PopupMenu, OurProc, previous));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), &ProbeProc);
    EXPECT_EQ(OriginalWindowProc(wnd, TWindowRole::PopupMenu), nullptr);
}

TEST_F(WindowBinding, LeavesTheChainAloneWhenSomeoneSubclassedOnTop)
{
    WNDPROC previous = TakeOverWindowProc(wnd, TWindowRole::PopupMenu, OurProc);
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OtherProc));
    EXPECT_FALSE(GiveBackWindowProc(wnd, TWindowRole::PopupMenu, OurProc, previous));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), &OtherProc);
    // A second take-over keeps the procedure the window had before the first.
    TakeOverWindowProc(wnd, TWindowRole::PopupMenu, OurProc);
    EXPECT_EQ(OriginalWindowProc(wnd, TWindowRole::PopupMenu), &ProbeProc);
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProbeProc));
}

TEST(MessageDepth, DeletesAfterTheOutermostMessageReturns)
{
    TMessageDepth depth;
    EXPECT_TRUE(depth.DeleteNowOrLater());
    depth.Enter();
    depth.Enter();
    EXPECT_FALSE(depth.DeleteNowOrLater());
    EXPECT_FALSE(depth.Leave());
    EXPECT_TRUE(depth.Leave());
}

} // namespace
