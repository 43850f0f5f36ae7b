// A skinned MDI main form with a menu and three skinned children: the framework's child list, the
// buttons of a maximized child in the main form's menu line (painted, hit, pressed and released),
// cascading and closing children, and skin changes while children are open.
#include "tests/skin_forms/provider_support.h"

#include "framework/Menus.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acMDIWnd.h"
#include "skin/forms/acSBUtils.h"
#include "skin/forms/sMDIForm.h"
#include "tests/support/live_objects.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace providerskin;

class MDIChildrenTest : public ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        PrepareMainForm();
        Saved = SkinLinks();
        TacSkinLinks links = Saved;
        links.MakeMDIClientAdapter = MakeMDIClientAdapter;
        SetSkinLinks(links);
        Form->SetFormStyle(fsMDIForm);
        auto* menu = Create<TMainMenu>(Form);
        auto* item = new TMenuItem(menu);
        item->SetCaption(L"Файл");
        menu->Items()->Add(item);
        Form->SetMenu(menu);
        Form->SetBounds(100, 100, 480, 360);
        Wnd = Form->Handle();
        Main = Attach();
        for (int i = 0; i < 3; ++i) {
            auto* child = Create<TLoggingForm>(Application);
            child->SetFormStyle(fsMDIChild);
            child->SetCaption(L"Окно " + std::to_wstring(i + 1));
            child->SetBounds(10 + 20 * i, 10 + 20 * i, 160, 110);
            child->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
            child->Show();
            Create<TsSkinProvider>(child);
            Children.push_back(child);
        }
        testsupport::PumpMessagesUntilIdle(300);
    }
    void TearDown() override
    {
        for (TCustomForm* child : LiveChildren())
            Free(child);
        ProviderTest::TearDown();
        SetSkinLinks(Saved);
    }
    std::vector<TCustomForm*> LiveChildren() const
    {
        std::vector<TCustomForm*> live;
        for (int i = 0; Form && i < Form->MDIChildCount(); ++i)
            live.push_back(Form->MDIChildren(i));
        return live;
    }
    void Maximize(TCustomForm* child)
    {
        SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        testsupport::PumpMessagesUntilIdle(300);
    }
    // A left click (press and release) on a button of the main form's menu line.
    void Click(int code, const TRect& r)
    {
        SendMessageW(Wnd, WM_NCLBUTTONDOWN, code, ScreenPoint(r));
        SendMessageW(Wnd, WM_NCLBUTTONUP, code, ScreenPoint(r));
        testsupport::PumpMessagesUntilIdle(300);
    }
    static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    virtual void PrepareMainForm() {}
    // A new child with these border icons, shown; its provider is made first, so it hears the window's
    // creation. Nothing has painted it yet.
    TLoggingForm* NewChild(TBorderIcons icons)
    {
        auto* child = Create<TLoggingForm>(Application);
        child->SetFormStyle(fsMDIChild);
        child->SetBorderIcons(icons);
        child->SetBounds(40, 40, 160, 110);
        child->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
        Create<TsSkinProvider>(child);
        child->Show();
        return child;
    }
    static TsSkinProvider* ProviderOf(TCustomForm* form)
    {
        return reinterpret_cast<TsSkinProvider*>(SendSkinCmd(form->Handle(), SkinCmdGetProvider, 0));
    }

    TsSkinProvider* Main = nullptr;      // owned by the main form
    std::vector<TLoggingForm*> Children; // owned by the application (freed when closed)
    TacSkinLinks Saved;
};

TEST_F(MDIChildrenTest, TheClientListsItsChildrenActiveFirst)
{
    ASSERT_NE(Form->ClientHandle(), nullptr);
    EXPECT_EQ(Form->MDIChildCount(), 3);
    EXPECT_EQ(Form->ActiveMDIChild(), Children[2]);
    EXPECT_EQ(Form->MDIChildren(0), Children[2]);
    EXPECT_EQ(GetParent(Children[0]->Handle()), Form->ClientHandle());
    EXPECT_TRUE(Children[0]->FormState.Contains(fsCreatedMDIChild));
    EXPECT_THROW(Form->MDIChildren(3), EListError);
    ASSERT_NE(Main->MDIForm(), nullptr);
    EXPECT_NE(AdapterOfWindow(Form->ClientHandle()), nullptr);
}

TEST_F(MDIChildrenTest, CascadeStacksTheChildrenDownAndRight)
{
    Children[0]->SetBounds(200, 5, 100, 80);
    Form->Cascade();
    testsupport::PumpMessagesUntilIdle(200);
    // The active child ends on top, at the bottom right of the stair.
    RECT back, front;
    GetWindowRect(Form->MDIChildren(2)->Handle(), &back);
    GetWindowRect(Form->MDIChildren(0)->Handle(), &front);
    EXPECT_GT(front.left, back.left);
    EXPECT_GT(front.top, back.top);
}

TEST_F(MDIChildrenTest, AMaximizedChildsButtonsShowInTheMainMenuLine)
{
    Maximize(Children[2]);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    const TRect close = Main->MDICloseButton().Rect, restore = Main->MDIMaxButton().Rect;
    const TRect minimize = Main->MDIMinButton().Rect;
    EXPECT_EQ(close.Width(), kSmallButtonWidth);
    EXPECT_GE(close.Top, Main->SysBorderHeight() + Main->CaptionHeight());
    EXPECT_LT(minimize.Right, restore.Left);
    const testsupport::Pixels24 pix = Printed();
    const TPoint c = Centre(close), r = Centre(restore), m = Centre(minimize);
    EXPECT_EQ(pix.At(c.X, c.Y), ButtonColor(bkSmallClose, 0));
    // The skin has no small restore image: the big one stands in.
    EXPECT_EQ(pix.At(r.X, r.Y), ButtonColor(bkNorm, 0));
    EXPECT_EQ(pix.At(m.X, m.Y), ButtonColor(bkSmallMin, 0));
    // The child has no icon: the program's own stands in before it, whatever the application's icon is.
    const HICON own = Application->Icon();
    Application->SetIcon(LoadIconW(nullptr, IDI_WARNING));
    Main->RepaintFrame();
    const testsupport::Pixels24 warned = Printed();
    Application->SetIcon(own);
    const int x = Main->SysBorderWidth(), y = Main->CaptionHeight() + Main->SysBorderHeight();
    for (int i = 1; i < Main->MenuHeight() - 1; ++i)
        EXPECT_EQ(pix.At(x + i, y + i), warned.At(x + i, y + i)) << i;
    if (HasFailure())
        Keep(pix, L"printed");
}

TEST_F(MDIChildrenTest, TheChildsButtonsAnswerTheirOwnHitCodes)
{
    Maximize(Children[2]);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    const TPoint c = Centre(Main->MDICloseButton().Rect), r = Centre(Main->MDIMaxButton().Rect);
    const TPoint m = Centre(Main->MDIMinButton().Rect);
    EXPECT_EQ(HitTest(c.X, c.Y), HTMDICLOSE);
    EXPECT_EQ(Main->HotButton(), HTMDICLOSE);
    EXPECT_EQ(HitTest(r.X, r.Y), HTMDIMAX);
    EXPECT_EQ(HitTest(m.X, m.Y), HTMDIMIN);
    // Not maximized, the same point is plain menu line.
    SendMessageW(Children[2]->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(Main->ShowsMDIChildButtons());
    EXPECT_NE(HitTest(c.X, c.Y), HTMDICLOSE);
}

TEST_F(MDIChildrenTest, MinimizeRestoreAndCloseGoToTheActiveChild)
{
    TLoggingForm* child = Children[2];
    Maximize(child);
    Click(HTMDIMIN, Main->MDIMinButton().Rect);
    EXPECT_TRUE(IsIconic(child->Handle()));
    EXPECT_FALSE(Main->ShowsMDIChildButtons());

    Maximize(Form->ActiveMDIChild());
    TCustomForm* active = Form->ActiveMDIChild();
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    Click(HTMDIMAX, Main->MDIMaxButton().Rect);
    EXPECT_FALSE(IsZoomed(active->Handle()));
    EXPECT_FALSE(Main->ShowsMDIChildButtons());

    Maximize(active);
    Click(HTMDICLOSE, Main->MDICloseButton().Rect);
    EXPECT_EQ(Form->MDIChildCount(), 2);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(MDIChildrenTest, ClosingEveryChildGivesTheClientItsBackgroundBack)
{
    Maximize(Children[2]);
    for (TCustomForm* child : LiveChildren())
        SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(Form->MDIChildCount(), 0);
    EXPECT_EQ(Form->ActiveMDIChild(), nullptr);
    EXPECT_FALSE(Main->ShowsMDIChildButtons());
    const testsupport::Pixels24 client = testsupport::CaptureWindow(Form->ClientHandle(), false);
    ASSERT_GT(client.width, 20);
    EXPECT_EQ(client.At(client.width / 2, client.height / 2), kFormColor);
}

// A child that refuses to close keeps no hot close button from the click that asked it.
TEST_F(MDIChildrenTest, AChildThatStaysOpenAfterCloseLeavesNoButtonHot)
{
    Children[2]->OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
    TsSkinProvider* p = ProviderOf(Children[2]);
    const TPoint c = Centre(p->CloseButton().Rect);
    const TPoint o = p->WindowOrigin();
    SendMessageW(Children[2]->Handle(), WM_NCHITTEST, 0, MAKELPARAM(o.X + c.X, o.Y + c.Y));
    ASSERT_EQ(p->HotButton(), HTCLOSE);
    SendMessageW(Children[2]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(p->HotButton(), 0);
    EXPECT_EQ(p->CloseButton().State, 0);
}

TEST_F(MDIChildrenTest, ASkinChangeReachesTheMainFormAndTheMaximizedChildsButtons)
{
    Maximize(Children[1]);
    Manager->SetSkinName(L"Beta");
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(Form->MDIChildCount(), 3);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(pix.width / 2, Main->SysBorderHeight() + Main->CaptionHeight() / 2), kBetaTitleActive);
    // Without small images the child's buttons take the main form's own.
    const TPoint c = Centre(Main->MDICloseButton().Rect);
    EXPECT_EQ(pix.At(c.X, c.Y), ButtonColor(bkClose, 0));
    if (HasFailure())
        Keep(pix, L"printed");
}

TEST_F(MDIChildrenTest, AChildDestroyedDuringASkinChangeIsLeftAlone)
{
    // The first child takes the last one's window down when it hears of the new skin.
    TLoggingForm* killer = Children[0];
    TLoggingForm* victim = Children[2];
    const TWndMethod previous = killer->WindowProc;
    HWND client = Form->ClientHandle();
    killer->WindowProc = [&](TMessage& m) {
        if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdSkinChanged && victim->HandleAllocated())
            SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(victim->Handle()), 0);
        previous(m);
    };
    Manager->SetSkinName(L"Beta");
    testsupport::PumpMessagesUntilIdle(300);
    killer->WindowProc = previous;
    EXPECT_FALSE(victim->HandleAllocated());
    EXPECT_EQ(Form->MDIChildCount(), 2);
    Free(victim);
}

// Switching skins back and forth with the MDI form and its three children open (one of them maximized)
// makes and frees the same objects each time: the counts come back, and the run ends.
TEST_F(MDIChildrenTest, TwoHundredSkinChangesLeaveTheObjectCountsFlat)
{
    Maximize(Children[1]);
    Manager->SetSkinName(L"Beta");
    Manager->SetSkinName(L"Alpha");
    testsupport::PumpMessagesUntilIdle(200);
    const testsupport::LiveObjects before = testsupport::LiveObjects::Now();
    for (int i = 0; i < 200; ++i) {
        Manager->SetSkinName(i % 2 ? L"Alpha" : L"Beta");
        testsupport::PumpMessagesUntilIdle(50);
    }
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_TRUE(testsupport::LiveObjectsBackWithin(before, 5)) << testsupport::LiveObjects::Now().Describe();
    EXPECT_EQ(Form->MDIChildCount(), 3);
    EXPECT_TRUE(Main->ShowsMDIChildButtons());
}

namespace {

// The texts of the main form's bar, the system's entries (a maximized child's menu and buttons) left out.
std::vector<std::wstring> BarTexts(HWND wnd)
{
    std::vector<std::wstring> texts;
    HMENU bar = GetMenu(wnd);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA;
        GetMenuItemInfoW(bar, static_cast<UINT>(i), TRUE, &mii);
        wchar_t text[64] = {};
        if (mii.dwItemData && GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0)
            texts.push_back(text);
    }
    return texts;
}

} // namespace

// The active child's menu joins the main form's bar by group index: an item of a group the main menu
// has takes that group's place, another goes among the groups in order. Its commands reach the
// child's items through the main form, and the main form's own items come back when the child is no
// longer active; a maximized child's buttons keep working over the merged bar.
TEST_F(MDIChildrenTest, TheActiveChildsMenuMergesIntoTheMainBarByGroupIndex)
{
    auto addItem = [](TMenu* menu, const wchar_t* caption, int group) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->SetGroupIndex(group);
        menu->Items()->Add(item);
        return item;
    };
    addItem(Form->Menu(), L"Окно", 9);
    auto* editMenu = Create<TMainMenu>(Children[0]);
    TMenuItem* edit = addItem(editMenu, L"Правка", 5);
    int edits = 0;
    edit->OnClick = [&](TObject*) { ++edits; };
    Children[0]->SetMenu(editMenu);
    auto* documentMenu = Create<TMainMenu>(Children[1]);
    addItem(documentMenu, L"Документ", 0);
    Children[1]->SetMenu(documentMenu);
    const std::vector<std::wstring> own{L"Файл", L"Окно"};
    EXPECT_EQ(BarTexts(Wnd), own); // the third child, without a menu, is active

    HWND client = Form->ClientHandle();
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[0]->Handle()), 0);
    EXPECT_EQ(BarTexts(Wnd), (std::vector<std::wstring>{L"Файл", L"Правка", L"Окно"}));
    SendMessageW(Wnd, WM_COMMAND, edit->Command(), 0);
    EXPECT_EQ(edits, 1);
    // A change of the merged menu shows on the bar.
    edit->SetVisible(false);
    EXPECT_EQ(BarTexts(Wnd), own);
    edit->SetVisible(true);
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[1]->Handle()), 0);
    EXPECT_EQ(BarTexts(Wnd), (std::vector<std::wstring>{L"Документ", L"Окно"}));
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[2]->Handle()), 0);
    EXPECT_EQ(BarTexts(Wnd), own);
    EXPECT_EQ(Form->Menu()->Merged(), nullptr);

    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[0]->Handle()), 0);
    Maximize(Children[0]);
    EXPECT_EQ(BarTexts(Wnd), (std::vector<std::wstring>{L"Файл", L"Правка", L"Окно"}));
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    const TPoint c = Centre(Main->MDICloseButton().Rect);
    EXPECT_EQ(HitTest(c.X, c.Y), HTMDICLOSE);
    Click(HTMDICLOSE, Main->MDICloseButton().Rect);
    EXPECT_EQ(Form->MDIChildCount(), 2);
    EXPECT_NE(Form->Menu()->Merged(), editMenu);
    const std::vector<std::wstring> after = BarTexts(Wnd);
    EXPECT_EQ(std::count(after.begin(), after.end(), L"Правка"), 0);
    EXPECT_TRUE(Errors.empty());
}

// Under a maximized child a dirty menu line puts the main frame's paint off once, never for good: the
// frame paints itself again after another child's activation and after a change of the menu. The
// close button's place is spoilt on the screen first, so only a new paint brings the button back.
TEST_F(MDIChildrenTest, TheMainFrameRepaintsAfterActivationAndMenuChangesUnderAMaximizedChild)
{
    Maximize(Children[2]);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    const TPoint c = Centre(Main->MDICloseButton().Rect);
    auto onScreen = [&] {
        HDC dc = GetWindowDC(Wnd);
        const COLORREF pixel = GetPixel(dc, c.X, c.Y);
        ReleaseDC(Wnd, dc);
        return pixel;
    };
    auto spoil = [&] {
        HDC dc = GetWindowDC(Wnd);
        const RECT r{c.X - 2, c.Y - 2, c.X + 3, c.Y + 3};
        GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(0xFF, 0x00, 0xFF)));
        FillRect(dc, &r, brush.Get());
        ReleaseDC(Wnd, dc);
        ASSERT_EQ(onScreen(), RGB(0xFF, 0x00, 0xFF));
    };
    ASSERT_EQ(onScreen(), ButtonColor(bkSmallClose, 0));
    spoil();
    SendMessageW(Form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[1]->Handle()), 0);
    testsupport::PumpMessagesUntilIdle(500);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    EXPECT_FALSE(Main->MenuDirty());
    EXPECT_EQ(onScreen(), ButtonColor(bkSmallClose, 0));

    spoil();
    auto* item = new TMenuItem(Form->Menu());
    item->SetCaption(L"Окно");
    Form->Menu()->Items()->Add(item);
    testsupport::PumpMessagesUntilIdle(500);
    EXPECT_FALSE(Main->MenuDirty());
    EXPECT_EQ(onScreen(), ButtonColor(bkSmallClose, 0));
}

TEST_F(MDIChildrenTest, SkinningTheMainFormAgainShowsItActiveWhileItsChildIsTheActiveForm)
{
    SendMessageW(Wnd, WM_NCACTIVATE, FALSE, 0);
    ASSERT_FALSE(Main->FormActive());
    SendSkinCmd(Wnd, SkinCmdSkinRemoved, reinterpret_cast<LPARAM>(Manager));
    Screen->SetActiveForm(Form->ActiveMDIChild());
    SendSkinCmd(Wnd, SkinCmdSkinChanged, reinterpret_cast<LPARAM>(Manager));
    EXPECT_TRUE(Main->FormActive());
}

TEST_F(MDIChildrenTest, AChildOpenedUnderAMaximizedOneIsTheOneMaximizedWhoeverPaintsFirst)
{
    Maximize(Children[2]);
    TLoggingForm* child = NewChild(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    SendMessageW(Wnd, WM_PAINT, 0, 0);
    SendMessageW(Children[0]->Handle(), WM_PAINT, 0, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsZoomed(child->Handle()));
    EXPECT_EQ(MaximizedChildProvider, ProviderOf(child));
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_FALSE(IsZoomed(Children[0]->Handle()));
}

// A maximize button whose command is closed is shown faded, is plain caption to the mouse, and a press
// on its place leaves it as it is.
TEST_F(MDIChildrenTest, AChildWithoutMaximizeShowsAFadedMaximizeButtonThatAnswersCaption)
{
    TLoggingForm* child = NewChild(TBorderIcons{biSystemMenu, biMinimize});
    testsupport::PumpMessagesUntilIdle(300);
    TsSkinProvider* p = ProviderOf(child);
    ASSERT_TRUE(p->VisibleMax());
    const TPoint c = Centre(p->MaxButton().Rect);
    RECT wr;
    GetWindowRect(child->Handle(), &wr);
    const LPARAM at = MAKELPARAM(wr.left + c.X, wr.top + c.Y);
    const testsupport::Pixels24 pix = testsupport::DrawnPixels(wr.right - wr.left, wr.bottom - wr.top, nullptr,
        [&](HDC dc) { SendMessageW(child->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT); });
    EXPECT_NE(pix.At(c.X, c.Y), ButtonColor(bkMax, 0));
    EXPECT_NE(pix.At(c.X, c.Y), kTitleActive);
    EXPECT_EQ(SendMessageW(child->Handle(), WM_NCHITTEST, 0, at), HTCAPTION);
    SendMessageW(child->Handle(), WM_NCLBUTTONDOWN, HTMAXBUTTON, at);
    EXPECT_NE(p->HotButton(), HTMAXBUTTON);
    EXPECT_EQ(p->MaxButton().State, 0);
}

// The system puts a maximized child's icon first in the main form's bar: the rows leave room for it.
TEST_F(MDIChildrenTest, TheMenuRowsCountAMaximizedChildsIconAsTheFirstPlace)
{
    TMenuItem* item = Form->Menu()->Items()->Items(0);
    item->SetCaption(L"Файл, правка, вид и всё, что в одну строку не уместить");
    Maximize(Children[2]);
    ASSERT_TRUE(item->OnAdvancedDrawItem && item->OnMeasureItem);
    HMENU bar = GetMenu(Wnd);
    auto width = [&](int index) {
        RECT r{};
        GetMenuItemRect(Wnd, bar, static_cast<UINT>(index), &r);
        return static_cast<int>(r.right - r.left);
    };
    const int icon = width(0), text = width(Form->Menu()->BarPosition(item));
    ASSERT_GT(icon, 0);
    for (const int border : {0, 4}) { // the form's border width narrows the line at both ends
        Form->SetBorderWidth(border);
        for (const int spare : {0, -1}) {
            Form->SetWidth(3 * Main->SysBorderWidth() + 2 * border + icon + text + spare);
            testsupport::PumpMessagesUntilIdle(200);
            Main->RepaintFrame();
            EXPECT_EQ(Main->MenuLineRows(), spare < 0 ? 2 : 1) << border << " " << spare;
        }
    }
}

// The skin's MDI area covers the client's place inside the margin of the form's border width.
TEST_F(MDIChildrenTest, TheMDIAreaLeavesTheBorderWidthToTheForm)
{
    WriteSkin(Folder(), L"Areas", false,
              {{"[MENULINE]", "[MDIAREA]\r\nCOLOR=0x902060\r\nHOTCOLOR=0x902060\r\n[MENULINE]"}});
    Manager->SetSkinName(L"Areas");
    Form->SetBorderWidth(8);
    testsupport::PumpMessagesUntilIdle(300);
    const testsupport::Pixels24 pix = Printed();
    const int x = Main->SysBorderWidth() + 4, y = pix.height - Main->SysBorderHeight() - 4;
    EXPECT_EQ(pix.At(pix.width - x - 10, y - 10), RGB(0x60, 0x20, 0x90));
    EXPECT_EQ(pix.At(x, pix.height / 2), kFormColor);
    EXPECT_EQ(pix.At(pix.width / 2, Main->NonClientTopHeight() - 4), kFormColor);
}

// A print shows what the screen would: nothing of a child behind a maximized one, nothing of a form
// whose skin is being updated.
TEST_F(MDIChildrenTest, PrintingPaintsNothingBehindAMaximizedChildOrWhileUpdating)
{
    Maximize(Children[2]);
    auto print = [&](HDC dc) { Children[0]->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT); };
    EXPECT_EQ(testsupport::DrawnPixels(100, 20, nullptr, print).At(50, 8), RGB(0, 0, 0));
    for (const WORD updating : {1, 0}) {
        SendMessageW(Wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdSetUpdating, updating), 0);
        EXPECT_EQ(Printed().At(100, Main->SysBorderHeight() + 4), updating ? RGB(0, 0, 0) : kTitleActive);
    }
}

// WM_PRINT of the main form shows its MDI client as the client paints itself, and the form's own
// drawing over it.
TEST_F(MDIChildrenTest, PrintingTheMainFormPrintsItsClientAndItsOwnPaint)
{
    constexpr COLORREF kMark = RGB(0x12, 0x34, 0x56);
    Form->OnPaint = [&](TObject*) {
        Form->Canvas()->Brush()->SetColor(static_cast<TColor>(kMark));
        Form->Canvas()->FillRect(TRect{0, 0, 6, 6});
    };
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(Main->ClientOffsetX() + 2, Main->ClientOffsetY() + 2), kMark);
    EXPECT_EQ(pix.At(pix.width - 40, pix.height - 30), kFormColor);
    if (HasFailure())
        Keep(pix, L"printed");
}

TEST_F(MDIChildrenTest, TheMenuLoopIconFormGoesWithItsProvider)
{
    Maximize(Children[2]);
    SendMessageW(Wnd, WM_ENTERMENULOOP, FALSE, 0);
    ASSERT_NE(Application->FindComponent(L"acMDIIcons"), nullptr);
    Free(Main);
    Main = nullptr;
    EXPECT_EQ(Application->FindComponent(L"acMDIIcons"), nullptr);
    SendMessageW(Wnd, WM_EXITMENULOOP, FALSE, 0);
    testsupport::PumpMessagesUntilIdle(200);
}

// Dragged by its outline, a child lands where the mouse took it, in the client's coordinates.
TEST_F(MDIChildrenTest, AChildMovedByItsOutlineFollowsTheMouse)
{
    TLoggingForm* child = Children[2];
    ProviderOf(child)->ResizeMode = rmBorder;
    RECT before;
    GetWindowRect(child->Handle(), &before);
    DragCaptionBy(child->Handle(), before.left + 60, before.top + 8, 30, 20);
    RECT after;
    GetWindowRect(child->Handle(), &after);
    EXPECT_EQ(after.left, before.left + 30);
    EXPECT_EQ(after.top, before.top + 20);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

class MDIMainWithoutButtonsTest : public MDIChildrenTest {
protected:
    void PrepareMainForm() override { Form->SetBorderIcons(TBorderIcons{}); }
};

// The child's buttons repaint over the background kept behind the caption's buttons: that copy reaches
// under them also when the main form has no caption buttons. A closed minimize button shows nothing but
// the menu line when it turns hot.
TEST_F(MDIMainWithoutButtonsTest, AChildsClosedButtonRepaintsToTheMenuLine)
{
    TLoggingForm* child = NewChild(TBorderIcons{biSystemMenu, biMaximize});
    Maximize(child);
    ASSERT_TRUE(Main->ShowsMDIChildButtons());
    ASSERT_EQ(Main->ButtonsWidth(), 0);
    const TPoint m = Centre(Main->MDIMinButton().Rect);
    EXPECT_EQ(HitTest(m.X, m.Y), HTMDIMIN);
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(m.X, m.Y), RGB(0xA0, 0xA0, 0xA0));
    if (HasFailure())
        Keep(pix, L"printed");
}
