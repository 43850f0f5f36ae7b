// Check boxes, size boxes and transparent panels under their adapters: painted from the skin, and
// still doing what the control does.
#include "framework/Forms.h"
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acEditAdapters.h"
#include "skin/forms/acSimpleAdapters.h"
#include "skin/forms/acTextAdapters.h"
#include "skin/forms/acToolBarWnd.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "tests/skin_core/test_skin.h"
#include "tests/skin_controls/simple_support.h"
#include "tests/support/test_support.h"

#include <commctrl.h>

#include <memory>

using namespace simpletest;

TEST_F(SimpleAdapters, AnAdaptedCheckBoxStillTogglesAndShowsTheCheckedGlyph)
{
    HWND box = Child(L"BUTTON", L"Флажок", BS_AUTOCHECKBOX, 120, 20);
    adapter = MakeAdapter<TacCheckBoxWnd>(box, false, std::wstring(L"CHECKBOX"), sm.get(), nullptr);
    auto unchecked = Print(box, 120, 20);
    // The skin has no unchecked image: a plain section where the glyph would be.
    EXPECT_EQ(PixelAt(unchecked.get(), 6, 10), kCheckBoxColor);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    auto checked = Print(box, 120, 20);
    EXPECT_EQ(PixelAt(checked.get(), 6, 10), testskin::kBoxColor);
    EXPECT_EQ(PixelAt(checked.get(), 110, 2), kCheckBoxColor);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(AdapterOfWindow(box), adapter.get());
}

TEST_F(SimpleAdapters, AnIndeterminateCheckBoxAsksForTheGrayedImage)
{
    HWND box = Child(L"BUTTON", L"Третье", BS_AUTO3STATE, 120, 20);
    auto* checkBox = static_cast<TacCheckBoxWnd*>(
        (adapter = MakeAdapter<TacCheckBoxWnd>(box, false, std::wstring(L"CHECKBOX"), sm.get(), nullptr)).get());
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(checkBox->CheckState(), 2);
    EXPECT_TRUE(checkBox->IsCheckBoxStyle());
    // The test skin has no BOXGRAYED: no glyph, and the 16 x 16 place for it.
    EXPECT_EQ(checkBox->GlyphMaskIndex(), -1);
    EXPECT_EQ(checkBox->GlyphSize().cx, 16);
    EXPECT_EQ(PixelAt(Print(box, 120, 20).get(), 6, 10), kCheckBoxColor);
}

TEST_F(SimpleAdapters, ARadioButtonTakesTheRadioImages)
{
    HWND radio = Child(L"BUTTON", L"Выбор", BS_AUTORADIOBUTTON, 120, 20);
    auto* checkBox = static_cast<TacCheckBoxWnd*>(
        (adapter = MakeAdapter<TacCheckBoxWnd>(radio, false, std::wstring(L"CHECKBOX"), sm.get(), nullptr)).get());
    EXPECT_FALSE(checkBox->IsCheckBoxStyle());
    SendMessageW(radio, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(radio, BM_GETCHECK, 0, 0), BST_CHECKED);
    // No RADIOCHECKED in the skin, so not the check box's image either.
    EXPECT_NE(PixelAt(Print(radio, 120, 20).get(), 6, 10), testskin::kBoxColor);
}

namespace {

// A radio button that reports the third state, as no system radio button can be set to.
LRESULT CALLBACK ThirdStateRadioProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(wnd, L"VelmoraTestPrev"));
    const LRESULT result = CallWindowProcW(previous, wnd, msg, wParam, lParam);
    return msg == BM_GETSTATE ? (result & ~BST_CHECKED) | BST_INDETERMINATE : result;
}

} // namespace

TEST_F(SimpleAdapters, ARadioButtonInTheThirdStateShowsTheGrayedBox)
{
    auto entries = SimpleSkinEntries();
    const std::string checked = "BOXCHECKED=@0000@0000@0039@0013@3@0\r\n";
    std::string& options = entries[0].bytes;
    options.insert(options.find(checked) + checked.size(), "BOXGRAYED=@0000@0000@0039@0013@3@0\r\n");
    WriteSkin(L"Grayed", entries);
    sm->SetSkinName(L"Grayed");
    ASSERT_TRUE(sm->SkinData()->Active);
    HWND radio = Child(L"BUTTON", L"Выбор", BS_AUTORADIOBUTTON, 120, 20);
    SetPropW(radio, L"VelmoraTestPrev", reinterpret_cast<HANDLE>(GetWindowLongPtrW(radio, GWLP_WNDPROC)));
    SetWindowLongPtrW(radio, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThirdStateRadioProc));
    auto* checkBox = static_cast<TacCheckBoxWnd*>(
        (adapter = MakeAdapter<TacCheckBoxWnd>(radio, false, std::wstring(L"CHECKBOX"), sm.get(), nullptr)).get());
    EXPECT_FALSE(checkBox->IsCheckBoxStyle());
    EXPECT_EQ(checkBox->CheckState(), 2);
    EXPECT_EQ(PixelAt(Print(radio, 120, 20).get(), 6, 10), testskin::kBoxColor);
    adapter.reset();
    SetWindowLongPtrW(radio, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(radio, L"VelmoraTestPrev")));
    RemovePropW(radio, L"VelmoraTestPrev");
}

TEST_F(SimpleAdapters, ASizeBoxAlwaysReportsTheBottomRightGripEvenDisabled)
{
    HWND grip = Child(L"SCROLLBAR", L"", SBS_SIZEBOX, 20, 20);
    adapter = MakeAdapter<TacSizerWnd>(grip, false, std::wstring(L"SIZEBOX"), sm.get(), nullptr);
    RECT r;
    GetWindowRect(grip, &r);
    const LPARAM at = MAKELPARAM(r.left + 2, r.top + 2);
    EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTBOTTOMRIGHT);
    EnableWindow(grip, FALSE);
    EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTBOTTOMRIGHT);
}

TEST_F(SimpleAdapters, ATransparentPanelAnswersTheEraseItself)
{
    HWND panel = Child(L"STATIC", L"", 0, 40, 30);
    adapter = MakeAdapter<TacTransPanelWnd>(panel, false, std::wstring(L"SIZEBOX"), sm.get(), nullptr);
    HDC target = GetDC(panel);
    EXPECT_EQ(SendMessageW(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), 0), 1);
    ReleaseDC(panel, target);
    EXPECT_EQ(AdapterOfWindow(panel), adapter.get());
}

TEST_F(SimpleAdapters, AnAdaptedButtonStillClicksAndShowsItsSection)
{
    HWND button = Child(L"BUTTON", L"Нажми", BS_PUSHBUTTON, 100, 30);
    adapter = MakeAdapter<TacBtnWnd>(button, false, std::wstring(L"PUSHBTN"), sm.get(), nullptr);
    SetFocus(nullptr);
    auto shot = Print(button, 100, 30);
    EXPECT_EQ(PixelAt(shot.get(), 3, 3), kButtonColor);
    bool text = false;
    for (int x = 20; x < 80 && !text; ++x)
        for (int y = 5; y < 25 && !text; ++y)
            text = PixelAt(shot.get(), x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(text);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(gClicks, 1);
    // The click leaves the focus on the button: its hot look.
    if (GetFocus() == button) {
        EXPECT_EQ(PixelAt(Print(button, 100, 30).get(), 3, 3), kButtonHotColor);
    }
}

TEST_F(SimpleAdapters, ADefaultButtonShowsTheHotLookWithoutTheMouse)
{
    HWND button = Child(L"BUTTON", L"Да", BS_DEFPUSHBUTTON, 100, 30);
    auto* adapted = static_cast<TacBtnWnd*>(
        (adapter = MakeAdapter<TacBtnWnd>(button, false, std::wstring(L"PUSHBTN"), sm.get(), nullptr)).get());
    EXPECT_EQ(adapted->ButtonState(), 1);
    EXPECT_EQ(PixelAt(Print(button, 100, 30).get(), 3, 3), kButtonHotColor);
}

TEST_F(SimpleAdapters, ADisabledButtonGetsNoFocusMessageThrough)
{
    HWND button = Child(L"BUTTON", L"Нет", BS_PUSHBUTTON, 100, 30);
    adapter = MakeAdapter<TacBtnWnd>(button, false, std::wstring(L"PUSHBTN"), sm.get(), nullptr);
    EnableWindow(button, FALSE);
    SendMessageW(button, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS, 0);
    EnableWindow(button, TRUE);
    SendMessageW(button, WM_SETFOCUS, 0, 0);
    EXPECT_NE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS, 0);
}

// Printing a window into another DC gives the picture its screen shows, once, in its place; and it is no
// paint of the screen: a repaint the window still owes stays owed.
using TAdaptFn = TacAdapterPtr<> (*)(HWND, const std::wstring&, TsSkinManager*);

template <class T>
TacAdapterPtr<> AdaptAs(HWND wnd, const std::wstring& section, TsSkinManager* sm)
{
    return MakeAdapter<T>(wnd, true, section, sm, nullptr);
}

struct PrintedWindowCase {
    const char* name;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    const wchar_t* section;
    TAdaptFn adapt;
    DWORD exStyle = 0;
};

void PrintTo(const PrintedWindowCase& c, std::ostream* os) { *os << c.name; }

class PrintedWindowTest : public SimpleAdapters, public ::testing::WithParamInterface<PrintedWindowCase> {
protected:
    // The case's window on the parent, under its adapter.
    HWND MakeWindow()
    {
        HWND wnd = Child(GetParam().cls, GetParam().text, GetParam().style, 100, 30, GetParam().exStyle);
        if (lstrcmpW(GetParam().cls, TOOLBARCLASSNAMEW) == 0) {
            SendMessageW(wnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            TBBUTTON button{I_IMAGENONE, 100, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
            SendMessageW(wnd, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
        }
        adapter = GetParam().adapt(wnd, GetParam().section, sm.get());
        return wnd;
    }
    // The whole window printed into a bitmap of its size; or its client area painted into one the way a
    // form paints its children into a bitmap, by an erase and a paint that bring the bitmap's DC.
    static testsupport::Pixels24 Printed(HWND wnd, bool paintedInto = false)
    {
        RECT r{};
        if (paintedInto)
            GetClientRect(wnd, &r);
        else
            GetWindowRect(wnd, &r);
        return testsupport::DrawnPixels(r.right - r.left, r.bottom - r.top, nullptr, [&](HDC dc) {
            if (!paintedInto) {
                SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
                return;
            }
            SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        });
    }
};

TEST_P(PrintedWindowTest, PrintingLeavesThePendingRepaintOfTheScreen)
{
    HWND wnd = MakeWindow();
    for (const bool paintedInto : {false, true}) {
        UpdateWindow(wnd);
        InvalidateRect(wnd, nullptr, FALSE);
        Printed(wnd, paintedInto);
        EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE)) << "painted into a DC: " << paintedInto;
    }
}

TEST_P(PrintedWindowTest, PrintingGivesThePictureOfTheScreen)
{
    HWND wnd = MakeWindow();
    for (const bool paintedInto : {false, true}) {
        const testsupport::Pixels24 screen = testsupport::CaptureWindow(wnd, !paintedInto);
        EXPECT_EQ(Printed(wnd, paintedInto).DifferingPixels(screen), 0) << "painted into a DC: " << paintedInto;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PrintedWindowTest,
    ::testing::Values(
        PrintedWindowCase{"PushButton", L"BUTTON", L"Печать", BS_PUSHBUTTON, L"PUSHBTN", AdaptAs<TacBtnWnd>},
        PrintedWindowCase{"CheckBox", L"BUTTON", L"Печать", BS_AUTOCHECKBOX, L"CHECKBOX", AdaptAs<TacCheckBoxWnd>},
        PrintedWindowCase{"Static", L"STATIC", L"Состав", SS_LEFT, L"LABEL", AdaptAs<TacStaticWnd>},
        PrintedWindowCase{"UpDown", UPDOWN_CLASSW, L"", 0, L"SPIN", AdaptAs<TacSpinWnd>},
        PrintedWindowCase{"ToolBar", TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE, L"TOOLBAR",
                          AdaptAs<TacToolBarWnd>},
        PrintedWindowCase{"SizeBox", L"SCROLLBAR", L"", SBS_SIZEBOX, L"SIZEBOX", AdaptAs<TacSizerWnd>},
        PrintedWindowCase{"Edit", L"EDIT", L"Щи да каша", ES_MULTILINE, L"EDIT", AdaptAs<TacEditWnd>,
                          WS_EX_CLIENTEDGE},
        PrintedWindowCase{"GroupBox", L"BUTTON", L"Группа", BS_GROUPBOX, L"GROUPBOX", AdaptAs<TacGroupBoxWnd>},
        PrintedWindowCase{"TransparentPanel", L"STATIC", L"", SS_OWNERDRAW, L"SIZEBOX", AdaptAs<TacTransPanelWnd>}),
    [](const ::testing::TestParamInfo<PrintedWindowCase>& info) { return info.param.name; });

TEST_F(SimpleAdapters, AnAdaptedUpDownStillStepsAndPaintsBothHalves)
{
    HWND spin = Child(UPDOWN_CLASSW, L"", 0, 18, 30);
    ASSERT_NE(spin, nullptr);
    SendMessageW(spin, UDM_SETRANGE32, 0, 10);
    SendMessageW(spin, UDM_SETPOS32, 0, 5);
    adapter = MakeAdapter<TacSpinWnd>(spin, false, std::wstring(L"SPIN"), sm.get(), nullptr);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 3));
    SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, 3));
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 6);
    EXPECT_FALSE(static_cast<TacSpinWnd*>(adapter.get())->ButtonHeld);
    auto shot = Print(spin, 18, 30);
    EXPECT_EQ(PixelAt(shot.get(), 1, 1), kSpinColor);
    EXPECT_EQ(PixelAt(shot.get(), 1, 28), kSpinColor);
}
