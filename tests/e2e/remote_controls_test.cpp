// The readers of another process's controls, tried on common controls of the test itself: the same
// messages and the same remote buffers, with answers known in advance.
#include "tests/e2e/remote_controls.h"
#include "tests/support/test_support.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

using namespace e2e;

class RemoteControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(host_);
        testsupport::PumpMessagesUntilIdle();
    }
    HWND Child(const wchar_t* cls, DWORD style, int x, int y, int w, int h)
    {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    HWND host_ = nullptr;
};

TEST_F(RemoteControlsTest, TabCaptionsAndCurrentTabAreRead)
{
    HWND tabs = Child(WC_TABCONTROLW, 0, 0, 0, 480, 40);
    const wchar_t* names[] = {L"Супы", L"Выпечка", L"Избранное"};
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(names[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    EXPECT_EQ(TabCaptions(tabs), (std::vector<std::wstring>{L"Супы", L"Выпечка", L"Избранное"}));
    EXPECT_EQ(CurrentTab(tabs), 2);
    RECT first = TabRect(tabs, 0);
    RECT second = TabRect(tabs, 1);
    EXPECT_GT(first.right, first.left);
    EXPECT_GE(second.left, first.right - 4) << "tabs lie side by side";
}

TEST_F(RemoteControlsTest, ListCaptionsSelectionAndRectsAreRead)
{
    HWND list = Child(WC_LISTVIEWW, LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 50, 480, 300);
    const wchar_t* names[] = {L"Борщ", L"Щи", L"Уха"};
    for (int i = 0; i < 3; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<LPWSTR>(names[i]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_EQ(SelectedListItem(list), -1);
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(ListCaptions(list), (std::vector<std::wstring>{L"Борщ", L"Щи", L"Уха"}));
    EXPECT_EQ(SelectedListItem(list), 1);
    EXPECT_EQ(ListViewStyle(list), static_cast<DWORD>(LV_VIEW_LIST));
    RECT rc = ListItemRect(list, 2);
    EXPECT_GT(rc.bottom, rc.top);
}

TEST_F(RemoteControlsTest, ToolButtonsAreFoundByCaptionWithTheirState)
{
    HWND bar = Child(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 480, 40);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const wchar_t* captions[] = {L"Выйти", L"", L"Новый", L"Фото..."};
    TBBUTTON buttons[4]{};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = i == 1 ? BTNS_SEP : BTNS_BUTTON;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
    }
    buttons[2].fsState = 0;
    buttons[3].fsState |= TBSTATE_HIDDEN;
    SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);

    auto exit = FindToolButton(bar, L"Выйти");
    ASSERT_TRUE(exit.found);
    EXPECT_TRUE(exit.visible);
    EXPECT_TRUE(exit.enabled);
    EXPECT_GT(exit.rect.right, exit.rect.left);
    auto add = FindToolButton(bar, L"Новый");
    ASSERT_TRUE(add.found);
    EXPECT_FALSE(add.enabled);
    EXPECT_GT(add.rect.left, exit.rect.left);
    auto photo = FindToolButton(bar, L"Фото...");
    ASSERT_TRUE(photo.found);
    EXPECT_FALSE(photo.visible);
    EXPECT_FALSE(FindToolButton(bar, L"Нет такой").found);
    EXPECT_EQ(ToolButtonCaptions(bar), (std::vector<std::wstring>{L"Выйти", L"Новый"}));
}

TEST_F(RemoteControlsTest, StatusPanelTextIsRead)
{
    HWND status = Child(STATUSCLASSNAMEW, 0, 0, 0, 0, 0);
    int widths[] = {100, 200, -1};
    SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(widths));
    SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L" Список доступных рецептов"));
    SendMessageW(status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"Оценка:"));
    EXPECT_EQ(StatusPanelText(status, 0), L" Список доступных рецептов");
    EXPECT_EQ(StatusPanelText(status, 1), L"");
    EXPECT_EQ(StatusPanelText(status, 2), L"Оценка:");
}

TEST_F(RemoteControlsTest, TrackBarPositionAndThumbAreRead)
{
    HWND track = Child(TRACKBAR_CLASSW, TBS_HORZ, 0, 50, 300, 40);
    SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(1, 5));
    SendMessageW(track, TBM_SETPOS, TRUE, 1);
    RECT atOne = TrackBarThumbRect(track);
    EXPECT_EQ(TrackBarPosition(track), 1);
    SendMessageW(track, TBM_SETPOS, TRUE, 4);
    RECT atFour = TrackBarThumbRect(track);
    EXPECT_EQ(TrackBarPosition(track), 4);
    EXPECT_GT(atOne.right, atOne.left);
    EXPECT_GT(atFour.left, atOne.right) << "the thumb moves along the bar";
}

} // namespace
