// Combo boxes on real windows: closed, dropped down, disabled and simple boxes take their frame and
// button from the skin, their drop-down list its flat frame, and the list's first colour request the
// list's skin colours through a brush the adapter owns.
#include "tests/skin_controls/adapters_support.h"

#include "framework/StdCtrls.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acComboAdapters.h"
#include "skin/forms/acCtrlAdapter.h"

using namespace adaptertest;

namespace {

class ComboAdaptersTest : public AdapterTest {
protected:
    HWND CreateCombo(DWORD style, int height = 24, HWND parent = nullptr)
    {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 20, 20, 180,
                                     height, parent ? parent : Host, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(combo, nullptr);
        for (const wchar_t* item : {L"Супы", L"Салаты", L"Выпечка", L"Напитки"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        return combo;
    }
    static HWND ListOf(HWND combo)
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    static TSize SizeOf(HWND wnd)
    {
        RECT r{};
        GetWindowRect(wnd, &r);
        return TSize{r.right - r.left, r.bottom - r.top};
    }
    // The box printed into a bitmap of its size (WM_PRINT), as a picture.
    static testsupport::Pixels24 Printed(HWND wnd)
    {
        const TSize size = SizeOf(wnd);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = SelectObject(dc, bmp);
        SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
        testsupport::Pixels24 shot;
        shot.width = size.cx;
        shot.height = size.cy;
        shot.bgr.resize(static_cast<std::size_t>(size.cx) * size.cy * 3);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                std::uint8_t* p = &shot.bgr[(static_cast<std::size_t>(y) * size.cx + x) * 3];
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return shot;
    }
};

struct ClosedBoxCase {
    const char* name;
    DWORD style;
    bool enabled;
};

class ClosedComboTest : public ComboAdaptersTest, public ::testing::WithParamInterface<ClosedBoxCase> {};

TEST_P(ClosedComboTest, FrameAndButtonComeFromTheSkin)
{
    HWND combo = CreateCombo(GetParam().style);
    EnableWindow(combo, GetParam().enabled);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(combo, true);
    const TRect button = adapter->ButtonRect();
    ASSERT_EQ(button.Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(button.Right, shot.width - 2);
    EXPECT_EQ(shot.At(0, 0), kEditColor);
    EXPECT_EQ(shot.At(1, shot.height / 2), kEditColor);
    EXPECT_EQ(shot.At(shot.width - 1, shot.height - 1), kEditColor);
    EXPECT_EQ(shot.At((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2), kComboBtnColor);
}

INSTANTIATE_TEST_SUITE_P(Boxes, ClosedComboTest,
                         ::testing::Values(ClosedBoxCase{"DropDownList", CBS_DROPDOWNLIST, true},
                                           ClosedBoxCase{"DropDown", CBS_DROPDOWN, true},
                                           ClosedBoxCase{"DisabledDropDownList", CBS_DROPDOWNLIST, false},
                                           ClosedBoxCase{"DisabledDropDown", CBS_DROPDOWN, false}),
                         [](const ::testing::TestParamInfo<ClosedBoxCase>& info) { return info.param.name; });

// The height a drop-down box is made with is the box and its dropped list together: the list needs room.
TEST_F(ComboAdaptersTest, DroppedDownBoxPressesItsButtonAndItsListGetsTheFlatFrame)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST, 160);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(combo, true);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = ListOf(combo);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(IsWindowVisible(list));
    // The list's first paint asks the box for its colours; painted now, not whenever the queue gets to it.
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(adapter->ListHandle, list);
    ASSERT_NE(adapter->ListWnd, nullptr);
    EXPECT_EQ(AdapterOfWindow(list), adapter->ListWnd.get());
    EXPECT_EQ(SendSkinCmd(list, SkinCmdIsSkinned, 0), 1);
    const testsupport::Pixels24 box = testsupport::CaptureWindow(combo, true);
    const TRect button = adapter->ButtonRect();
    // Pressed: the button's third state is its hot colour in a skin of flat colours.
    EXPECT_EQ(box.At((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2), kComboBtnHotColor);
    HDC dc = GetWindowDC(list);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, SizeOf(list).cy / 2), kEditColor);
    ReleaseDC(list, dc);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(adapter->ListWnd->ListShown);
}

TEST_F(ComboAdaptersTest, OnlyTheFirstListColourRequestIsAnsweredWithTheListsSkinColours)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    HWND list = ListOf(combo);
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT first = SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(first, reinterpret_cast<LRESULT>(adapter->ListBrush.Get()));
    EXPECT_EQ(GetBkColor(dc), kEditColor);
    EXPECT_EQ(GetTextColor(dc), kEditFontColor);
    const LRESULT second = SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(list));
    EXPECT_NE(second, first);
    DeleteDC(dc);
}

TEST_F(ComboAdaptersTest, TheListBrushIsFreedWithTheAdapter)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ListOf(combo)));
    DeleteDC(dc);
    HBRUSH brush = adapter->ListBrush.Get();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    adapter.reset();
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(ComboAdaptersTest, BoxInAnAdaptedDialogLeavesItsListsColoursAlone)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST);
    AdaptingDialog = true;
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    AdaptingDialog = false;
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ListOf(combo)));
    EXPECT_NE(GetBkColor(dc), kEditColor);
    DeleteDC(dc);
    EXPECT_EQ(adapter->ListBrush.Get(), nullptr);
    ASSERT_NE(adapter->ListWnd, nullptr);
    EXPECT_TRUE(adapter->ListWnd->InDialog);
    EXPECT_FALSE(AdaptingDialog);
}

TEST_F(ComboAdaptersTest, SimpleBoxHasNoButtonAndAFramedList)
{
    HWND combo = CreateCombo(CBS_SIMPLE, 120);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    EXPECT_EQ(adapter->ButtonRect().Width(), 0);
    ASSERT_NE(adapter->EditWnd, nullptr);
    testsupport::CaptureWindow(combo, true);
    ASSERT_NE(adapter->ListWnd, nullptr);
    EXPECT_TRUE(adapter->ListWnd->SimpleBox);
    HDC dc = GetWindowDC(combo);
    EXPECT_EQ(GetPixel(dc, 0, 0), kEditColor);
    ReleaseDC(combo, dc);
}

// The list of a simple box may end above the box's bottom: the strip left there shows the parent's
// background, taken from the parent's cache.
TEST_F(ComboAdaptersTest, SimpleBoxsListPaintsTheStripBelowItFromTheParentsCache)
{
    constexpr COLORREF kParentColor = RGB(0x35, 0x7A, 0xB1);
    // A parent that draws over its children, adapted so that it answers with its cache.
    HWND panel = CreateLoggedWindow(Host, WS_CHILD | WS_VISIBLE, 0, 0, 300, 260, nullptr);
    auto parent = MakeAdapter<TacMainWnd>(panel, false, L"EDIT", Manager, nullptr);
    TBitmap* cache = parent->SkinData->CacheBmp();
    ASSERT_NE(cache, nullptr);
    cache->SetSize(300, 260);
    FillDC(cache->Canvas()->Handle(), TRect{0, 0, 300, 260}, static_cast<TColor>(kParentColor));
    HWND combo = CreateCombo(CBS_SIMPLE, 131, panel);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(combo, true);
    ASSERT_NE(adapter->ListWnd, nullptr);
    RECT list, box;
    GetWindowRect(ListOf(combo), &list);
    GetWindowRect(combo, &box);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
    ASSERT_GT(box.bottom, list.bottom) << "the list fills the box";
    HDC dc = GetDC(panel);
    const RECT strip{box.left, list.bottom, box.right, box.bottom};
    FillRect(dc, &strip, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(ListOf(combo), WM_NCPAINT, 1, 0);
    EXPECT_EQ(GetPixel(dc, (box.left + box.right) / 2, box.bottom - 1), kParentColor);
    ReleaseDC(panel, dc);
}

struct FocusCase {
    const char* name;
    bool focused;
};

class PrintedTextTest : public ComboAdaptersTest, public ::testing::WithParamInterface<FocusCase> {};

// The highlight fills the text's place from the frame to the button; the text starts one pixel in, so
// the pixel looked at is the free end of that place, clear of the focus rectangle on its edge.
TEST_P(PrintedTextTest, FocusedDropDownListShowsItsTextOnTheHighlight)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    SetForegroundWindow(Host);
    SetFocus(GetParam().focused ? combo : Host);
    ASSERT_EQ(GetFocus() == combo, GetParam().focused);
    const testsupport::Pixels24 shot = Printed(combo);
    const int y = shot.height / 2;
    const COLORREF back = GetParam().focused ? GetSysColor(COLOR_HIGHLIGHT) : kEditColor;
    const COLORREF text = GetParam().focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : kEditFontColor;
    EXPECT_EQ(shot.At(adapter->ButtonRect().Left - 3, y), back);
    int textPixels = 0;
    for (int x = 4; x < adapter->ButtonRect().Left - 3; ++x)
        textPixels += shot.At(x, y) == text ? 1 : 0;
    EXPECT_GT(textPixels, 0);
}

INSTANTIATE_TEST_SUITE_P(Focus, PrintedTextTest,
                         ::testing::Values(FocusCase{"Focused", true}, FocusCase{"Unfocused", false}),
                         [](const ::testing::TestParamInfo<FocusCase>& info) { return info.param.name; });

// A box whose font is not the canvas's draws its text in its own font.
TEST_F(ComboAdaptersTest, TextIsDrawnInTheBoxsOwnFont)
{
    HWND combo = CreateCombo(CBS_DROPDOWNLIST);
    const GdiObject<HFONT> font = LargeFont(20);
    SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    auto adapter = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    SetForegroundWindow(Host);
    SetFocus(Host);
    const testsupport::Pixels24 shot = Printed(combo);
    const auto [first, last] = InkColumns(shot, TRect{4, 4, adapter->ButtonRect().Left - 2, shot.height - 4}, kEditColor);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(last - first + 1, InkWidth(font.Get(), L"Салаты"), 1);
}

// A simple box's list carries two adapters, the one its dialog gave it and the one its box gave it;
// the dialog frees its own first, and the list is left with neither.
TEST_F(ComboAdaptersTest, ASimpleBoxsListLosesBothAdaptersWhicheverGoesFirst)
{
    HWND combo = CreateCombo(CBS_SIMPLE, 120);
    HWND list = ListOf(combo);
    ASSERT_NE(list, nullptr);
    const WNDPROC listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
    auto own = MakeAdapter<TacEditWnd>(list, true, L"EDIT", Manager, nullptr);
    auto box = MakeAdapter<TacComboBoxWnd>(combo, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(combo, true);
    ASSERT_NE(box->ListWnd, nullptr);
    EXPECT_EQ(AdapterOfWindow(list), box->ListWnd.get());
    own.reset();
    EXPECT_EQ(AdapterOfWindow(list), box->ListWnd.get());
    testsupport::CaptureWindow(combo, true);
    box.reset();
    EXPECT_EQ(AdapterOfWindow(list), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC)), listProc);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
}

TEST_F(ComboAdaptersTest, FrameworkComboBoxGetsItsAdapterFromTheChooserWithItsEditPart)
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(60, 60, 300, 200);
    auto* combo = Create<TComboBox>(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 160, 21);
    form->Show();
    auto* provider = Create<TsSkinProvider>(form);
    {
        TacSkinLinks links = SkinLinks();
        links.ComboBoxWnd = MakeComboBoxWnd;
        SetSkinLinks(links);
    }
    {
        TacCtrlAdapter chooser(provider);
        chooser.AddItem(combo, L"EDIT");
        ASSERT_EQ(chooser.Count(), 1);
        EXPECT_NE(dynamic_cast<TacComboBoxWnd*>(chooser.GetItem(0)->WndAdapter.get()), nullptr);
        EXPECT_EQ(SendSkinCmd(combo->Handle(), SkinCmdIsSkinned, 0), 1);
        ASSERT_NE(combo->EditHandle(), nullptr);
        EXPECT_EQ(SendSkinCmd(combo->EditHandle(), SkinCmdIsSkinned, 0), 1);
    }
    {
        TacSkinLinks links = SkinLinks();
        links.ComboBoxWnd = nullptr;
        SetSkinLinks(links);
    }
    EXPECT_EQ(AdapterOfWindow(combo->EditHandle()), nullptr);
    Free(form);
}

} // namespace
