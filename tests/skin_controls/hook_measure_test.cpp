// Taking menus over and giving them back, and the sizes the painter asks for.
#include "tests/skin_controls/menus_support.h"

#include <cmath>

using namespace menutest;

namespace {

using DrawEvent = TAdvancedMenuDrawItemEvent;
using MeasureEvent = TMenuMeasureItemEvent;

class TAppHandlers : public TObject {
public:
    void Draw(TObject*, TCanvas*, TRect, TOwnerDrawState) {}
    void Measure(TObject*, TCanvas*, int&, int&) {}
};

// A canvas on a screen DC, as the framework hands to measure handlers.
class ScreenCanvas {
public:
    ScreenCanvas() : dc_(GetDC(nullptr)) { canvas.SetHandle(dc_); }
    ~ScreenCanvas()
    {
        canvas.SetHandle(nullptr);
        ReleaseDC(nullptr, dc_);
    }
    TCanvas canvas;

private:
    HDC dc_;
};

int MenuTextWidth(const std::wstring& text)
{
    ScreenCanvas sc;
    sc.canvas.Font()->Assign(Screen->MenuFont());
    RECT r{0, 0, 0, 0};
    sc.canvas.TextExtent(L"");
    DrawTextW(sc.canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    return r.right - r.left;
}

int MenuLineHeight()
{
    ScreenCanvas sc;
    sc.canvas.Font()->Assign(Screen->MenuFont());
    return static_cast<int>(std::nearbyint(sc.canvas.TextHeight(L"W") * 1.25));
}

using Hooking = MenuTest;
using Measuring = MenuTest;

} // namespace

TEST_F(Hooking, LoadingASkinMakesEveryMenuOwnerDrawnWithThePainterHandlers)
{
    LoadSkin();
    TsSkinableMenus* menus = Menus();
    ASSERT_NE(menus, nullptr);
    EXPECT_TRUE(menus->Active());
    EXPECT_TRUE(mainMenu->OwnerDraw());
    EXPECT_TRUE(popup->OwnerDraw());
    EXPECT_TRUE(popup->MenuAnimation().Contains(maNone));
    EXPECT_TRUE(fileItem->OnAdvancedDrawItem == DrawEvent(menus, &TsSkinableMenus::DrawMainMenuItem));
    EXPECT_TRUE(fileItem->OnMeasureItem == MeasureEvent(menus, &TsSkinableMenus::MeasureMainMenuItem));
    EXPECT_TRUE(openItem->OnAdvancedDrawItem == DrawEvent(menus, &TsSkinableMenus::DrawPopupItem));
    EXPECT_TRUE(openItem->OnMeasureItem == MeasureEvent(menus, &TsSkinableMenus::MeasurePopupItem));
    TMenuItem* popupItem = popup->Items()->Items(0);
    EXPECT_TRUE(popupItem->OnAdvancedDrawItem == DrawEvent(menus, &TsSkinableMenus::DrawPopupItem));
}

TEST_F(Hooking, SwitchingOffGivesTheMenusBack)
{
    LoadSkin();
    Menus()->SetActive(false);
    EXPECT_FALSE(mainMenu->OwnerDraw());
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(popup->MenuAnimation().Contains(maNone));
    EXPECT_FALSE(fileItem->OnAdvancedDrawItem);
    EXPECT_FALSE(fileItem->OnMeasureItem);
    EXPECT_FALSE(openItem->OnAdvancedDrawItem);
    EXPECT_FALSE(openItem->OnMeasureItem);
    EXPECT_FALSE(popup->Items()->Items(0)->OnMeasureItem);
}

TEST_F(Hooking, ApplicationHandlersStayInPlaceThroughHookingAndUnhooking)
{
    TAppHandlers app;
    openItem->OnAdvancedDrawItem = DrawEvent(&app, &TAppHandlers::Draw);
    openItem->OnMeasureItem = MeasureEvent(&app, &TAppHandlers::Measure);
    LoadSkin();
    EXPECT_TRUE(openItem->OnAdvancedDrawItem == DrawEvent(&app, &TAppHandlers::Draw));
    EXPECT_TRUE(openItem->OnMeasureItem == MeasureEvent(&app, &TAppHandlers::Measure));
    Menus()->SetActive(false);
    EXPECT_TRUE(openItem->OnAdvancedDrawItem == DrawEvent(&app, &TAppHandlers::Draw));
    EXPECT_TRUE(openItem->OnMeasureItem == MeasureEvent(&app, &TAppHandlers::Measure));
}

TEST_F(Hooking, AManagerThatGoesTakesItsHandlersOutOfTheMenus)
{
    LoadSkin();
    sm.reset();
    EXPECT_FALSE(mainMenu->OwnerDraw());
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(fileItem->OnAdvancedDrawItem);
    EXPECT_FALSE(openItem->OnAdvancedDrawItem);
    EXPECT_FALSE(popup->Items()->Items(0)->OnMeasureItem);
}

TEST_F(Hooking, PopupsStayUnskinnedWhenTheManagerSkinsNoPopups)
{
    sm->SetSkinnedPopups(false);
    LoadSkin();
    EXPECT_TRUE(mainMenu->OwnerDraw());
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(popup->Items()->Items(0)->OnAdvancedDrawItem);
}

TEST_F(Hooking, HookItemGivesATopItemTheMenuLineHandlers)
{
    LoadSkin();
    TsSkinableMenus* menus = Menus();
    fileItem->OnAdvancedDrawItem = nullptr;
    menus->HookItem(fileItem, true);
    EXPECT_TRUE(fileItem->OnAdvancedDrawItem == DrawEvent(menus, &TsSkinableMenus::DrawMainMenuItem));
    menus->HookItem(openItem, false);
    EXPECT_FALSE(openItem->OnAdvancedDrawItem);
    EXPECT_FALSE(mainMenu->OwnerDraw());
}

TEST_F(Measuring, SeparatorIsTwoPixelsHigh)
{
    TMenuItem* line = AddItem(fileItem, L"-");
    LoadSkin();
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(line, &sc.canvas, w, h);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(CurrentItemType(), smDivider);
    EXPECT_EQ(w, 2 * 16 + 3 * 3 + 6);
    EXPECT_TRUE(SkinnedPopupOpen());
}

TEST_F(Measuring, CaptionWithShortcutCountsBothTextsGlyphRoomMarginsAndSpacing)
{
    openItem->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    LoadSkin();
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    const int text = MenuTextWidth(L"Открыть" + ShortCutToText(openItem->ShortCut()));
    EXPECT_EQ(w, 2 * 16 + text + 3 * 3 + 6);
    EXPECT_EQ(h, std::max(MenuLineHeight(), 16) + 2 * 3);
    EXPECT_EQ(CurrentItemType(), smNormal);
}

TEST_F(Measuring, TitleItemIsMeasuredWithItsDashesAndTextHeight)
{
    TMenuItem* title = AddItem(fileItem, L"-Раздел-");
    LoadSkin();
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(title, &sc.canvas, w, h);
    EXPECT_EQ(CurrentItemType(), smCaption);
    EXPECT_EQ(w, 2 * 16 + MenuTextWidth(L"--Раздел--") + 3 * 3 + 6);
    EXPECT_EQ(h, MenuLineHeight() + 2 * 3);
}

TEST_F(Measuring, AnItemBitmapSetsTheGlyphRoomAndTheHeight)
{
    auto glyph = Bitmap24(20, 40, RGB(1, 2, 3));
    openItem->SetBitmap(glyph.get());
    LoadSkin();
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    EXPECT_EQ(w, 2 * 20 + MenuTextWidth(L"Открыть") + 3 * 3 + 6);
    EXPECT_EQ(h, std::max(MenuLineHeight(), 40) + 2 * 3);
}

TEST_F(Measuring, TheExtraLineWidensFirstColumnItemsOnly)
{
    TMenuItem* second = AddItem(fileItem, L"Второй");
    second->SetBreak(mbBarBreak);
    LoadSkin();
    sm->MenuSupport()->UseExtraLine = true;
    ScreenCanvas sc;
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w1, h1);
    Menus()->MeasurePopupItem(second, &sc.canvas, w2, h2);
    EXPECT_EQ(w1, 2 * 16 + MenuTextWidth(L"Открыть") + 3 * 3 + 6 + 32);
    EXPECT_EQ(w2, 2 * 16 + MenuTextWidth(L"Второй") + 3 * 3 + 6);
}

TEST_F(Measuring, APopupStartingWithSkinSelectItemNeverAsksForTheExtraLine)
{
    TMenuItem* menu = AddItem(fileItem, L"Темы");
    TMenuItem* first = AddItem(menu, L"Синяя", L"SkinSelectItem");
    LoadSkin();
    sm->MenuSupport()->UseExtraLine = true;
    int asked = 0;
    sm->OnGetMenuExtraLineData = [&](TMenuItem*, std::wstring&, std::wstring&, TBitmap*&, bool&) { ++asked; };
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(first, &sc.canvas, w, h);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Menus()->ExtraLineOffset(), 0);
    EXPECT_EQ(w, 2 * 16 + MenuTextWidth(L"Синяя") + 3 * 3 + 6);
}

TEST_F(Measuring, TheExtraLineEventIsAskedOncePerPopup)
{
    TMenuItem* second = AddItem(fileItem, L"Второй");
    LoadSkin();
    sm->MenuSupport()->UseExtraLine = true;
    int asked = 0;
    TMenuItem* askedFor = nullptr;
    sm->OnGetMenuExtraLineData = [&](TMenuItem* firstItem, std::wstring&, std::wstring&, TBitmap*&, bool&) {
        ++asked;
        askedFor = firstItem;
    };
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    Menus()->MeasurePopupItem(second, &sc.canvas, w, h);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedFor, openItem);
}

TEST_F(Measuring, FreeingTheBackgroundKeepsTheExtraLineClearingTheCacheDoesNot)
{
    LoadSkin();
    sm->MenuSupport()->UseExtraLine = true;
    int asked = 0;
    sm->OnGetMenuExtraLineData = [&](TMenuItem*, std::wstring&, std::wstring&, TBitmap*&, bool&) { ++asked; };
    ScreenCanvas sc;
    int w = 0, h = 0;
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    Menus()->PrepareMenuBackground(openItem, 120, nullptr, 80);
    ASSERT_NE(MenuBackground(), nullptr);
    FreeMenuBackground();
    EXPECT_EQ(MenuBackground(), nullptr);
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Menus()->ExtraLineOffset(), 32);
    ClearMenuCache();
    Menus()->MeasurePopupItem(openItem, &sc.canvas, w, h);
    EXPECT_EQ(asked, 2);
}

TEST_F(Measuring, MenuLineItemsTakeTheSystemMenuHeightLessOne)
{
    LoadSkin();
    ScreenCanvas sc;
    int w = 5, h = 0;
    Menus()->MeasureMainMenuItem(fileItem, &sc.canvas, w, h);
    EXPECT_EQ(h, GetSystemMetrics(SM_CYMENU) - 1);
    sc.canvas.Font()->Assign(Screen->MenuFont());
    EXPECT_EQ(w, sc.canvas.TextWidth(L"Файл"));
}

TEST_F(Measuring, TheSkinBorderWidthComesFromTheMenuBorderImage)
{
    LoadSkin();
    // The border image gives no width of its own, so the painter takes 3.
    EXPECT_EQ(Menus()->SkinBorderWidth(), 3);
    Menus()->SetSkinBorderWidth(7);
    EXPECT_EQ(Menus()->SkinBorderWidth(), 7);
}
