// The skin command message between real windows: command and argument packing, replies through the
// result and through the message record, queries of windows that do not know the message, the walk
// over child windows, and the start-up steps of the constants and the message.
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sVclUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Received {
    HWND wnd;
    WORD cmd;
    WORD arg;
    LPARAM lParam;
};

std::vector<Received> gReceived;

// A window that knows the skin command: it answers "skinned" with 1, "provider" with 77 and "background
// painted" with the LParam it got.
LRESULT CALLBACK AnsweringProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != SM_SKINCMD)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    gReceived.push_back({wnd, SkinCmdOf(wParam), SkinCmdArgOf(wParam), lParam});
    switch (SkinCmdOf(wParam)) {
    case SkinCmdIsSkinned: return 1;
    case SkinCmdGetProvider: return 77;
    case SkinCmdIsBgPainted: return lParam;
    default: return 0;
    }
}

class SkinCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = AnsweringProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelmoraSkinCommandTest";
        RegisterClassW(&wc);
    }
    void SetUp() override { gReceived.clear(); }
    void TearDown() override
    {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            DestroyWindow(*it);
    }
    HWND Make(HWND parent = nullptr, const wchar_t* cls = L"VelmoraSkinCommandTest", DWORD style = 0)
    {
        HWND wnd = CreateWindowExW(0, cls, L"", style | (parent ? WS_CHILD : WS_POPUP), 0, 0, 100, 80, parent,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_TRUE(wnd);
        windows.push_back(wnd);
        return wnd;
    }
    std::vector<HWND> windows;
};

} // namespace

TEST_F(SkinCommands, CommandTravelsInTheHighWordAndTheResultComesBack)
{
    HWND wnd = Make();
    EXPECT_EQ(SendSkinCmd(wnd, SkinCmdGetProvider, 1234), 77);
    ASSERT_EQ(gReceived.size(), 1u);
    EXPECT_EQ(gReceived[0].cmd, SkinCmdGetProvider);
    EXPECT_EQ(gReceived[0].arg, 0);
    EXPECT_EQ(gReceived[0].lParam, 1234);
    EXPECT_EQ(SkinCmdWParam(SkinCmdSetUpdating, 1), 0x00080001u);
}

TEST_F(SkinCommands, WindowsThatDoNotKnowTheMessageAnswerZeroAndEveryQueryFalse)
{
    HWND plain = Make(nullptr, L"STATIC");
    EXPECT_EQ(SendSkinCmd(plain, SkinCmdGetProvider, 0), 0);
    EXPECT_FALSE(QuerySkinCmdHwnd(plain, SkinCmdIsSkinned));
    EXPECT_FALSE(QuerySkinCmdHwnd(nullptr, SkinCmdIsSkinned));
    EXPECT_FALSE(QuerySkinCmdThrough(TWndMethod(), plain, SkinCmdIsSkinned));
}

TEST_F(SkinCommands, HwndQueryIsTrueOnlyForAResultOfOne)
{
    HWND wnd = Make();
    EXPECT_TRUE(QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned));
    EXPECT_FALSE(QuerySkinCmdHwnd(wnd, SkinCmdGetProvider));
    EXPECT_EQ(gReceived.size(), 2u);
}

TEST_F(SkinCommands, QueryAnsweredByTheWindowProcedureSendsNothing)
{
    HWND wnd = Make();
    int calls = 0;
    TWndMethod answers = [&](TMessage& m) {
        ++calls;
        if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdIsBgChanged)
            m.LParam = 1;
    };
    EXPECT_TRUE(QuerySkinCmdThrough(answers, wnd, SkinCmdIsBgChanged));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(gReceived.empty());
}

TEST_F(SkinCommands, QueryNotAnsweredInLParamIsSentWithWhatTheProcedureLeft)
{
    HWND wnd = Make();
    TWndMethod leavesFive = [](TMessage& m) { m.LParam = 5; };
    EXPECT_FALSE(QuerySkinCmdThrough(leavesFive, wnd, SkinCmdIsBgPainted)) << "the window answers 5, not 1";
    ASSERT_EQ(gReceived.size(), 1u);
    EXPECT_EQ(gReceived[0].lParam, 5);
    EXPECT_TRUE(QuerySkinCmdThrough(TWndMethod(), wnd, SkinCmdIsSkinned));
    EXPECT_FALSE(QuerySkinCmdThrough(TWndMethod(), nullptr, SkinCmdIsSkinned));
}

TEST_F(SkinCommands, EndOfParentUpdateReachesEachChildButNotGrandchildren)
{
    HWND parent = Make();
    HWND a = Make(parent);
    HWND b = Make(parent);
    HWND grandchild = Make(a);
    RefreshChildWindows(parent);
    std::vector<HWND> reached;
    for (const Received& r : gReceived) {
        EXPECT_EQ(r.cmd, SkinCmdEndParentUpdate);
        reached.push_back(r.wnd);
    }
    EXPECT_EQ(reached.size(), 2u);
    EXPECT_NE(std::find(reached.begin(), reached.end(), a), reached.end());
    EXPECT_NE(std::find(reached.begin(), reached.end(), b), reached.end());
    EXPECT_EQ(std::find(reached.begin(), reached.end(), grandchild), reached.end());
    gReceived.clear();
    RefreshChildWindows(grandchild);
    EXPECT_TRUE(gReceived.empty());
}

TEST_F(SkinCommands, ClientRectangleInWindowCoordinatesStartsAfterTheBorder)
{
    HWND wnd = Make(nullptr, L"VelmoraSkinCommandTest", WS_BORDER);
    RECT client{}, window{};
    GetClientRectOffset(wnd, client);
    GetWindowRect(wnd, &window);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    EXPECT_EQ(client.left, origin.x - window.left);
    EXPECT_EQ(client.top, origin.y - window.top);
    EXPECT_GT(client.left, 0);
    RECT inner{};
    GetClientRect(wnd, &inner);
    EXPECT_EQ(client.right - client.left, inner.right);
}

TEST(SkinStartup, ConstantsComeBeforeTheMessageAndSetTheNoColour)
{
    TStartup startup;
    AddSkinMessageStartupStep(startup);
    AddSkinConstantsStartupStep(startup);
    EXPECT_EQ(startup.Names(), (std::vector<std::wstring>{L"Skin constants", L"Skin command message"}));
    ParentBgColor = 0;
    TransFillColor = 0;
    CacheReply = MakeCacheInfo(nullptr, 1, 1);
    startup.Start();
    EXPECT_EQ(ParentBgColor, clFuchsia);
    EXPECT_EQ(TransFillColor, clFuchsia);
    EXPECT_FALSE(CacheReply.Ready);
    EXPECT_EQ(CacheReply.X, -99);
    EXPECT_EQ(HScrollArrowWidth, GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_NE(RegisterWindowMessageW(L"SM_SKINCMD"), 0u);
}
