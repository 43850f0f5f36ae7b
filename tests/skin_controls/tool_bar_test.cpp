// The skinned tool bar: its background, buttons in their normal, hot, pressed and disabled looks,
// captions and glyphs, the drop-down arrow, its own hot button on bars that are not flat, the closed
// drop-down, skin changes and the plain bar without a manager.
#include "tests/skin_controls/bars_support.h"

#include "framework/FormData.h"
#include "framework/Menus.h"
#include "skin/controls/sToolBar.h"
#include "skin/core/sMessages.h"

#include <commctrl.h>

namespace {

using namespace barskin;

class ToolBar : public BarsTest {
protected:
    TsToolBar* MakeBar(int buttons, bool flat = false)
    {
        auto* bar = Create<TsToolBar>(Form);
        bar->SetParent(Form);
        bar->SetFlat(flat);
        bar->SetButtonWidth(40);
        bar->SetButtonHeight(30);
        for (int i = 0; i < buttons; ++i) {
            auto* b = Create<TToolButton>(Form);
            b->SetParent(bar);
        }
        Form->Show();
        testsupport::PumpMessagesUntilIdle(500);
        return bar;
    }
    // A point of the bar's client area in the form's client area.
    TPoint InForm(TsToolBar* bar, TPoint p)
    {
        POINT pt{p.X, p.Y};
        MapWindowPoints(bar->Handle(), Form->Handle(), &pt, 1);
        return Point(pt.x, pt.y);
    }
    TPoint ButtonCentre(TsToolBar* bar, int i)
    {
        TToolButton* b = bar->Buttons(i);
        return InForm(bar, Point(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2));
    }
    COLORREF CentreOf(TsToolBar* bar, int i)
    {
        const TPoint p = ButtonCentre(bar, i);
        return Shot().At(p.X, p.Y);
    }
    TRect ButtonArea(TsToolBar* bar, int i)
    {
        TToolButton* b = bar->Buttons(i);
        const TPoint p = InForm(bar, Point(b->Left(), b->Top()));
        return TRect{p.X, p.Y, p.X + b->Width(), p.Y + b->Height()};
    }
    static void MoveMouse(TsToolBar* bar, TPoint p) { bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y)); }
    static TPoint Centre(TToolButton* b) { return Point(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2); }

    // Images of 16 x 16: a red square of 8 x 8 in the middle of a transparent key.
    std::unique_ptr<TImageList> MakeImages()
    {
        auto list = std::make_unique<TImageList>(16, 16);
        TBitmap image;
        image.SetPixelFormat(pf24bit);
        image.SetSize(16, 16);
        image.Canvas()->Brush()->SetColor(clLime);
        image.Canvas()->FillRect(TRect{0, 0, 16, 16});
        image.Canvas()->Brush()->SetColor(clRed);
        image.Canvas()->FillRect(TRect{4, 4, 12, 12});
        list->AddMasked(&image, clLime);
        return list;
    }
};

} // namespace

TEST_F(ToolBar, BackgroundAndButtonsComeFromTheirSections)
{
    MakeManager();
    TsToolBar* bar = MakeBar(3);
    ASSERT_TRUE(bar->SkinData()->Skinned());
    const auto shot = Shot();
    for (int i = 0; i < 3; ++i) {
        const TPoint c = ButtonCentre(bar, i);
        EXPECT_EQ(shot.At(c.X, c.Y), kButtonColors[0]) << i;
    }
    const TPoint free = InForm(bar, Point(bar->ClientWidth() - 5, 5));
    EXPECT_EQ(shot.At(free.X, free.Y), kToolBarColor);
}

TEST_F(ToolBar, TheMouseOverAButtonOfABarThatIsNotFlatMakesItHot)
{
    MakeManager();
    TsToolBar* bar = MakeBar(3);
    MoveMouse(bar, Centre(bar->Buttons(1)));
    EXPECT_EQ(bar->HotButtonNo(), 1);
    EXPECT_EQ(CentreOf(bar, 1), kButtonColors[1]);
    EXPECT_EQ(CentreOf(bar, 0), kButtonColors[0]);
    // The system's bar hears that the mouse left it, the framework tells the control.
    bar->Perform(WM_MOUSELEAVE);
    bar->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(bar->HotButtonNo(), -1);
    EXPECT_EQ(CentreOf(bar, 1), kButtonColors[0]);
}

TEST_F(ToolBar, AFlatBarKeepsTheSystemsHotTracking)
{
    MakeManager();
    TsToolBar* bar = MakeBar(3, true);
    MoveMouse(bar, Centre(bar->Buttons(1)));
    EXPECT_EQ(bar->HotButtonNo(), -1);
}

TEST_F(ToolBar, MovingOntoADisabledButtonLeavesThePreviousButtonHot)
{
    MakeManager();
    TsToolBar* bar = MakeBar(3);
    bar->Buttons(2)->SetEnabled(false);
    MoveMouse(bar, Centre(bar->Buttons(1)));
    MoveMouse(bar, Centre(bar->Buttons(2)));
    EXPECT_EQ(bar->HotButtonNo(), 1);
}

TEST_F(ToolBar, ACheckedButtonPaintsPressed)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->Buttons(0)->SetStyle(tbsCheck);
    bar->Buttons(0)->SetDown(true);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(CentreOf(bar, 0), kButtonColors[2]);
    EXPECT_EQ(CentreOf(bar, 1), kButtonColors[0]);
}

TEST_F(ToolBar, ADownButtonIsNotRepaintedWhenItLosesTheHotState)
{
    MakeManager();
    TsToolBar* bar = MakeBar(3);
    bar->Buttons(0)->SetStyle(tbsCheck);
    bar->Buttons(0)->SetDown(true);
    testsupport::PumpMessagesUntilIdle(200);
    MoveMouse(bar, Centre(bar->Buttons(0)));
    MoveMouse(bar, Centre(bar->Buttons(2)));
    EXPECT_EQ(bar->HotButtonNo(), 2);
    // Marks on the window show which buttons were painted again when the hot button moved on.
    HDC dc = GetDC(bar->Handle());
    const TPoint down = Centre(bar->Buttons(0)), plain = Centre(bar->Buttons(2));
    SetPixel(dc, down.X, down.Y, RGB(1, 2, 3));
    SetPixel(dc, plain.X, plain.Y, RGB(1, 2, 3));
    MoveMouse(bar, Centre(bar->Buttons(0)));
    MoveMouse(bar, Centre(bar->Buttons(1)));
    EXPECT_EQ(GetPixel(dc, down.X, down.Y), RGB(1, 2, 3));
    EXPECT_NE(GetPixel(dc, plain.X, plain.Y), RGB(1, 2, 3));
    ReleaseDC(bar->Handle(), dc);
}

TEST_F(ToolBar, CaptionsAreWrittenInTheButtonFontColour)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->SetShowCaptions(true);
    bar->Buttons(0)->SetCaption(L"WWW");
    testsupport::PumpMessagesUntilIdle(200);
    const auto shot = Shot();
    EXPECT_GT(CountColor(shot, ButtonArea(bar, 0), kButtonFont), 10);
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 1), kButtonFont), 0);
}

TEST_F(ToolBar, GlyphsKeepTheButtonUnderTheirTransparentPixels)
{
    MakeManager();
    auto images = MakeImages();
    ASSERT_EQ(images->BkColor(), clNone);
    TsToolBar* bar = MakeBar(2);
    bar->SetImages(images.get());
    bar->Buttons(0)->SetImageIndex(0);
    testsupport::PumpMessagesUntilIdle(200);
    const auto shot = Shot();
    const TRect area = ButtonArea(bar, 0);
    EXPECT_EQ(CountColor(shot, area, RGB(255, 0, 0)), 64);
    EXPECT_EQ(CountColor(shot, area, RGB(255, 0, 255)), 0);
    EXPECT_EQ(CountColor(shot, area, RGB(0, 255, 0)), 0);
    EXPECT_EQ(CountColor(shot, area, RGB(255, 255, 255)), 0);
    // Glyph left = (width - 16) div 2 + 1, top = (height - 16) div 2 on a bar without captions.
    TToolButton* b = bar->Buttons(0);
    const TPoint glyph = InForm(bar, Point(b->Left() + (b->Width() - 16) / 2 + 1, b->Top() + (b->Height() - 16) / 2));
    EXPECT_EQ(shot.At(glyph.X + 4, glyph.Y + 4), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(glyph.X + 3, glyph.Y + 4), kButtonColors[0]);
    bar->SetImages(nullptr);
}

TEST_F(ToolBar, ADisabledButtonIsBlendedIntoTheBar)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->Buttons(1)->SetEnabled(false);
    testsupport::PumpMessagesUntilIdle(200);
    const COLORREF c = CentreOf(bar, 1);
    EXPECT_NE(c, kButtonColors[0]);
    EXPECT_NE(c, kToolBarColor);
    // Each channel lies between the button's and the bar's.
    const auto between = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    EXPECT_TRUE(between(GetRValue(c), GetRValue(kButtonColors[0]), GetRValue(kToolBarColor)));
    EXPECT_TRUE(between(GetGValue(c), GetGValue(kButtonColors[0]), GetGValue(kToolBarColor)));
    EXPECT_TRUE(between(GetBValue(c), GetBValue(kButtonColors[0]), GetBValue(kToolBarColor)));
}

TEST_F(ToolBar, ADropDownButtonShowsTheSkinsArrow)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->Buttons(0)->SetStyle(tbsDropDown);
    testsupport::PumpMessagesUntilIdle(200);
    const auto shot = Shot();
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 0), kArrowColors[0]), kArrowFrameWidth * kArrowHeight);
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 1), kArrowColors[0]), 0);
}

TEST_F(ToolBar, AfterItsDropDownClosesTheButtonIsNoLongerOpenOrHot)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->Buttons(0)->SetStyle(tbsDropDown);
    testsupport::PumpMessagesUntilIdle(200);
    MoveMouse(bar, Centre(bar->Buttons(0)));
    NMTOOLBARW info{};
    info.hdr.hwndFrom = bar->Handle();
    info.hdr.code = TBN_DROPDOWN;
    info.iItem = 0;
    bar->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(bar->OpenDropButton(), bar->Buttons(0));
    bar->Perform(CN_DROPDOWNCLOSED);
    EXPECT_EQ(bar->OpenDropButton(), nullptr);
    EXPECT_EQ(bar->HotButtonNo(), -1);
    // The button was painted again at once, in the normal state: read the window as it is now.
    HDC dc = GetDC(bar->Handle());
    TToolButton* b = bar->Buttons(0);
    int normalArrow = 0, normalFace = 0;
    for (int y = b->Top(); y < b->Top() + b->Height(); ++y)
        for (int x = b->Left(); x < b->Left() + b->Width(); ++x) {
            normalArrow += GetPixel(dc, x, y) == kArrowColors[0];
            normalFace += GetPixel(dc, x, y) == kButtonColors[0];
        }
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(normalArrow, kArrowFrameWidth * kArrowHeight);
    EXPECT_GT(normalFace, 0);
}

TEST_F(ToolBar, ASkinChangeRepaintsAndRemovalHandsTheEventsBack)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    EXPECT_TRUE(static_cast<bool>(bar->OnAdvancedCustomDrawButton));
    EXPECT_EQ(CentreOf(bar, 0), kButtonColors[0]);
    Manager->SetActive(false);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(static_cast<bool>(bar->OnAdvancedCustomDraw));
    EXPECT_FALSE(static_cast<bool>(bar->OnAdvancedCustomDrawButton));
    EXPECT_EQ(CountColor(Shot(), ButtonArea(bar, 0), kButtonColors[0]), 0);
    Manager->SetActive(true);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(static_cast<bool>(bar->OnAdvancedCustomDrawButton));
    EXPECT_EQ(CentreOf(bar, 0), kButtonColors[0]);
}

// A command that fails is reported like any other failure of the program, and the bar goes on working.
TEST_F(ToolBar, AFailingButtonCommandReachesTheApplicationsReport)
{
    MakeManager();
    TsToolBar* bar = MakeBar(2);
    bar->Buttons(0)->OnClick = [](TObject*) { throw EInvalidOperation(L"Рецепт не сохранён"); };
    int clicks = 0;
    bar->Buttons(1)->OnClick = [&clicks](TObject*) { ++clicks; };
    auto click = [bar](int i) {
        const TPoint p = Centre(bar->Buttons(i));
        SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
        SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
        testsupport::PumpMessagesUntilIdle(200);
    };
    click(0);
    EXPECT_EQ(Errors, std::vector<std::wstring>{L"Рецепт не сохранён"});
    Errors.clear();
    click(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CentreOf(bar, 0), kButtonColors[0]);
}

TEST_F(ToolBar, HandlersOfTheProgramStayWhenThereIsNoSkin)
{
    TsToolBar* bar = MakeBar(1);
    int calls = 0;
    bar->OnAdvancedCustomDraw = [&calls](TToolBar*, const TRect&, TCustomDrawStage, bool&) { ++calls; };
    bar->HookCustomDraw();
    EXPECT_TRUE(static_cast<bool>(bar->OnAdvancedCustomDraw));
    Shot();
    EXPECT_GT(calls, 0);
}

TEST_F(ToolBar, WithoutAManagerTheBarLooksLikeThePlainToolBar)
{
    auto images = MakeImages();
    TsToolBar* bar = MakeBar(2);
    auto* plain = Create<TToolBar>(Form);
    plain->SetParent(Form);
    plain->SetButtonWidth(40);
    plain->SetButtonHeight(30);
    for (int i = 0; i < 2; ++i)
        Create<TToolButton>(Form)->SetParent(plain);
    for (TToolBar* b : {static_cast<TToolBar*>(bar), plain}) {
        b->SetImages(images.get());
        b->Buttons(0)->SetImageIndex(0);
    }
    testsupport::PumpMessagesUntilIdle(300);
    ASSERT_EQ(bar->Height(), plain->Height());
    const auto shot = Shot();
    int differing = 0;
    for (int y = 0; y < bar->Height(); ++y)
        for (int x = 0; x < bar->Width(); ++x)
            differing += shot.At(bar->Left() + x, bar->Top() + y) != shot.At(plain->Left() + x, plain->Top() + y);
    EXPECT_EQ(differing, 0);
    bar->SetImages(nullptr);
    plain->SetImages(nullptr);
}

TEST_F(ToolBar, ImagesWithABackgroundColourUseItAsTheTransparentColour)
{
    MakeManager();
    auto images = std::make_unique<TImageList>(16, 16);
    images->SetMasked(false);
    images->SetBkColor(clLime);
    TBitmap image;
    image.SetPixelFormat(pf24bit);
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(clLime);
    image.Canvas()->FillRect(TRect{0, 0, 16, 16});
    image.Canvas()->Brush()->SetColor(clRed);
    image.Canvas()->FillRect(TRect{4, 4, 12, 12});
    images->Add(&image, nullptr);
    TsToolBar* bar = MakeBar(1);
    bar->SetImages(images.get());
    bar->Buttons(0)->SetImageIndex(0);
    testsupport::PumpMessagesUntilIdle(200);
    const auto shot = Shot();
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 0), RGB(255, 0, 0)), 64);
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 0), RGB(0, 255, 0)), 0);
    bar->SetImages(nullptr);
}

TEST_F(ToolBar, AHotButtonTakesItsGlyphFromTheHotImages)
{
    MakeManager();
    auto images = MakeImages();
    auto hot = std::make_unique<TImageList>(16, 16);
    TBitmap image;
    image.SetPixelFormat(pf24bit);
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(clBlue);
    image.Canvas()->FillRect(TRect{0, 0, 16, 16});
    hot->AddMasked(&image, clLime);
    TsToolBar* bar = MakeBar(2);
    bar->SetImages(images.get());
    bar->SetHotImages(hot.get());
    bar->Buttons(0)->SetImageIndex(0);
    bar->Buttons(1)->SetImageIndex(0);
    testsupport::PumpMessagesUntilIdle(200);
    MoveMouse(bar, Centre(bar->Buttons(0)));
    const auto shot = Shot();
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 0), RGB(0, 0, 255)), 256);
    EXPECT_EQ(CountColor(shot, ButtonArea(bar, 1), RGB(255, 0, 0)), 64);
    bar->Perform(WM_MOUSELEAVE);
    bar->Perform(CM_MOUSELEAVE);
    bar->SetImages(nullptr);
    bar->SetHotImages(nullptr);
}

TEST_F(ToolBar, ChildrenBorrowTheBarsCacheAtTheClientAreasPlace)
{
    MakeManager();
    TsToolBar* bar = MakeBar(1);
    Shot();
    CacheReply.Ready = false;
    SendSkinCmd(bar->Handle(), SkinCmdGetCache, 0);
    ASSERT_TRUE(CacheReply.Ready);
    EXPECT_EQ(CacheReply.Bmp, bar->SkinData()->CacheBmp());
    POINT origin{0, 0};
    MapWindowPoints(bar->Handle(), nullptr, &origin, 1);
    RECT window{};
    GetWindowRect(bar->Handle(), &window);
    EXPECT_EQ(CacheReply.X, origin.x - window.left);
    EXPECT_EQ(CacheReply.Y, origin.y - window.top);
    EXPECT_GT(CacheReply.Y, 0); // the top edge lies outside the client area
    CacheReply.Ready = false;
}

TEST_F(ToolBar, TheFrameAroundTheClientAreaComesFromTheCache)
{
    MakeManager();
    TsToolBar* bar = MakeBar(1);
    const auto shot = testsupport::CaptureWindow(bar->Handle(), true);
    EXPECT_EQ(shot.At(bar->Width() / 2, 0), kToolBarColor);
}

TEST_F(ToolBar, FormDataNamesTheBarAndItsDisabledKind)
{
    RegisterSkinToolBarClasses();
    const char* text = "object Root: TForm\n"
                       "  object Tools: TsToolBar\n"
                       "    BtnDisabledKind = [dkGrayed]\n"
                       "    object B1: TToolButton\n"
                       "    end\n"
                       "  end\n"
                       "end\n";
    TFormReader(Form, L"tools.form").Read(ParseFormData(text, L"tools.form"));
    auto* bar = dynamic_cast<TsToolBar*>(Form->FindComponent(L"Tools"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->BtnDisabledKind(), TsDisabledKind{dkGrayed});
    EXPECT_EQ(bar->ButtonCount(), 1);
    EXPECT_EQ(DisabledKindFlags(bar->BtnDisabledKind()), 2);
}

TEST_F(ToolBar, PopupMenusPlacedBesideASkinnedBarGoToTheMenuPainter)
{
    MakeManager();
    ASSERT_NE(Manager->SkinableMenus(), nullptr);
    TsToolBar* bar = MakeBar(1);
    // A component tells its owner's others of itself while its own constructor still runs, before it
    // is a popup menu: the menu is handed over when it joins the form whole.
    auto* menu = Create<TPopupMenu>(nullptr);
    Form->InsertComponent(menu);
    EXPECT_TRUE(menu->OwnerDraw());
    Form->RemoveComponent(menu);
    EXPECT_FALSE(menu->OwnerDraw());
    Free(menu);
    EXPECT_TRUE(bar->SkinData()->Skinned());
}
