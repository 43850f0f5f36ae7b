// Menus and actions: shortcut text, shortcut routing between the main menu, the action lists and the
// focused control, owner-drawn items, popup menus and their commands.
#include "tests/framework/forms_support.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Closes whatever menu is open a little later, after running Action inside the menu's loop.
std::function<void()> gInsideMenu;

void CALLBACK CloseMenuProc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> action = std::move(gInsideMenu);
    gInsideMenu = nullptr;
    try {
        if (action)
            action();
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EndMenu();
}

void CloseMenuLater(std::function<void()> action = nullptr)
{
    gInsideMenu = std::move(action);
    SetTimer(nullptr, 0, 150, CloseMenuProc);
}

UINT ItemType(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info.fType;
}

std::wstring ItemText(HMENU menu, int position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

int Count(const std::vector<std::wstring>& log, const std::wstring& entry)
{
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

class Menus : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        form = Create<TDemoForm>(Application);
        form->Show();
        ActivateWindow(form->Handle());
        form->Log.clear();
    }
    void TearDown() override
    {
        Free(form);
        gInsideMenu = nullptr;
        ApplicationTest::TearDown();
    }
    TDemoForm* form = nullptr;
};

} // namespace

TEST(ShortCuts, TextNamesTheKeysTheProgramUses)
{
    EXPECT_EQ(ShortCutToText(VK_INSERT), L"Ins");
    EXPECT_EQ(ShortCutToText(VK_DELETE), L"Del");
    EXPECT_EQ(ShortCutToText(scCtrl | 'S'), L"Ctrl+S");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | VK_F3), L"Shift+Ctrl+F3");
    EXPECT_EQ(ShortCutToText(scAlt | VK_F4), L"Alt+F4");
    EXPECT_EQ(ShortCutToText(0), L"");
    EXPECT_EQ(TextToShortCut(L"ctrl+p"), scCtrl | 'P');
    EXPECT_EQ(TextToShortCut(L"Del"), VK_DELETE);
    EXPECT_EQ(TextToShortCut(L"Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut(L"Кнопка"), 0);
    EXPECT_EQ(ShortCut('C', {ssCtrl}), scCtrl | 'C');
}

TEST_F(Menus, MenuItemsShowCaptionsShortcutsAndStates)
{
    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, form->MainMenu->Handle());
    EXPECT_EQ(ItemText(bar, 0), L"&Файл");
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_EQ(ItemText(file, 0), L"&Открыть\tCtrl+O");
    EXPECT_EQ(ItemText(file, 1), L"Сохранить\tCtrl+S");
    // The action's state reaches its item.
    form->SaveAction->SetEnabled(false);
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED);
    form->SaveAction->SetEnabled(true);
    form->OpenItem->SetChecked(true);
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
    // A hidden item leaves the menu; the others keep their order.
    form->OpenItem->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(ItemText(file, 0), L"Сохранить\tCtrl+S");
    form->OpenItem->SetVisible(true);
    EXPECT_EQ(ItemText(file, 0), L"&Открыть\tCtrl+O");
    // Items added in code appear at their index and are found by command.
    auto* item = Create<TMenuItem>(form);
    item->SetCaption(L"Печать");
    form->OpenItem->Parent()->Insert(1, item);
    EXPECT_EQ(ItemText(file, 1), L"Печать");
    EXPECT_EQ(form->MainMenu->FindItem(item->Command(), fkCommand), item);
    Free(item);
    EXPECT_EQ(GetMenuItemCount(file), 2);
}

TEST_F(Menus, ShortcutGoesToTheMenuBeforeTheActions)
{
    // Ctrl+O is both the menu item's and an action's shortcut: the menu item takes it.
    PressKey(form->Edit->Handle(), 'O', true);
    EXPECT_EQ(form->Log, std::vector<std::wstring>{L"open item"});
    // Ctrl+S belongs to the item linked to the save action: the action runs once.
    PressKey(form->Edit->Handle(), 'S', true);
    EXPECT_EQ(form->Log, (std::vector<std::wstring>{L"open item", L"save action"}));
    // Without the menu item, the action list has the shortcut.
    form->OpenItem->SetShortCut(0);
    PressKey(form->Edit->Handle(), 'O', true);
    EXPECT_EQ(form->Log.back(), L"open action");
    // A disabled action does not run and does not take the key.
    form->SaveAction->SetEnabled(false);
    form->Log.clear();
    form->Edit->KeysDown.clear();
    PressKey(form->Edit->Handle(), 'S', true);
    EXPECT_TRUE(form->Log.empty());
    EXPECT_EQ(form->Edit->KeysDown, std::vector<WORD>{'S'});
}

TEST_F(Menus, KeyOfAnActionWithoutHandlerStillReachesTheEdit)
{
    HWND edit = form->Edit->Handle();
    form->Edit->SetText(L"abc");
    SendMessageW(edit, EM_SETSEL, 0, 0);
    PressKey(edit, VK_DELETE);
    EXPECT_EQ(form->Edit->KeysDown, std::vector<WORD>{VK_DELETE});
    EXPECT_EQ(form->Edit->Text(), L"bc");
    EXPECT_TRUE(Errors.empty());
}

TEST_F(Menus, ModalFormKeepsTheMainFormsShortcutsAway)
{
    TOwned<TForm> dialog(Create<TForm>(Application));
    std::vector<std::wstring> seen;
    dialog->OnActivate = [&](TObject*) {
        PressKey(dialog->Handle(), 'O', true);
        PressKey(dialog->Handle(), 'S', true);
        seen = form->Log;
        dialog->SetModalResult(mrOk);
    };
    dialog->ShowModal();
    EXPECT_TRUE(seen.empty());
    PressKey(form->Edit->Handle(), 'O', true);
    EXPECT_EQ(form->Log.back(), L"open item");
}

TEST_F(Menus, SwitchingOwnerDrawRebuildsEveryItem)
{
    HMENU file = form->OpenItem->Parent()->Handle();
    EXPECT_FALSE(ItemType(file, 0) & MFT_OWNERDRAW);
    form->MainMenu->SetOwnerDraw(true);
    EXPECT_TRUE(ItemType(GetMenu(form->Handle()), 0) & MFT_OWNERDRAW);
    EXPECT_TRUE(ItemType(file, 0) & MFT_OWNERDRAW);
    EXPECT_TRUE(ItemType(file, 1) & MFT_OWNERDRAW);
    form->MainMenu->SetOwnerDraw(false);
    EXPECT_FALSE(ItemType(file, 1) & MFT_OWNERDRAW);
    EXPECT_EQ(ItemText(file, 1), L"Сохранить\tCtrl+S");
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnThroughTheirEvents)
{
    std::vector<std::wstring> measured;
    std::vector<TRect> drawn;
    form->MainMenu->SetOwnerDraw(true);
    for (TMenuItem* item : {form->OpenItem, form->SaveItem}) {
        item->OnMeasureItem = [&measured, item](TObject* sender, TCanvas* canvas, int& width, int& height) {
            EXPECT_EQ(sender, item);
            EXPECT_NE(canvas->Handle(), nullptr);
            measured.push_back(item->Name());
            width = 150;
            height = 30;
        };
        item->OnAdvancedDrawItem = [&drawn](TObject*, TCanvas* canvas, TRect rect, TOwnerDrawState) {
            canvas->Brush()->SetColor(clRed);
            canvas->FillRect(rect);
            drawn.push_back(rect);
        };
    }
    // The real menu of the form asks the form to measure and draw its items.
    HMENU file = form->OpenItem->Parent()->Handle();
    CloseMenuLater();
    TrackPopupMenuEx(file, TPM_LEFTALIGN, 100, 100, form->Handle(), nullptr);
    PumpApplication();
    EXPECT_EQ(measured, (std::vector<std::wstring>{L"OpenItem", L"SaveItem"}));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].Height(), 30);
    EXPECT_EQ(drawn[1].Top, drawn[0].Bottom);

    // The state of the item reaches the draw event; data that is not one of our items is left alone.
    TOwnerDrawState state;
    form->OpenItem->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState s) { state = s; };
    HDC dc = GetDC(form->Handle());
    DRAWITEMSTRUCT draw{ODT_MENU, 0, form->OpenItem->Command(), ODA_DRAWENTIRE, ODS_SELECTED | ODS_CHECKED,
                        reinterpret_cast<HWND>(file), dc, {0, 0, 100, 20},
                        reinterpret_cast<ULONG_PTR>(form->OpenItem)};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
    EXPECT_TRUE(state.Contains(odSelected));
    EXPECT_TRUE(state.Contains(odChecked));
    EXPECT_FALSE(state.Contains(odDisabled));
    int stranger = 0;
    draw.itemData = reinterpret_cast<ULONG_PTR>(&stranger);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), FALSE);
    ReleaseDC(form->Handle(), dc);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(Menus, ContextMenuOpensThePopupAfterMouseDownAndItsCommandArrives)
{
    form->Popup->OnPopup = [&](TObject*) { form->Log.push_back(L"popup"); };
    form->Popup->SetOwnerDraw(true);
    int measured = 0;
    form->CopyItem->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++measured; };
    HWND panel = form->TopPanel->Handle();
    CloseMenuLater();
    SendMessageW(panel, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 6));
    // The system turns the button's release into WM_CONTEXTMENU.
    SendMessageW(panel, WM_RBUTTONUP, 0, MAKELPARAM(4, 6));
    PumpApplication();
    EXPECT_EQ(form->Log, (std::vector<std::wstring>{L"mousedown 1 4,6", L"popup"}));
    EXPECT_EQ(form->Popup->PopupComponent(), form->TopPanel);
    EXPECT_EQ(measured, 1) << "the popup list window measures the popup's items";
    // A command of a popup goes to the popup list's window and reaches its item.
    SendMessageW(form->Popup->WindowHandle(), WM_COMMAND, form->CopyItem->Command(), 0);
    EXPECT_EQ(form->Log.back(), L"copy item");
    // The main menu's commands reach the form.
    SendMessageW(form->Handle(), WM_COMMAND, form->OpenItem->Command(), 0);
    EXPECT_EQ(form->Log.back(), L"open item");
    SendMessageW(form->Handle(), WM_COMMAND, form->SaveItem->Command(), 0);
    EXPECT_EQ(form->Log.back(), L"save action");
    EXPECT_EQ(Count(form->Log, L"copy item"), 1);
}

TEST_F(Menus, FailingShortcutHandlerIsReportedAndTheModalFormStaysOpen)
{
    TOwned<TForm> dialog(Create<TForm>(Application));
    auto* actions = Create<TActionList>(dialog.get());
    auto* failing = Create<TAction>(dialog.get());
    failing->SetActionList(actions);
    failing->SetShortCut(VK_F5);
    failing->OnExecute = [](TObject*) { throw EInvalidOperation(L"сбой действия"); };
    bool stillModal = false;
    dialog->OnActivate = [&](TObject*) {
        // The key goes through the modal form's own message loop.
        PostMessageW(dialog->Handle(), WM_KEYDOWN, VK_F5, 1);
        PostMessageW(dialog->Handle(), WM_APP, 0, 0);
    };
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_APP && msg.hwnd == dialog->Handle()) {
            stillModal = dialog->FormState.Contains(fsModal);
            dialog->SetModalResult(mrOk);
            handled = true;
        }
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    Application->OnMessage = nullptr;
    EXPECT_TRUE(stillModal);
    EXPECT_EQ(Errors, std::vector<std::wstring>{L"сбой действия"});
}

namespace {

// Whether any pixel of the open popup menu's window has the colour.
bool PopupShows(COLORREF color)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return false;
    testsupport::Pixels24 shot = testsupport::CaptureWindow(popup);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) == color)
                return true;
    return false;
}

} // namespace

TEST_F(Menus, ItemsShowTheirPictureFromTheMenusImageList)
{
    const TColor green = 0x0003C801;
    TImageList images(16, 16);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(green);
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images.Add(&picture, nullptr);
    form->MainMenu->SetImages(&images);
    form->OpenItem->SetImageIndex(0);
    HMENU file = form->OpenItem->Parent()->Handle();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_BITMAP;
    GetMenuItemInfoW(file, 0, TRUE, &info);
    EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK);
    GetMenuItemInfoW(file, 1, TRUE, &info);
    EXPECT_EQ(info.hbmpItem, nullptr) << "no image index";

    // An item's own bitmap wins over the image list.
    const TColor blue = 0x00E01002;
    TBitmap own;
    own.SetSize(12, 12);
    own.Canvas()->Brush()->SetColor(blue);
    own.Canvas()->FillRect(Rect(0, 0, 12, 12));
    form->SaveItem->SetBitmap(&own);

    for (bool ownerDraw : {false, true}) {
        form->MainMenu->SetOwnerDraw(ownerDraw);
        bool shownList = false, shownOwn = false;
        CloseMenuLater([&] {
            shownList = PopupShows(static_cast<COLORREF>(green));
            shownOwn = PopupShows(static_cast<COLORREF>(blue));
        });
        TrackPopupMenuEx(form->OpenItem->Parent()->Handle(), TPM_LEFTALIGN, 100, 100, form->Handle(), nullptr);
        PumpApplication();
        EXPECT_TRUE(shownList) << (ownerDraw ? "owner-drawn" : "drawn by the system");
        EXPECT_TRUE(shownOwn) << (ownerDraw ? "owner-drawn" : "drawn by the system");
    }
    // Without the list, the picture goes.
    form->MainMenu->SetOwnerDraw(false);
    form->MainMenu->SetImages(nullptr);
    GetMenuItemInfoW(form->OpenItem->Parent()->Handle(), 0, TRUE, &info);
    EXPECT_EQ(info.hbmpItem, nullptr);
    EXPECT_TRUE(Errors.empty());
}

// A new window (a changed form style or border) shows the same menu bar: the old window let go of it
// instead of destroying it with itself, and its commands still reach the items.
TEST_F(Menus, MenuBarSurvivesTheFormsNewWindow)
{
    HMENU bar = form->MainMenu->Handle();
    ASSERT_EQ(GetMenu(form->Handle()), bar);
    const std::function<void(TCustomForm*)> changes[] = {
        [](TCustomForm* f) { f->SetFormStyle(fsStayOnTop); },
        [](TCustomForm* f) { f->SetBorderStyle(bsSingle); },
    };
    for (const auto& change : changes) {
        const HWND old = form->Handle();
        change(form);
        ASSERT_FALSE(IsWindow(old));
        EXPECT_TRUE(IsMenu(bar));
        EXPECT_EQ(GetMenu(form->Handle()), bar);
        EXPECT_EQ(ItemText(bar, 0), L"&Файл");
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 2);
        form->Log.clear();
        SendMessageW(form->Handle(), WM_COMMAND, form->OpenItem->Command(), 0);
        EXPECT_EQ(Count(form->Log, L"open item"), 1);
    }
}

// The menu's handle goes exactly once: with the menu, which takes it off the window first.
TEST_F(Menus, FreedMenuLeavesTheWindowWithoutABar)
{
    HMENU bar = form->MainMenu->Handle();
    Free(form->MainMenu);
    form->MainMenu = nullptr;
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(form->Menu(), nullptr);
}
