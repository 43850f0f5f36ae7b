// Static texts, icons, link windows, group boxes, tool bars and bitmap buttons under their adapters:
// painted from the skin, still doing what the control does, and let go of with their windows.
#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/forms/acSimpleAdapters.h"
#include "skin/forms/acTextAdapters.h"
#include "skin/forms/acToolBarWnd.h"
#include "tests/skin_controls/simple_support.h"

#include <commctrl.h>

#include <functional>

using namespace simpletest;

namespace {

int CountPixels(TBitmap* bmp, const TRect& r, const std::function<bool(COLORREF)>& which)
{
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            count += which(PixelAt(bmp, x, y)) ? 1 : 0;
    return count;
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
}

// The smallest rectangle around the pixels of R that Which picks; empty when none.
TRect BoundsOf(TBitmap* bmp, const TRect& r, const std::function<bool(COLORREF)>& which)
{
    TRect b{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (which(PixelAt(bmp, x, y)))
                b = TRect{std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
    return b.Right > b.Left ? b : TRect{0, 0, 0, 0};
}

constexpr COLORREF kFrameColors[3] = {RGB(0xFF, 0, 0), RGB(0, 0xFF, 0), RGB(0, 0, 0xFF)};

// A framework control on the test's parent window, with the skin data its adapter borrows; the adapter
// goes first, then the data, then the control.
template <class T>
struct FrameworkChild {
    FrameworkChild(HWND parent, TacAdapterPtr<>& adapter, int w, int h) : adapter_(adapter)
    {
        Control = Create<T>(nullptr);
        Control->SetBounds(0, 0, w, h);
        Control->SetParentWindow(parent);
        Control->HandleNeeded();
        Data = std::make_unique<TsCommonData>(Control, true);
        Data->FOwnerControl = Control;
        Data->FOwnerObj = Control;
    }
    ~FrameworkChild()
    {
        adapter_.reset();
        Data.reset();
        Free(Control);
    }
    T* Control = nullptr;
    std::unique_ptr<TsCommonData> Data;

private:
    TacAdapterPtr<>& adapter_;
};

// A bit button whose glyph holds three 10 x 10 frames of red, green and blue, each with its top-left pixel
// in the transparent colour.
struct BitButton : FrameworkChild<TBitBtn> {
    BitButton(HWND parent, TacAdapterPtr<>& adapter, TsSkinManager* sm, const wchar_t* caption, int w, int h)
        : FrameworkChild(parent, adapter, w, h)
    {
        Control->SetText(caption);
        TBitmap glyph;
        glyph.SetPixelFormat(pf24bit);
        glyph.SetSize(30, 10);
        for (int frame = 0; frame < 3; ++frame)
            FillDC(glyph.Canvas()->Handle(), TRect{frame * 10, 0, frame * 10 + 10, 10},
                   static_cast<TColor>(kFrameColors[frame]));
        SetPixel(glyph.Canvas()->Handle(), 0, 0, RGB(0xFF, 0, 0xFF));
        Control->SetGlyph(&glyph);
        Control->SetNumGlyphs(3);
        adapter = MakeAdapter<TacBitBtnWnd>(Control->Handle(), false, std::wstring(L"PUSHBTN"), sm, Data.get());
    }
};

bool IsFrame0(COLORREF c)
{
    return c == kFrameColors[0];
}

} // namespace

TEST_F(SimpleAdapters, AStaticTextIsPaintedOverItsSectionAndFollowsItsText)
{
    HWND label = Child(L"STATIC", L"Состав блюда", SS_LEFT, 120, 20);
    adapter = MakeAdapter<TacStaticWnd>(label, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    auto shot = Print(label, 120, 20);
    EXPECT_EQ(PixelAt(shot.get(), 118, 18), kStaticColor);
    EXPECT_GT(CountPixels(shot.get(), TRect{0, 0, 120, 20}, IsDark), 10) << "the caption is drawn";
    SetWindowTextW(label, L"");
    EXPECT_EQ(CountPixels(Print(label, 120, 20).get(), TRect{0, 0, 120, 20}, IsDark), 0);
    EXPECT_EQ(adapter->Caption, L"");
    EXPECT_EQ(SendSkinCmd(label, SkinCmdIsSkinned, 0), 1);
}

TEST_F(SimpleAdapters, TheMessageBoxPictureStaticKeepsTheSystemsMiddle)
{
    // The one size the system uses for a message box's icon and text: the skin only frames it.
    HWND picture = Child(L"STATIC", L"", SS_LEFT, 152, 49);
    adapter = MakeAdapter<TacStaticWnd>(picture, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    auto shot = Print(picture, 152, 49);
    EXPECT_EQ(PixelAt(shot.get(), 2, 2), kStaticColor);
    EXPECT_EQ(PixelAt(shot.get(), 140, 45), kStaticColor);
    EXPECT_NE(PixelAt(shot.get(), 75, 24), kStaticColor);
}

TEST_F(SimpleAdapters, AnIconStaticDrawsItsIconOverTheSection)
{
    HWND icon = Child(L"STATIC", L"", SS_ICON, 40, 40);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
    SetWindowPos(icon, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER);
    adapter = MakeAdapter<TacIconWnd>(icon, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    auto shot = Print(icon, 40, 40);
    EXPECT_EQ(PixelAt(shot.get(), 38, 38), kStaticColor);
    EXPECT_GT(CountPixels(shot.get(), TRect{0, 0, 32, 32}, [](COLORREF c) { return c != kStaticColor; }), 50);
}

TEST_F(SimpleAdapters, AGroupBoxShowsItsSectionBelowTheCaptionBand)
{
    HWND box = Child(L"BUTTON", L"Группа", BS_GROUPBOX, 120, 80);
    adapter = MakeAdapter<TacGroupBoxWnd>(box, false, std::wstring(L"GROUPBOX"), sm.get(), nullptr);
    const LRESULT band = SendSkinCmd(box, SkinCmdGetTopBand, 0);
    EXPECT_GE(band, 6);
    EXPECT_LT(band, 40);
    auto shot = Print(box, 120, 80);
    EXPECT_EQ(PixelAt(shot.get(), 60, 70), kGroupColor);
    EXPECT_NE(PixelAt(shot.get(), 1, 0), kGroupColor) << "above the section the parent shows";
    EXPECT_GT(CountPixels(shot.get(), TRect{6, 0, 80, static_cast<int>(band)}, IsDark), 5) << "the caption";
}

TEST_F(SimpleAdapters, AnAdaptedToolBarPaintsItsButtonsAndStillSendsTheirCommands)
{
    HWND bar = Child(TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE, 200, 40);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const auto strings = reinterpret_cast<LPARAM>(L"Открыть\0Печать\0");
    const LRESULT first = SendMessageW(bar, TB_ADDSTRINGW, 0, strings);
    TBBUTTON buttons[2] = {};
    for (int i = 0; i < 2; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = first + i;
    }
    SendMessageW(bar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    adapter = MakeAdapter<TacToolBarWnd>(bar, false, std::wstring(L"TOOLBAR"), sm.get(), nullptr);
    RECT item{};
    SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    RECT client{};
    GetClientRect(bar, &client);
    auto shot = Print(bar, client.right, client.bottom);
    EXPECT_EQ(PixelAt(shot.get(), item.left + 1, item.top + 1), kToolButtonColor);
    EXPECT_EQ(PixelAt(shot.get(), client.right - 2, client.bottom - 2), kBarColor);
    const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(bar, WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(gClicks, 1);
}

TEST_F(SimpleAdapters, AToolBarCaptionTooWideIsDrawnInTwoLinesWithinTheButton)
{
    HWND bar = Child(TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE, 200, 60);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const wchar_t caption[] = L"Добавить рецепт в избранное сейчас же\0";
    const LRESULT first = SendMessageW(bar, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(caption));
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = 100;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    button.iString = first;
    SendMessageW(bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    SendMessageW(bar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(70, 70));
    SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(70, 50));
    adapter = MakeAdapter<TacToolBarWnd>(bar, false, std::wstring(L"TOOLBAR"), sm.get(), nullptr);
    RECT item{};
    SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    ASSERT_LT(item.right - item.left, 100) << "the button is narrower than its caption";
    RECT client{};
    GetClientRect(bar, &client);
    auto shot = Print(bar, client.right, client.bottom);
    const TRect inside{item.left, item.top, item.right, item.bottom};
    const TRect text = BoundsOf(shot.get(), inside, IsDark);
    ASSERT_GT(text.Width(), 0);
    EXPECT_GE(text.Left, item.left + 2);
    EXPECT_LE(text.Right, item.right - 2) << "the second line is cut with an ellipsis, not let out";
    // Two lines: rows with ink, a gap, rows with ink again.
    int bands = 0;
    bool inked = false;
    for (int y = text.Top; y < text.Bottom; ++y) {
        const bool row = CountPixels(shot.get(), TRect{item.left, y, item.right, y + 1}, IsDark) > 0;
        bands += row && !inked ? 1 : 0;
        inked = row;
    }
    EXPECT_EQ(bands, 2);
}

TEST_F(SimpleAdapters, ABitmapButtonDrawsItsGlyphWithTheCornerPixelTransparent)
{
    HWND button = Child(L"BUTTON", L"ОК", BS_PUSHBUTTON | BS_BITMAP, 100, 30);
    // A bitmap of its own, selected into no DC, as a dialog hands its button.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    GdiObject<HBITMAP> glyph(CreateCompatibleBitmap(screen, 8, 8));
    HGDIOBJ old = SelectObject(memory, glyph.Get());
    FillDC(memory, TRect{0, 0, 8, 8}, static_cast<TColor>(RGB(0xFF, 0, 0)));
    SetPixel(memory, 0, 0, RGB(0xFF, 0, 0xFF));
    SetPixel(memory, 7, 7, RGB(0xFF, 0, 0xFF));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph.Get()));
    adapter = MakeAdapter<TacBitBtnWnd>(button, false, std::wstring(L"PUSHBTN"), sm.get(), nullptr);
    SetFocus(nullptr);
    auto shot = Print(button, 100, 30);
    const auto red = [](COLORREF c) { return c == RGB(0xFF, 0, 0); };
    // Both pixels of the corner's colour show the button instead.
    EXPECT_EQ(CountPixels(shot.get(), TRect{0, 0, 100, 30}, red), 62);
    EXPECT_EQ(PixelAt(shot.get(), 3, 3), kButtonColor);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(gClicks, 1);
}

TEST_F(SimpleAdapters, ALinkWindowPaintsItselfAndAnswersTheSkin)
{
    HWND link = Child(WC_LINK, L"<a>Сайт</a>", 0, 100, 20);
    if (!link)
        GTEST_SKIP() << "the common controls here have no link window class";
    adapter = MakeAdapter<TacLinkWnd>(link, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    EXPECT_EQ(SendSkinCmd(link, SkinCmdIsSkinned, 0), 1);
    auto shot = Print(link, 100, 20);
    EXPECT_GT(CountPixels(shot.get(), TRect{0, 0, 100, 20}, [](COLORREF c) { return c != kStaticColor; }), 0);
}

TEST_F(SimpleAdapters, AdaptersLetGoOfTheirWindowsWhenTheWindowsGo)
{
    HWND label = Child(L"STATIC", L"Текст", SS_LEFT, 80, 20);
    HWND box = Child(L"BUTTON", L"Группа", BS_GROUPBOX, 80, 60);
    adapter = MakeAdapter<TacStaticWnd>(label, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    TacAdapterPtr<> other = MakeAdapter<TacGroupBoxWnd>(box, false, std::wstring(L"GROUPBOX"), sm.get(), nullptr);
    DestroyWindow(label);
    DestroyWindow(box);
    EXPECT_TRUE(adapter->Detached);
    EXPECT_TRUE(other->Detached);
    other.reset();
    adapter.reset();
    // Detaching a live window gives back its own painting.
    HWND again = Child(L"STATIC", L"Текст", SS_LEFT, 80, 20);
    adapter = MakeAdapter<TacStaticWnd>(again, false, std::wstring(L"LABEL"), sm.get(), nullptr);
    adapter.reset();
    EXPECT_EQ(AdapterOfWindow(again), nullptr);
    EXPECT_EQ(SendSkinCmd(again, SkinCmdIsSkinned, 0), 0);
    EXPECT_NE(PixelAt(Print(again, 80, 20).get(), 78, 18), kStaticColor);
}

TEST_F(SimpleAdapters, ADialogsGroupBoxTakesTheSkinsFrameAfterEachOfItsOwnPaints)
{
    HWND box = Child(L"BUTTON", L"Группа", BS_GROUPBOX, 120, 80);
    adapter = MakeAdapter<TacGroupBoxWnd>(box, false, std::wstring(L"GROUPBOX"), sm.get(), nullptr);
    adapter->InDialog = true;
    // A client-only repaint: the system draws its etched frame and no frame message follows.
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(box, true);
    ASSERT_GT(shot.width, 0);
    EXPECT_EQ(shot.At(1, 70), kGroupColor) << "the left border is the skin's";
    EXPECT_EQ(shot.At(60, 78), kGroupColor) << "the bottom border is the skin's";
}

// ---- Framework bit buttons ----

struct TLayoutCase {
    const char* Label;
    TButtonLayout Layout;
};

class BitButtonLayouts : public SimpleAdapters, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(BitButtonLayouts, TheGlyphSitsOnItsSideOfTheCaptionAndTheBlockIsCentred)
{
    SetFocus(nullptr);
    BitButton button(parent, adapter, sm.get(), L"Сохранить", 140, 60);
    button.Control->SetLayout(GetParam().Layout);
    auto shot = Print(button.Control->Handle(), 140, 60);
    const TRect all{0, 0, 140, 60};
    const TRect glyph = BoundsOf(shot.get(), all, IsFrame0);
    const TRect text = BoundsOf(shot.get(), all, IsDark);
    ASSERT_GT(glyph.Width(), 0) << "the first frame is drawn";
    ASSERT_GT(text.Width(), 0) << "the caption is drawn";
    EXPECT_EQ(glyph.Right - glyph.Left, 10);
    const TRect block{std::min(glyph.Left, text.Left), std::min(glyph.Top, text.Top), std::max(glyph.Right, text.Right),
                      std::max(glyph.Bottom, text.Bottom)};
    switch (GetParam().Layout) {
    case blGlyphLeft: EXPECT_LT(glyph.Right, text.Left); break;
    case blGlyphRight: EXPECT_GT(glyph.Left, text.Right); break;
    case blGlyphTop: EXPECT_LT(glyph.Bottom, text.Top); break;
    case blGlyphBottom: EXPECT_GT(glyph.Top, text.Bottom); break;
    }
    // Glyph and caption are centred together, within the letters' side bearings.
    EXPECT_NEAR(block.Left, 140 - block.Right, 4);
    EXPECT_NEAR(block.Top, 60 - block.Bottom, 4);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BitButtonLayouts,
                         ::testing::Values(TLayoutCase{"Left", blGlyphLeft}, TLayoutCase{"Right", blGlyphRight},
                                           TLayoutCase{"Top", blGlyphTop}, TLayoutCase{"Bottom", blGlyphBottom}),
                         [](const ::testing::TestParamInfo<TLayoutCase>& info) { return std::string(info.param.Label); });

TEST_F(SimpleAdapters, APushedBitButtonShowsItsPressedFrameMovedByOnePixel)
{
    SetFocus(nullptr);
    BitButton button(parent, adapter, sm.get(), L"ОК", 100, 30);
    const TRect all{0, 0, 100, 30};
    const TRect normal = BoundsOf(Print(button.Control->Handle(), 100, 30).get(), all, IsFrame0);
    ASSERT_GT(normal.Width(), 0);
    SendMessageW(button.Control->Handle(), BM_SETSTATE, TRUE, 0);
    auto pushed = Print(button.Control->Handle(), 100, 30);
    // Three frames: the third is the pressed one, drawn whole.
    EXPECT_EQ(CountPixels(pushed.get(), all, IsFrame0), 0);
    EXPECT_EQ(CountPixels(pushed.get(), all, [](COLORREF c) { return c == kFrameColors[2]; }), 100);
    const TRect moved = BoundsOf(pushed.get(), all, [](COLORREF c) { return c == kFrameColors[2]; });
    EXPECT_EQ(moved.Left, normal.Left + 1);
    EXPECT_EQ(moved.Top, normal.Top + 1);
}

TEST_F(SimpleAdapters, ALongBitButtonCaptionWrapsInTheRoomTheGlyphAndMarginsLeave)
{
    SetFocus(nullptr);
    BitButton button(parent, adapter, sm.get(), L"Добавить рецепт в избранное", 110, 50);
    button.Control->SetMargin(4);
    auto shot = Print(button.Control->Handle(), 110, 50);
    const TRect all{0, 0, 110, 50};
    const TRect glyph = BoundsOf(shot.get(), all, IsFrame0);
    const TRect text = BoundsOf(shot.get(), all, IsDark);
    ASSERT_GT(text.Width(), 0);
    EXPECT_GE(glyph.Left, 4) << "the margin, then the glyph";
    EXPECT_GT(text.Left, glyph.Right);
    EXPECT_LE(text.Right, 110 - 4);
    EXPECT_GT(text.Height(), 16) << "more than one line";
}

TEST_F(SimpleAdapters, AFrameworkGroupBoxPaintsItsGraphicChildrenOverItself)
{
    class TBox : public TWinControl {
    public:
        using TWinControl::TWinControl;

    protected:
        void CreateParams(TCreateParams& params) override
        {
            TWinControl::CreateParams(params);
            CreateSubClass(params, L"BUTTON");
            params.Style |= BS_GROUPBOX;
        }
    };
    FrameworkChild<TBox> box(parent, adapter, 120, 80);
    box.Control->SetText(L"Группа");
    auto* label = Create<TLabel>(box.Control);
    label->SetAutoSize(false);
    label->SetTransparent(false);
    label->SetColor(clLime);
    label->SetCaption(L"");
    label->SetBounds(30, 40, 20, 10);
    label->SetParent(box.Control);
    adapter = MakeAdapter<TacGroupBoxWnd>(box.Control->Handle(), false, std::wstring(L"GROUPBOX"), sm.get(),
                                          box.Data.get());
    auto shot = Print(box.Control->Handle(), 120, 80);
    EXPECT_EQ(PixelAt(shot.get(), 40, 45), RGB(0, 0xFF, 0)) << "the label";
    EXPECT_EQ(PixelAt(shot.get(), 60, 70), kGroupColor) << "the box around it";
}
