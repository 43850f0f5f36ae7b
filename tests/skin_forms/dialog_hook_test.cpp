// Windows the framework does not own: the library's message box moved where it asked to be, system
// dialogs refused for their tab page, other windows given an empty provider once, the rule of one
// visible adapted dialog, and the child table's decisions.
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acSBUtils.h"

#include "skin/core/sMessageBox.h"
#include "tests/skin_forms/provider_support.h"

#include <commctrl.h>

#include <algorithm>

namespace {

int ProvidersOf(HWND wnd)
{
    int count = 0;
    if (std::vector<TObject*>* list = ProviderList())
        for (TObject* object : *list)
            if (auto* p = dynamic_cast<TacProvider*>(object); p && p->DialogHandle == wnd)
                ++count;
    return count;
}

// A window handle that is destroyed with the test.
struct WindowGuard {
    HWND Wnd = nullptr;
    ~WindowGuard()
    {
        if (Wnd)
            DestroyWindow(Wnd);
    }
};

class DialogHook : public ProviderTest {
protected:
    DialogHook() { Rules = {srStdForms, srStdDialogs, srThirdParty}; }
    void SetUp() override
    {
        savedLinks_ = SkinLinks();
        ProviderTest::SetUp();
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void TearDown() override
    {
        ProviderTest::TearDown();
        SetSkinLinks(savedLinks_);
    }
    // A visible system dialog window (class "#32770") of the given class, shown and activated.
    HWND MakeDialog(const wchar_t* className = L"#32770")
    {
        HWND wnd = CreateWindowExW(0, className, L"Диалог", WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 200, 300,
                                   200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(wnd, nullptr);
        return wnd;
    }
    static HWND AddChild(HWND parent, const wchar_t* className, int width, int height, DWORD style = 0)
    {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, width, height, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void ShowAndActivate(HWND wnd)
    {
        ShowWindow(wnd, SW_SHOW);
        SetForegroundWindow(wnd);
        testsupport::PumpMessagesUntilIdle(300);
    }

private:
    TacSkinLinks savedLinks_;
};

struct BoxSeen {
    bool Found = false;
    RECT Rect{};
    bool HasProvider = false;
};
BoxSeen gBox;

BOOL CALLBACK FindBox(HWND wnd, LPARAM)
{
    if (GetWndClassName(wnd) != L"#32770" || !IsWindowVisible(wnd))
        return TRUE;
    gBox.Found = true;
    GetWindowRect(wnd, &gBox.Rect);
    gBox.HasProvider = FindProviderByHandle(wnd) != nullptr;
    PostMessageW(wnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (gBox.Found)
        KillTimer(nullptr, id);
}

TEST_F(DialogHook, TheMessageBoxIsMovedToThePositionItAskedFor)
{
    gBox = BoxSeen{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseBox);
    ShowMessageBox(L"Положение", L"Текст", mtInformation, 123, 97, 0, Buttons({mbOK}));
    KillTimer(nullptr, timer);
    ASSERT_TRUE(gBox.Found);
    EXPECT_TRUE(gBox.HasProvider);
    EXPECT_EQ(gBox.Rect.left, 123);
    EXPECT_EQ(gBox.Rect.top, 97);
    EXPECT_EQ(gMessageBoxX, -1);
}

TEST_F(DialogHook, ADialogWithTheWideTabPageKeepsTheSystemLook)
{
    WindowGuard refused{MakeDialog()};
    AddChild(refused.Wnd, WC_TABCONTROLW, 470, 349);
    ShowAndActivate(refused.Wnd);
    EXPECT_EQ(ProvidersOf(refused.Wnd), 0);
    EXPECT_FALSE(AdaptActivatedWindow(refused.Wnd));
    EXPECT_EQ(ProvidersOf(refused.Wnd), 0);

    // One pixel taller is an ordinary tab control.
    WindowGuard taken{MakeDialog()};
    AddChild(taken.Wnd, WC_TABCONTROLW, 470, 350);
    ShowAndActivate(taken.Wnd);
    EXPECT_EQ(ProvidersOf(taken.Wnd), 1);
}

TEST_F(DialogHook, TheWideTabPageRefusesEvenWhenNestedInAPage)
{
    WindowGuard dialog{MakeDialog()};
    HWND page = AddChild(dialog.Wnd, L"#32770", 480, 360);
    AddChild(page, WC_TABCONTROLW, 470, 349);
    ShowAndActivate(dialog.Wnd);
    EXPECT_EQ(ProvidersOf(dialog.Wnd), 0);
}

TEST_F(DialogHook, AForeignWindowGetsOneEmptyProvider)
{
    WindowGuard foreign{CreateWindowExW(0, L"Static", L"Чужое", WS_POPUP | WS_CAPTION, 250, 250, 200, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr)};
    ShowAndActivate(foreign.Wnd);
    SetForegroundWindow(Wnd);
    ShowAndActivate(foreign.Wnd);
    ASSERT_EQ(ProvidersOf(foreign.Wnd), 1);
    TacProvider* provider = FindProviderByHandle(foreign.Wnd);
    EXPECT_EQ(provider->DialogWnd, nullptr);
    EXPECT_TRUE(provider->ChildWnds.empty());
    EXPECT_EQ(provider->Owner(), nullptr);
}

TEST_F(DialogHook, SystemDialogsNeedTheStandardDialogsRule)
{
    Manager->SkinningRules = {srStdForms, srThirdParty};
    WindowGuard dialog{MakeDialog()};
    ShowAndActivate(dialog.Wnd);
    EXPECT_EQ(ProvidersOf(dialog.Wnd), 0);
}

// A frame adapter made through the layer's seam: the adapter root, so that the dialog counts as adapted.
TacAdapterPtr<> PlainFrame(HWND wnd, TacProvider*)
{
    return MakeAdapter<TacMainWnd>(wnd, false, std::wstring(L"DIALOG"), DefaultManager(),
                                   static_cast<TsCommonData*>(nullptr));
}

TEST_F(DialogHook, WhileAnAdaptedDialogShowsOnlyOneWithAToolBarIsAdapted)
{
    {
        TacSkinLinks links = SkinLinks();
        links.MakeDialogWnd = PlainFrame;
        SetSkinLinks(links);
    }
    WindowGuard first{MakeDialog()};
    ShowAndActivate(first.Wnd);
    ASSERT_EQ(ProvidersOf(first.Wnd), 1);
    ASSERT_NE(FindProviderByHandle(first.Wnd)->DialogWnd, nullptr);
    EXPECT_EQ(VisibleDialogCount(), 1);

    WindowGuard plain{MakeDialog()};
    ShowAndActivate(plain.Wnd);
    EXPECT_EQ(ProvidersOf(plain.Wnd), 0);

    WindowGuard withBar{MakeDialog()};
    HWND panel = AddChild(withBar.Wnd, L"Static", 200, 40);
    AddChild(panel, TOOLBARCLASSNAMEW, 200, 30);
    ShowAndActivate(withBar.Wnd);
    EXPECT_EQ(ProvidersOf(withBar.Wnd), 1);

    // Once none is visible, the plain one is adapted at its next activation (hiding the active one may
    // already activate it).
    SetForegroundWindow(Wnd);
    ShowWindow(first.Wnd, SW_HIDE);
    ShowWindow(withBar.Wnd, SW_HIDE);
    testsupport::PumpMessagesUntilIdle(200);
    ShowAndActivate(plain.Wnd);
    EXPECT_EQ(ProvidersOf(plain.Wnd), 1);
}

TEST_F(DialogHook, ThreeComboListsMakeKindOneWhateverTheStaticsSaid)
{
    WindowGuard dialog{MakeDialog()};
    AddChild(dialog.Wnd, L"Static", 152, 49); // kind 2 on its own
    for (int i = 0; i < 3; ++i)
        AddChild(dialog.Wnd, L"ComboLBox", 100, 80);
    ShowAndActivate(dialog.Wnd);
    TacProvider* provider = FindProviderByHandle(dialog.Wnd);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->DialogKind, 1);
    EXPECT_EQ(Kind1PaintRect, (TRect{178, 181, 327, 217}));
}

// A popup-menu window that already answers as skinned when the hook hears of its creation keeps the
// one adapter it has.
TEST_F(DialogHook, AMenuWindowAlreadySkinnedGetsNoSecondAdapter)
{
    const auto adaptersOf = [](HWND wnd) {
        return std::count_if(MenuWnds().begin(), MenuWnds().end(),
                             [wnd](TacMainWnd* adapter) { return adapter->AdaptedWnd == wnd; });
    };
    WindowGuard menu{CreateWindowExW(0, L"#32768", L"", WS_POPUP, 10, 10, 60, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr)};
    ASSERT_NE(menu.Wnd, nullptr);
    ASSERT_EQ(adaptersOf(menu.Wnd), 1);
    TacMainWnd* adapter = AdapterOfWindow(menu.Wnd);
    ASSERT_NE(adapter, nullptr);
    DialogsCBTProc(HCBT_CREATEWND, reinterpret_cast<WPARAM>(menu.Wnd), 0);
    EXPECT_EQ(adaptersOf(menu.Wnd), 1);
    EXPECT_EQ(AdapterOfWindow(menu.Wnd), adapter);
    const HWND wnd = menu.Wnd;
    DestroyWindow(wnd);
    menu.Wnd = nullptr;
    EXPECT_EQ(adaptersOf(wnd), 0);
}

TEST(DialogChildTable, SizeRowsComeBeforeTheStaticTypeRows)
{
    // An icon static of the one size that marks a kind-2 dialog is painted as a plain static.
    const TacChildChoice icon = ChooseDialogChild(L"static", SS_ICON, 152, 49);
    EXPECT_EQ(icon.Kind, akStatic);
    EXPECT_EQ(icon.DialogKind, 2);
    const TacChildChoice kind3 = ChooseDialogChild(L"static", SS_ICON, 60, 42);
    EXPECT_EQ(kind3.Kind, akNone);
    EXPECT_EQ(kind3.DialogKind, 3);
    EXPECT_TRUE(kind3.FormSection);
    EXPECT_EQ(ChooseDialogChild(L"static", SS_ICON, 32, 32).Kind, akIcon);
    EXPECT_EQ(ChooseDialogChild(L"static", SS_BITMAP, 32, 32).Kind, akNone);
    EXPECT_EQ(ChooseDialogChild(L"static", SS_OWNERDRAW, 100, 20).Kind, akNone);
    EXPECT_EQ(ChooseDialogChild(L"static", SS_GRAYRECT, 100, 20).Kind, akNone);
    EXPECT_EQ(ChooseDialogChild(L"static", SS_LEFT, 100, 20).Kind, akStatic);
}

TEST(DialogChildTable, ButtonsByTheirStyle)
{
    EXPECT_EQ(ChooseDialogChild(L"button", BS_GROUPBOX, 100, 100).Section, L"GROUPBOX");
    EXPECT_EQ(ChooseDialogChild(L"button", BS_AUTOCHECKBOX, 100, 20).Kind, akCheckBox);
    EXPECT_EQ(ChooseDialogChild(L"button", BS_RADIOBUTTON, 100, 20).Kind, akCheckBox);
    EXPECT_EQ(ChooseDialogChild(L"button", BS_AUTORADIOBUTTON, 100, 20).Kind, akCheckBox);
    EXPECT_EQ(ChooseDialogChild(L"button", BS_DEFPUSHBUTTON, 75, 23).Kind, akBtn);
    EXPECT_EQ(ChooseDialogChild(L"button", BS_PUSHBUTTON, 75, 23).Section, L"BUTTON");
}

TEST(DialogChildTable, OtherClasses)
{
    EXPECT_EQ(ChooseDialogChild(L"toolbarwindow32", TBSTYLE_WRAPABLE, 200, 30).Section, L"BAR");
    EXPECT_EQ(ChooseDialogChild(L"toolbarwindow32", 0, 200, 30).Section, L"CHECKBOX");
    EXPECT_TRUE(ChooseDialogChild(L"combolbox", 0, 100, 80).ComboList);
    EXPECT_EQ(ChooseDialogChild(L"combolbox", 0, 100, 80).Section, L"COMBOBOX");
    EXPECT_EQ(ChooseDialogChild(L"msctls_updown32", 0, 16, 20).Section, L"SPEEDBUTTON_SMALL");
    EXPECT_EQ(ChooseDialogChild(L"x_shbrowseforfolder_y", 0, 10, 10).Kind, akTransPanel);
    EXPECT_EQ(ChooseDialogChild(L"shelldll_defview", 0, 450, 250).Kind, akTransPanel);
    EXPECT_EQ(ChooseDialogChild(L"syslistview32", 0, 450, 250).Section, L"EDIT");
    EXPECT_EQ(ChooseDialogChild(L"richedit20w", 0, 10, 10).Kind, akNone);
    EXPECT_FALSE(ChooseDialogChild(L"systabcontrol32", 0, 470, 350).Refuse);
    EXPECT_TRUE(ChooseDialogChild(L"systabcontrol32", 0, 470, 349).Refuse);
}

} // namespace
