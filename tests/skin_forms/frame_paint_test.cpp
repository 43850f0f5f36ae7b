// The painted frame: caption, borders, client, caption text and buttons, the inactive look, the window
// region's cut corners, the grip and the small images of tool windows.
#include "tests/skin_forms/provider_support.h"

#include "skin/core/sMessages.h"
#include "skin/forms/sSkinMenus.h"

#include <memory>
#include <utility>

using namespace providerskin;

namespace {

TPoint Centre(const TRect& r)
{
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

int Metric(int index)
{
    return GetSystemMetrics(index);
}

} // namespace

class FramePaintTest : public ProviderTest {
protected:
    // A main menu with one item, "Файл", on the form; returns the item.
    TMenuItem* GiveFormAMenu()
    {
        auto* menu = Create<TMainMenu>(Form);
        auto* item = new TMenuItem(menu);
        item->SetCaption(L"Файл");
        menu->Items()->Add(item);
        Form->SetMenu(menu);
        return item;
    }
};

TEST_F(FramePaintTest, CaptionBordersAndClientTakeTheSkinColours)
{
    TsSkinProvider* p = Attach();
    const testsupport::Pixels24 pix = Printed();
    const int w = pix.width, h = pix.height;
    const int captionY = p->SysBorderHeight() + p->CaptionHeight() / 2;
    EXPECT_EQ(pix.At(w / 2, captionY), kTitleActive);
    EXPECT_EQ(pix.At(1, h / 2), kBorderActive);
    EXPECT_EQ(pix.At(w - 2, h / 2), kBorderActive);
    EXPECT_EQ(pix.At(w / 2, h - 2), kBorderActive);
    EXPECT_EQ(pix.At(p->ClientOffsetX() + 10, p->ClientOffsetY() + 10), kFormColor);
    if (HasFailure())
        Keep(pix, L"printed");
}

TEST_F(FramePaintTest, ScreenShowsThePaintedFrame)
{
    TsSkinProvider* p = Attach();
    const testsupport::Pixels24 pix = OnScreen();
    ASSERT_GT(pix.width, 0);
    EXPECT_EQ(pix.At(pix.width / 2, p->SysBorderHeight() + p->CaptionHeight() / 2), kTitleActive);
    EXPECT_EQ(pix.At(1, pix.height / 2), kBorderActive);
    EXPECT_EQ(pix.At(p->ClientOffsetX() + 10, p->ClientOffsetY() + 10), kFormColor);
    if (HasFailure())
        Keep(pix, L"screen");
}

TEST_F(FramePaintTest, CaptionTextIsWrittenInTheTitleFontColour)
{
    TsSkinProvider* p = Attach();
    const testsupport::Pixels24 pix = Printed();
    int text = 0;
    for (int y = p->SysBorderHeight(); y < p->SysBorderHeight() + p->CaptionHeight(); ++y)
        for (int x = p->IconRect().Right; x < p->CloseButton().Rect.Left - 60; ++x)
            text += pix.At(x, y) == kTitleText;
    EXPECT_GT(text, 10);
    // The text starts after the icon and leaves the buttons free.
    for (int y = 0; y < p->NonClientTopHeight(); ++y)
        for (int x = p->MinButton().Rect.Left; x < pix.width; ++x)
            ASSERT_NE(pix.At(x, y), kTitleText) << x << "," << y;
}

TEST_F(FramePaintTest, ButtonsStandRightToLeftWithTheirImages)
{
    TsSkinProvider* p = Attach();
    const testsupport::Pixels24 pix = Printed();
    const TRect close = p->CloseButton().Rect, max = p->MaxButton().Rect, min = p->MinButton().Rect;
    EXPECT_EQ(close.Width(), kBigButtonWidth);
    EXPECT_EQ(close.Height(), kBigButtonHeight);
    EXPECT_EQ(close.Right, pix.width - p->SysBorderWidth() - 2); // BISPACE 2
    EXPECT_EQ(max.Right, close.Left - 2);
    EXPECT_EQ(min.Right, max.Left - 2);
    EXPECT_EQ(pix.At(Centre(close).X, Centre(close).Y), ButtonColor(bkClose, 0));
    EXPECT_EQ(pix.At(Centre(max).X, Centre(max).Y), ButtonColor(bkMax, 0));
    EXPECT_EQ(pix.At(Centre(min).X, Centre(min).Y), ButtonColor(bkMin, 0));
}

TEST_F(FramePaintTest, InactiveFormShowsTheInactiveLookAndFadedButtons)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_NCACTIVATE, FALSE, 0);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(p->FormActive());
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(pix.width / 2, p->SysBorderHeight() + p->CaptionHeight() / 2), kTitleInactive);
    EXPECT_EQ(pix.At(1, pix.height / 2), kBorderInactive);
    const TPoint c = Centre(p->CloseButton().Rect);
    const COLORREF faded = pix.At(c.X, c.Y);
    EXPECT_NE(faded, ButtonColor(bkClose, 0));
    EXPECT_NE(faded, kTitleInactive);
}

TEST_F(FramePaintTest, WindowRegionCutsTheKeyColouredCorners)
{
    TsSkinProvider* p = Attach();
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Wnd, rgn), ERROR);
    const RECT wr = WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 1, 0));
    EXPECT_FALSE(PtInRegion(rgn, 0, 1));
    EXPECT_TRUE(PtInRegion(rgn, 1, 1));
    EXPECT_TRUE(PtInRegion(rgn, 2, 0));
    EXPECT_FALSE(PtInRegion(rgn, w - 1, 0));
    EXPECT_FALSE(PtInRegion(rgn, 0, h - 1));
    EXPECT_FALSE(PtInRegion(rgn, w - 1, h - 1));
    EXPECT_TRUE(PtInRegion(rgn, w / 2, h / 2));
    DeleteObject(rgn);
    EXPECT_EQ(p->CornerRects().size(), 8u);
}

TEST_F(FramePaintTest, RegionFollowsANewSize)
{
    Attach();
    SetWindowPos(Wnd, nullptr, 0, 0, 400, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    testsupport::PumpMessagesUntilIdle(300);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Wnd, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 399, 259));
    EXPECT_TRUE(PtInRegion(rgn, 398, 258));
    EXPECT_TRUE(PtInRegion(rgn, 350, 130));
    DeleteObject(rgn);
}

TEST_F(FramePaintTest, MaximizedFormShowsTheRestoreImage)
{
    TsSkinProvider* p = Attach();
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    ASSERT_TRUE(IsZoomed(Wnd));
    const testsupport::Pixels24 pix = Printed();
    const TPoint c = Centre(p->MaxButton().Rect);
    EXPECT_EQ(pix.At(c.X, c.Y), ButtonColor(bkNorm, 0));
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    const testsupport::Pixels24 back = Printed();
    const TPoint c2 = Centre(p->MaxButton().Rect);
    EXPECT_EQ(back.At(c2.X, c2.Y), ButtonColor(bkMax, 0));
}

TEST_F(FramePaintTest, GripIsPaintedInTheBottomRightCorner)
{
    TsSkinProvider* p = Attach();
    p->GripMode = gmRightBottom;
    p->RepaintFrame();
    const testsupport::Pixels24 pix = Printed();
    const int x = pix.width - p->SysBorderWidth() - 5, y = pix.height - p->SysBorderHeight() - 5;
    EXPECT_EQ(pix.At(x, y), kGripColor);
    EXPECT_EQ(HitTest(x, y), HTBOTTOMRIGHT);
}

TEST_F(FramePaintTest, SkinChangeRepaintsTheFrameInTheNewSkin)
{
    TsSkinProvider* p = Attach();
    Manager->SetSkinName(L"Beta");
    testsupport::PumpMessagesUntilIdle(300);
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(pix.width / 2, p->SysBorderHeight() + p->CaptionHeight() / 2), kBetaTitleActive);
    EXPECT_EQ(pix.At(p->ClientOffsetX() + 10, p->ClientOffsetY() + 10), kBetaFormColor);
}

TEST_F(FramePaintTest, CaptionIconSizeFollowsTheCaptionHeight)
{
    EXPECT_EQ(CaptionIconSize(8), 0);
    EXPECT_EQ(CaptionIconSize(16), 8);
    EXPECT_EQ(CaptionIconSize(18), 16);
    EXPECT_EQ(CaptionIconSize(28), 32);
    TsSkinProvider* p = Attach();
    EXPECT_EQ(p->IconWidth(), CaptionIconSize(Metric(SM_CYCAPTION)));
    p->TitleIcon()->Width = 12;
    EXPECT_EQ(p->IconWidth(), 12);
}

// The caption painted alone goes over the bare frame kept under it: an old text never shows through a
// title that lets the frame show.
TEST_F(FramePaintTest, ANewCaptionOverTheKeptFrameLeavesNoOldText)
{
    WriteSkin(Folder(), L"Glass", false,
              {{"[FORM]\r\n", "[FORM]\r\nRESERVEDBOOLEAN=TRUE\r\n"},
               {"[FORMTITLE]\r\n", "[FORMTITLE]\r\nTRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\n"}});
    Manager->SetSkinName(L"Glass");
    TsSkinProvider* p = Attach();
    for (const std::wstring caption : {L"Тест", L""}) {
        Form->SetCaption(caption);
        const testsupport::Pixels24 pix = Printed();
        bool text = false;
        for (int i = 0; i < pix.width * (p->SysBorderHeight() + p->CaptionHeight()); ++i)
            text = text || pix.At(i % pix.width, i / pix.width) == kTitleText;
        EXPECT_EQ(text, !caption.empty());
    }
}

// Title buttons are as wide as the skin's global button image makes them and drawn with it alone: a
// skin without one draws none, also when the form's section has an image of that name.
TEST_F(FramePaintTest, TitleButtonsWithoutAGlobalImageShowTheCaptionBehindThem)
{
    const std::string image = "TITLEBUTTON=!TITLEBTN.BMP!3!1!2\r\n";
    WriteSkin(Folder(), L"Plain", false, {{image, ""}, {"[FORM]\r\n", "[FORM]\r\n" + image}});
    Manager->SetSkinName(L"Plain");
    TsSkinProvider* p = Attach();
    TsTitleButton* button = p->TitleButtons()->Add();
    p->RepaintFrame();
    EXPECT_EQ(Printed().At(button->Rect.Left + 2, button->Rect.Top + 2), kTitleActive);
}

class ToolWindowTest : public ProviderTest {};

TEST_F(ToolWindowTest, ToolWindowUsesTheSmallImagesAndTheSmallCaption)
{
    Form->SetBorderStyle(bsToolWindow);
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    EXPECT_EQ(p->CaptionHeight(), Metric(SM_CYSMCAPTION));
    EXPECT_EQ(p->CloseButton().ImageIndex, FindMaskIndexNoParent(Manager, L"GLOBALINFO", L"SICONCLOSE"));
    EXPECT_EQ(p->ButtonWidth(p->CloseButton()), kSmallButtonWidth);
    EXPECT_EQ(p->IconWidth(), 0); // tool windows show no icon
}

TEST_F(ToolWindowTest, SkinWithoutSmallImagesFallsBackToTheBigOnes)
{
    Form->SetBorderStyle(bsToolWindow);
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    Manager->SetSkinName(L"Beta");
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(p->CloseButton().ImageIndex, FindMaskIndexNoParent(Manager, L"GLOBALINFO", L"BICONCLOSE"));
    EXPECT_EQ(p->ButtonWidth(p->CloseButton()), kBigButtonWidth);
}

TEST_F(FramePaintTest, MenuLineTakesItsSectionAndHookedItemsDrawThemselvesOnIt)
{
    TMenuItem* item = GiveFormAMenu();
    TsSkinProvider* p = Attach();
    ASSERT_TRUE(p->MenuLineVisible());
    EXPECT_EQ(p->MenuHeight(), Metric(SM_CYMENU) - 1);
    // The menu painter took the form's menu over at activation.
    EXPECT_TRUE(item->OnAdvancedDrawItem);
    EXPECT_TRUE(item->OnMeasureItem);
    std::vector<TRect> drawn;
    item->OnAdvancedDrawItem = [&](TObject*, TCanvas* canvas, TRect r, TOwnerDrawState) {
        drawn.push_back(r);
        FillRect(canvas->Handle(), reinterpret_cast<RECT*>(&r), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    p->RepaintFrame();
    const testsupport::Pixels24 pix = Printed();
    const int bandY = p->SysBorderHeight() + p->CaptionHeight() + p->MenuHeight() / 2;
    EXPECT_EQ(pix.At(pix.width - 20, bandY), RGB(0xA0, 0xA0, 0xA0));
    ASSERT_FALSE(drawn.empty());
    const TRect r = drawn.back();
    EXPECT_GE(r.Top, p->SysBorderHeight() + p->CaptionHeight() - 1);
    EXPECT_EQ(pix.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), RGB(0, 0, 0));
    // The band's background stays for the menu painter, taken before the items were drawn.
    EXPECT_EQ(p->MenuLineBmp()->Width(), pix.width);
    EXPECT_EQ(p->MenuLineBmp()->Height(), p->MenuHeight());
    EXPECT_EQ(static_cast<COLORREF>(GetPixel(p->MenuLineBmp()->Canvas()->Handle(), (r.Left + r.Right) / 2, 2)),
              RGB(0xA0, 0xA0, 0xA0));
    if (HasFailure())
        Keep(pix, L"menu");
}

TEST_F(FramePaintTest, BorderlessSizeableFormGetsItsFourBorderStrips)
{
    Form->SetBorderStyle(bsNone);
    Wnd = Form->Handle();
    SetWindowLongPtrW(Wnd, GWL_STYLE, GetWindowLongPtrW(Wnd, GWL_STYLE) | WS_THICKFRAME);
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    TsSkinProvider* p = Attach();
    ASSERT_FALSE(p->HasBorder());
    ASSERT_TRUE(p->IsSizeable());
    p->RepaintFrame();
    const testsupport::Pixels24 pix = OnScreen();
    const int w = pix.width, h = pix.height;
    const POINT strips[] = {{1, h / 2}, {w - 2, h / 2}, {w / 2, 1}, {w / 2, h - 2}};
    for (const POINT& pt : strips)
        EXPECT_EQ(pix.At(pt.x, pt.y), kFormColor) << pt.x << "," << pt.y;
    if (HasFailure())
        Keep(pix, L"borderless");
}

TEST_F(FramePaintTest, RepaintFrameNowPutsTheFrameOnTheWindowWithoutAPaintMessage)
{
    TsSkinProvider* p = Attach();
    testsupport::PumpMessagesUntilIdle(300);
    HDC dc = GetWindowDC(Wnd);
    RECT corner{0, 0, 40, 40};
    FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const int y = p->SysBorderHeight() + p->CaptionHeight() / 2;
    ASSERT_EQ(GetPixel(dc, 30, y), RGB(0, 0, 0));
    p->RepaintFrameNow();
    EXPECT_EQ(GetPixel(dc, 30, y), Printed().At(30, y));
    ReleaseDC(Wnd, dc);
}

TEST_F(FramePaintTest, TurningAButtonHotDrawsTheMenuLineItemLeftHotAsNormal)
{
    TMenuItem* item = GiveFormAMenu();
    TsSkinProvider* p = Attach();
    ASSERT_TRUE(item->OnAdvancedDrawItem);
    const int top = p->SysBorderHeight() + p->CaptionHeight();
    const TRect place{p->SysBorderWidth(), top, p->SysBorderWidth() + 40, top + p->MenuHeight()};
    // The menu painter draws the item hot, as the system asks when the mouse is over it.
    item->OnAdvancedDrawItem(item, p->SkinData()->CacheBmp()->Canvas(), place, TOwnerDrawState{odHotLight});
    ASSERT_EQ(PendingMenuLineItem().Item, item);
    std::vector<std::pair<TRect, bool>> drawn;
    item->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect r, TOwnerDrawState state) {
        drawn.emplace_back(r, state.Contains(odHotLight) || state.Contains(odSelected));
    };
    EXPECT_EQ(HitTest(p->CloseButton().Rect.Left + 2, p->CloseButton().Rect.Top + 2), HTCLOSE);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].first, place);
    EXPECT_FALSE(drawn[0].second);
    EXPECT_EQ(PendingMenuLineItem().Item, nullptr);
    // Nothing is left to redraw at the next hot button.
    HitTest(160, p->SysBorderHeight() + p->CaptionHeight() / 2);
    EXPECT_EQ(drawn.size(), 1u);
}

namespace {

// A control that paints only its left half: the rest must show what lies behind it.
class THalfPainted : public TGraphicControl {
    DECLARE_CLASS_NAME(THalfPainted)
public:
    explicit THalfPainted(TComponent* owner) : TGraphicControl(owner) { ControlStyle.Exclude(csOpaque); }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_PAINT && m.WParam) {
            RECT half{0, 0, Width() / 2, Height()};
            FillRect(reinterpret_cast<HDC>(m.WParam), &half, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            return;
        }
        TGraphicControl::Dispatch(m);
    }
};

// A control with a skin state of its own that notes at each paint whether its background was marked
// changed since the last.
class TBackgroundWitness : public TGraphicControl {
    DECLARE_CLASS_NAME(TBackgroundWitness)
public:
    explicit TBackgroundWitness(TComponent* owner) : TGraphicControl(owner), Data(this, false) {}
    TsCommonData Data;
    std::vector<bool> Painted;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_PAINT && m.WParam)
            Painted.push_back(std::exchange(Data.BGChanged, false));
        else if (m.Msg != SM_SKINCMD || !CommonSkinCommand(m, &Data))
            TGraphicControl::Dispatch(m);
    }
};

} // namespace

TEST_F(FramePaintTest, HeldControlThatIsNotOpaqueIsPaintedOverTheFormsLook)
{
    TsSkinProvider* p = Attach();
    auto* control = Create<THalfPainted>(Form);
    control->SetBounds(20, 20, 40, 20);
    control->SetParent(Form);
    p->SkinData()->HeldObject = control;
    auto surface = std::make_unique<TBitmap>();
    surface->SetPixelFormat(pf24bit);
    surface->SetSize(200, 100);
    HDC dc = surface->Canvas()->Handle();
    RECT all{0, 0, 200, 100};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    p->PaintClientBackground(dc, false);
    p->SkinData()->HeldObject = nullptr;
    EXPECT_EQ(static_cast<COLORREF>(GetPixel(dc, 25, 30)), RGB(0, 0, 0));
    EXPECT_EQ(static_cast<COLORREF>(GetPixel(dc, 50, 30)), kFormColor);
    // Outside the control nothing is painted.
    EXPECT_EQ(static_cast<COLORREF>(GetPixel(dc, 100, 30)), RGB(255, 0, 0));
}

// The form's first frame, and a client paint over a changed frame, repaint the controls on the form from
// their background up; a client paint over an unchanged frame leaves their backgrounds be.
TEST_F(FramePaintTest, ControlsRepaintTheirBackgroundsAfterTheFrameChanged)
{
    auto* witness = Create<TBackgroundWitness>(Form);
    witness->SetBounds(20, 20, 30, 20);
    witness->SetParent(Form);
    testsupport::PumpMessagesUntilIdle(200);
    witness->Data.BGChanged = false;
    const size_t first = witness->Painted.size();
    TsSkinProvider* p = Attach();
    HDC dc = GetDC(Wnd);
    for (const bool changed : {false, true}) {
        p->SkinData()->BGChanged = changed;
        SendMessageW(Wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    ReleaseDC(Wnd, dc);
    ASSERT_GE(witness->Painted.size(), first + 3);
    EXPECT_TRUE(witness->Painted[first]);
    EXPECT_EQ(std::vector<bool>(witness->Painted.end() - 2, witness->Painted.end()), (std::vector<bool>{false, true}));
}

// While skin command 9 has set its flag the client's paint leaves the frame cache as it is: the form's
// own drawing, which a repaint of the cache runs, does not run.
TEST_F(FramePaintTest, ClientPaintKeepsTheCacheWhileSkinCommandNineHoldsIt)
{
    TsSkinProvider* p = Attach();
    int paints = 0;
    Form->OnPaint = [&](TObject*) { ++paints; };
    HDC dc = GetDC(Wnd);
    for (const WORD flag : {1, 0}) {
        SendMessageW(Wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdSetFlag, flag), 0);
        paints = 0;
        p->SkinData()->BGChanged = true;
        SendMessageW(Wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_EQ(paints, flag ? 0 : 1) << flag;
    }
    ReleaseDC(Wnd, dc);
    Form->OnPaint = nullptr;
}
