// The default manager, its dialogs hook and application-window hook, the hot control, and the names
// of the skins a user can pick.
#include "tests/skin_forms/manager_support.h"
#include "tests/skin_core/test_skin.h"

#include "framework/Classes.h"
#include "framework/FormData.h"

using namespace testskin;

namespace {

// Makes a plain window and destroys it: the dialogs hook sees its creation when installed.
void MakeAWindow()
{
    HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(wnd);
}

class ManagerHooks : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        WriteTestSkinFolder(Folder(), L"Flat");
    }
    std::unique_ptr<TsSkinManager> MakeManager()
    {
        auto sm = std::make_unique<TsSkinManager>(nullptr);
        sm->SetSkinDirectory(Folder());
        return sm;
    }
    LRESULT SendToApplication(UINT msg, LPARAM lParam)
    {
        return SendMessageW(Application->Handle(), msg, 0, lParam);
    }
    FormsLayerStandIn layer;
};

TEST_F(ManagerHooks, TheFirstManagerIsTheDefaultUntilItGoes)
{
    EXPECT_EQ(DefaultManager(), nullptr);
    auto first = MakeManager();
    auto second = MakeManager();
    EXPECT_EQ(DefaultManager(), first.get());
    EXPECT_TRUE(first->IsDefault());
    EXPECT_FALSE(second->IsDefault());
    first.reset();
    EXPECT_EQ(DefaultManager(), nullptr);
}

TEST_F(ManagerHooks, DialogsHookComesWithTheFirstSkinAndGoesWithIt)
{
    auto sm = MakeManager();
    EXPECT_FALSE(sm->DialogsHookInstalled());
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 0);

    sm->SetSkinName(L"Flat");
    ASSERT_TRUE(sm->DialogsHookInstalled());
    ASSERT_NE(DialogsHookObjects(), nullptr);
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 1);

    // Another skin keeps the one hook.
    const HHOOK hook = DialogsHookHandle();
    sm->SetSkinName(L"Flat");
    EXPECT_EQ(DialogsHookHandle(), hook);

    int destroyed = 0;
    DialogsHookObjects()->push_back(new TCountedHookObject(destroyed));
    DialogsHookObjects()->push_back(nullptr); // a slot whose object went away first
    sm->SetActive(false);
    EXPECT_FALSE(sm->DialogsHookInstalled());
    EXPECT_EQ(DialogsHookHandle(), nullptr);
    EXPECT_EQ(DialogsHookObjects(), nullptr);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(layer.ClearMenuWndsCalls, 1);
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 1);
}

TEST_F(ManagerHooks, DestroyingTheManagerRemovesTheDialogsHook)
{
    auto sm = MakeManager();
    sm->SetSkinName(L"Flat");
    int destroyed = 0;
    DialogsHookObjects()->push_back(new TCountedHookObject(destroyed));
    sm.reset();
    EXPECT_EQ(DialogsHookHandle(), nullptr);
    EXPECT_EQ(destroyed, 1);
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 0);
}

// Form data that switches the manager off after naming its skin: the hook the name brought goes too,
// and a later manager can hook dialogs again.
TEST_F(ManagerHooks, SwitchedOffWhileReadTheManagerLeavesNoHookBehind)
{
    RegisterSkinManagerClasses();
    {
        TOwned<TComponent> root(Create<TComponent>(nullptr));
        const std::wstring text = L"object Root: TComponent\r\n  object Skins: TsSkinManager\r\n"
                                  L"    SkinDirectory = '" + Folder() + L"'\r\n    SkinName = 'Flat'\r\n"
                                  L"    Active = False\r\n  end\r\nend\r\n";
        TFormReader reader(root.get(), L"test.frm");
        reader.Read(ParseFormData(testsupport::Narrow(text), L"test.frm"));
        auto* read = dynamic_cast<TsSkinManager*>(root->FindComponent(L"Skins"));
        ASSERT_NE(read, nullptr);
        EXPECT_FALSE(read->DialogsHookInstalled());
        EXPECT_EQ(DialogsHookHandle(), nullptr);
    }
    EXPECT_EQ(DialogsHookHandle(), nullptr);
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 0);
    auto later = MakeManager();
    later->SetSkinName(L"Flat");
    EXPECT_TRUE(later->DialogsHookInstalled());
    later.reset();
    EXPECT_EQ(DialogsHookHandle(), nullptr);
}

TEST_F(ManagerHooks, OnlyTheDefaultManagerHooksDialogs)
{
    auto first = MakeManager();
    first->SetActive(false);
    auto second = MakeManager();
    second->SetSkinName(L"Flat");
    EXPECT_FALSE(second->DialogsHookInstalled());
    EXPECT_EQ(DialogsHookHandle(), nullptr);
}

TEST_F(ManagerHooks, ANewDefaultManagerTakesOverBothHooks)
{
    auto first = MakeManager();
    first->SetSkinName(L"Flat");
    ASSERT_TRUE(first->DialogsHookInstalled());
    auto second = MakeManager();
    second->SetSkinName(L"Flat");
    second->SetIsDefault(true);
    EXPECT_TRUE(second->IsDefault());
    EXPECT_FALSE(first->DialogsHookInstalled());
    EXPECT_TRUE(second->DialogsHookInstalled());
    MakeAWindow();
    EXPECT_EQ(layer.WindowsCreated, 1); // one hook, not two

    // The old default manager goes; the application window's messages reach the new one only.
    first.reset();
    HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendToApplication(0xBCB4, reinterpret_cast<LPARAM>(popup));
    DestroyWindow(popup);
    ASSERT_EQ(FormsLayerStandIn::MenusOf(second.get())->Regions.size(), 1u);
    EXPECT_EQ(FormsLayerStandIn::MenusOf(second.get())->Regions[0].first, popup);
    second.reset();
    EXPECT_EQ(DialogsHookHandle(), nullptr);
}

TEST_F(ManagerHooks, ApplicationWindowShapesPopupsThroughTheMenuPainter)
{
    auto sm = MakeManager();
    TRecordingMenus* menus = FormsLayerStandIn::MenusOf(sm.get());
    TBitmap background;
    HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

    // Without a popup background an item message is left to others; a window message is still taken.
    TMessage item{0xBCB3, 0, 0, 0};
    EXPECT_FALSE(sm->AppHook(item));
    layer.PopupBackground = &background;
    EXPECT_TRUE(sm->AppHook(item)); // no item: handled, nothing to shape
    EXPECT_TRUE(menus->Regions.empty());

    SendToApplication(0xBCB4, reinterpret_cast<LPARAM>(popup));
    ASSERT_EQ(menus->Regions.size(), 1u);
    EXPECT_EQ(menus->Regions[0].first, popup);
    EXPECT_EQ(menus->Regions[0].second, &background);
    DestroyWindow(popup);

    TMessage theme{WM_THEMECHANGED, 0, 0, 0};
    EXPECT_TRUE(sm->AppHook(theme));
    TMessage other{WM_USER + 5, 0, 0, 0};
    EXPECT_FALSE(sm->AppHook(other));
}

TEST_F(ManagerHooks, ADestroyedManagerNoLongerHearsTheApplicationWindow)
{
    auto sm = MakeManager();
    sm.reset();
    HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendToApplication(0xBCB4, reinterpret_cast<LPARAM>(popup));
    DestroyWindow(popup);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(ManagerHooks, MenuPainterMeasuresItsBorderAgainAfterEverySkin)
{
    auto sm = MakeManager();
    sm->SetSkinName(L"Flat");
    sm->SetSkinName(L"Flat");
    EXPECT_EQ(FormsLayerStandIn::MenusOf(sm.get())->BorderWidths, (std::vector<int>{-1, -1}));
}

TEST_F(ManagerHooks, SkinnedPopupsSwitchedOnWakeTheMenuPainter)
{
    auto sm = MakeManager();
    TRecordingMenus* menus = FormsLayerStandIn::MenusOf(sm.get());
    sm->SetSkinnedPopups(true);
    EXPECT_EQ(menus->UpdateActiveCalls, 0);
    sm->SetSkinnedPopups(false);
    sm->SetSkinnedPopups(true);
    EXPECT_EQ(menus->UpdateActiveCalls, 1);
}

TEST_F(ManagerHooks, HotControlChangesAreAnnouncedToBothWindows)
{
    auto sm = MakeManager();
    TOwned<TListeningForm> form(Create<TListeningForm>(Application));
    auto* a = Create<TListeningControl>(form.get());
    a->SetParent(form.get());
    auto* b = Create<TListeningControl>(form.get());
    b->SetParent(form.get());
    const LPARAM self = reinterpret_cast<LPARAM>(sm.get());

    sm->SetActiveControl(a->Handle());
    sm->SetActiveControl(a->Handle());
    EXPECT_EQ(a->Log.Heard, (std::vector<HeardCommand>{{SkinCmdControlEnter, self}}));
    sm->SetActiveControl(b->Handle());
    EXPECT_EQ(a->Log.Heard.back(), (HeardCommand{SkinCmdControlExit, self}));
    EXPECT_EQ(b->Log.Heard, (std::vector<HeardCommand>{{SkinCmdControlEnter, self}}));
    EXPECT_EQ(sm->ActiveControl(), b->Handle());
}

class SkinNames : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        sm.SetSkinDirectory(Folder());
        WriteTestSkinFolder(Folder(), L"Alpha");
        testsupport::WriteFileBytes(PathOf(L"NoOptions\\readme.txt"), "x");
        const std::string packed = BuildContainer(TestSkinEntries());
        testsupport::WriteFileBytes(PathOf(L"Beta.asz"), packed);
        testsupport::WriteFileBytes(PathOf(L"Gamma.ASZ"), packed);
        testsupport::WriteFileBytes(PathOf(L".hidden.asz"), packed);
        testsupport::WriteFileBytes(PathOf(L"My.Skin.asz"), packed);
        testsupport::WriteFileBytes(PathOf(L"notes.txt"), "x");
    }
    std::vector<std::wstring> Names(TacSkinListKind kind, std::wstring& first)
    {
        TStringList list;
        list.Add(L"left over");
        sm.ListSkinNames(&list, kind, first);
        std::vector<std::wstring> names;
        for (int i = 0; i < list.Count(); ++i)
            names.push_back(list.Get(i));
        return names;
    }
    TsSkinManager sm;
};

TEST_F(SkinNames, StoredSkinsFoldersAndPackedFilesSorted)
{
    sm.InternalSkins()->Add()->SetName(L"Zeta (internal)");
    std::wstring first;
    EXPECT_EQ(Names(slFoldersAndPackedFiles, first),
              (std::vector<std::wstring>{L"Alpha", L"Beta", L"My.Skin", L"Zeta (internal)"}));
    EXPECT_EQ(first, L"Zeta (internal)");
    EXPECT_EQ(Names(slFolders, first), (std::vector<std::wstring>{L"Alpha", L"Zeta (internal)"}));
    EXPECT_EQ(Names(slPackedFiles, first), (std::vector<std::wstring>{L"Beta", L"My.Skin", L"Zeta (internal)"}));
}

TEST_F(SkinNames, WithoutStoredSkinsTheFirstNameIsTheFirstFoundOnDisk)
{
    std::wstring first = L"stale";
    const auto names = Names(slPackedFiles, first);
    ASSERT_FALSE(names.empty());
    EXPECT_TRUE(first == L"Beta" || first == L"My.Skin");
}

TEST_F(SkinNames, AMissingSkinDirectoryListsOnlyStoredSkins)
{
    sm.SetSkinDirectory(PathOf(L"nowhere"));
    sm.InternalSkins()->Add()->SetName(L"Office2007 (internal)");
    std::wstring first;
    EXPECT_EQ(Names(slFoldersAndPackedFiles, first), std::vector<std::wstring>{L"Office2007 (internal)"});
}

TEST_F(SkinNames, EveryListedNameLoadsAgain)
{
    std::wstring first;
    for (const std::wstring& name : Names(slFoldersAndPackedFiles, first)) {
        sm.SetSkinName(name);
        EXPECT_EQ(sm.SkinName(), name);
        EXPECT_TRUE(sm.SkinData()->Active) << testsupport::Narrow(name);
        EXPECT_GE(sm.ConstData.GlobalInfo, 0) << testsupport::Narrow(name);
    }
}

} // namespace
