// Driving the notebook's main window as a person would.
#include "tests/e2e/notebook_driver.h"
#include "tests/e2e/screenshot.h"

#include <gtest/gtest.h>

namespace e2e {

namespace {

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

int Brightness(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

} // namespace

HWND FindPart(HWND top, std::initializer_list<const wchar_t*> classNames)
{
    for (const wchar_t* name : classNames)
        if (HWND found = FindChildWindow(top, name, {}, false))
            return found;
    return nullptr;
}

void NotebookTest::StartNotebook()
{
    StartProgram();
    if (HasFatalFailure())
        return;
    HWND main = MainWindow();
    tabs_ = FindPart(main, {L"TsTabControl", L"TTabControl"});
    list_ = FindPart(main, {L"TListView"});
    view_ = FindPart(main, {L"TRichEdit"});
    toolBar_ = FindPart(main, {L"TsToolBar", L"TToolBar"});
    statusBar_ = FindPart(main, {L"TsStatusBar", L"TStatusBar"});
    ASSERT_NE(tabs_, nullptr) << "no category tabs";
    ASSERT_NE(list_, nullptr) << "no recipe list";
    ASSERT_NE(view_, nullptr) << "no recipe view";
    ASSERT_NE(toolBar_, nullptr) << "no tool bar";
    ASSERT_NE(statusBar_, nullptr) << "no status bar";
    ASSERT_TRUE(Bot().Activate(main));
}

void NotebookTest::ClickTab(int index, MouseButton button)
{
    RECT rc = TabRect(tabs_, index);
    ASSERT_GT(rc.right, rc.left) << "tab " << index << " has no place";
    Bot().Click(tabs_, Centre(rc), button);
}

int NotebookTest::TabIndexOf(const std::wstring& caption) const
{
    auto tabs = TabCaptions(tabs_);
    for (size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i] == caption)
            return static_cast<int>(i);
    return -1;
}

void NotebookTest::OpenCategory(const std::wstring& caption)
{
    int index = TabIndexOf(caption);
    ASSERT_GE(index, 0) << "no tab " << testsupport::Narrow(caption);
    ClickTab(index);
    auto expected = RecipesOnDisk(caption);
    ASSERT_TRUE(WaitUntil([&] { return CurrentTab(tabs_) == index && ListItems() == expected; }))
        << "the list does not show " << testsupport::Narrow(caption);
}

void NotebookTest::ClickRecipe(int index, MouseButton button)
{
    // A long caption reaches beyond the list: only the part a person sees is clicked.
    RECT item = ListItemRect(list_, index);
    RECT client{}, rc{};
    GetClientRect(list_, &client);
    ASSERT_TRUE(IntersectRect(&rc, &item, &client)) << "recipe " << index << " is not in view";
    Bot().Click(list_, Centre(rc), button);
}

void NotebookTest::OpenRecipe(const std::wstring& caption)
{
    auto items = ListItems();
    auto it = std::find(items.begin(), items.end(), caption);
    ASSERT_NE(it, items.end()) << "no recipe " << testsupport::Narrow(caption);
    int index = static_cast<int>(it - items.begin());
    ClickRecipe(index);
    ASSERT_TRUE(WaitUntil([&] { return SelectedListItem(list_) == index && ViewFirstLine() == caption; }))
        << "the view does not show " << testsupport::Narrow(caption) << " but '"
        << testsupport::Narrow(ViewFirstLine()) << "', selected " << SelectedListItem(list_) << " of " << index;
}

void NotebookTest::ClickToolButton(const std::wstring& caption)
{
    ToolButtonInfo button = ToolButton(caption);
    ASSERT_TRUE(button.found) << "no tool button " << testsupport::Narrow(caption);
    ASSERT_TRUE(button.visible) << testsupport::Narrow(caption) << " is hidden";
    Bot().Click(toolBar_, Centre(button.rect));
}

void NotebookTest::ChooseMenu(int menu, int item, int subItem)
{
    ASSERT_TRUE(Bot().Activate(MainWindow()));
    // Alt alone puts the menu bar in keyboard mode on its first menu.
    Bot().PressKey(VK_MENU);
    for (int i = 0; i < menu; ++i)
        Bot().PressKey(VK_RIGHT);
    // Down opens the menu with its first item selected.
    Bot().PressKey(VK_DOWN);
    for (int i = 0; i < item; ++i)
        Bot().PressKey(VK_DOWN);
    if (subItem >= 0) {
        Bot().PressKey(VK_RIGHT);
        for (int i = 0; i < subItem; ++i)
            Bot().PressKey(VK_DOWN);
    }
    Bot().PressKey(VK_RETURN);
}

void NotebookTest::ChooseLastPopupItem()
{
    HWND popup = WaitForTopWindow({ProcessId(), L"#32768", {}, true}, 5000);
    ASSERT_NE(popup, nullptr) << "no pop-up menu";
    // A message sent to the menu comes back once its tracking loop reads input.
    Bot().WaitIdle(popup);
    // With nothing selected yet, Up selects the last item. A key that reaches the menu before its
    // tracking loop reads input is lost, and Return would then close the menu with nothing chosen:
    // Return waits until the selection shows, and Up is pressed again only while none does.
    const testsupport::Pixels24 unselected = e2e::CaptureWindowOnScreen(popup);
    bool selected = false;
    for (int attempt = 0; attempt < 3 && !selected; ++attempt) {
        Bot().PressKey(VK_UP);
        selected = WaitUntil([&] { return unselected.DifferingPixels(e2e::CaptureWindowOnScreen(popup)) > 0; },
                             2000);
    }
    ASSERT_TRUE(selected) << "no item of the pop-up menu is selected";
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(popup, 5000)) << "the pop-up menu stays open";
}

bool NotebookTest::AnswerMessage(const std::wstring& buttonCaption, const std::wstring& shotName)
{
    HWND box = WaitForProgramWindow(L"TMessageForm");
    if (!box) {
        ADD_FAILURE() << "no message box";
        Shot(MainWindow(), shotName + L"-missing");
        return false;
    }
    Shot(box, shotName);
    HWND button = ButtonOf(box, buttonCaption);
    if (!button)
        return false;
    Bot().ClickCentre(button);
    return WaitForWindowGone(box, 5000);
}

std::wstring NotebookTest::ViewFirstLine() const
{
    std::wstring text = ViewText();
    size_t end = text.find_first_of(L"\r\n");
    return end == std::wstring::npos ? text : text.substr(0, end);
}

std::vector<std::wstring> NotebookTest::RecipesOnDisk(const std::wstring& category) const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((CategoryPath(category) + L"\\*.rcp").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = fd.cFileName;
        names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

std::vector<std::wstring> NotebookTest::CategoriesOnDisk() const
{
    return FolderEntries(BasePath(L"Bases"));
}

int NotebookTest::StarsSeen()
{
    // The stars stand in the rating panel, 10 pixels apart, starting 50 pixels after the second panel
    // ends; the panel's own background is read beyond the fifth star.
    auto edges = StatusPanelEdges(statusBar_);
    if (edges.size() < 2)
        return -1;
    WaitPainted(Bot(), statusBar_);
    auto shot = CaptureWindowOnScreen(statusBar_);
    RECT window{}, client = ClientRectOnScreen(statusBar_);
    GetWindowRect(statusBar_, &window);
    const int dx = client.left - window.left;
    const int dy = client.top - window.top;
    const int left = edges[1] + 50 + dx;
    const COLORREF background = shot.At(left + 60, 11 + dy);
    int seen = 0;
    for (int star = 0; star < 5; ++star) {
        int different = 0;
        for (int y = 6; y < 16; ++y)
            for (int x = 0; x < 10; ++x)
                if (std::abs(Brightness(shot.At(left + star * 10 + x, y + dy)) - Brightness(background)) > 60)
                    ++different;
        if (different >= 10)
            ++seen;
    }
    return seen;
}

bool NotebookTest::PressInMenu(HWND popup, WORD key)
{
    const testsupport::Pixels24 before = CaptureWindowOnScreen(popup);
    for (int attempt = 0; attempt < 3; ++attempt) {
        Bot().PressKey(key);
        if (WaitUntil([&] { return before.DifferingPixels(CaptureWindowOnScreen(popup)) > 0; }, 2000))
            return true;
    }
    return false;
}

HWND NotebookTest::ButtonOf(HWND dialog, const std::wstring& caption)
{
    HWND button = nullptr;
    WaitUntil([&] { return (button = FindChildWindow(dialog, {}, caption)) != nullptr; }, 5000);
    EXPECT_NE(button, nullptr) << "no button " << testsupport::Narrow(caption);
    return button;
}

HWND NotebookTest::DropDownList(HWND combo)
{
    RECT client{};
    GetClientRect(combo, &client);
    const int arrow = GetSystemMetrics(SM_CXVSCROLL);
    Bot().Click(combo, {client.right - arrow / 2 - 2, (client.top + client.bottom) / 2});
    return WaitForTopWindow({ProcessId(), L"ComboLBox", {}, true}, 5000);
}

void NotebookTest::PickSkin(int index)
{
    HWND main = MainWindow();
    ASSERT_TRUE(Bot().Activate(main));
    RECT window{};
    GetWindowRect(main, &window);
    const RECT client = ClientRectOnScreen(main);
    // A little below the top edge lies the caption, above the menu line and the client area.
    const POINT caption{(window.right - window.left) / 2 - (client.left - window.left), window.top + 12 - client.top};
    Bot().Click(main, caption, MouseButton::Right);
    HWND menu = WaitForTopWindow({ProcessId(), L"#32768", {}, true}, 5000);
    ASSERT_NE(menu, nullptr) << "no system menu";
    Bot().WaitIdle(menu);
    ASSERT_TRUE(PressInMenu(menu, VK_DOWN)) << "the first item is not selected";
    Bot().PressKey(VK_RIGHT);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND wnd : FindTopWindows({ProcessId(), L"#32768", {}, true}))
            if (wnd != menu)
                list = wnd;
        return list != nullptr;
    })) << "\"Available skins\" opens no list";
    Bot().WaitIdle(list);
    // The list opens with its first skin selected; the menu's handle means nothing outside the
    // program, so the three entries are proven by picking each one and seeing its colours.
    for (int i = 0; i < index; ++i)
        ASSERT_TRUE(PressInMenu(list, VK_DOWN)) << "skin " << i + 1 << " is not selected";
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(list, 5000)) << "the list of skins stays open";
    ASSERT_TRUE(WaitForWindowGone(menu, 5000)) << "the system menu stays open";
    Bot().WaitIdle(main);
}

} // namespace e2e
