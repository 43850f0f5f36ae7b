// The skinned system menu: its items for each kind of form, the list of available skins in the skin
// folder and switching to one of them, and the ways it opens.
#include "tests/skin_forms/provider_support.h"

using namespace providerskin;

class SystemMenuTest : public ProviderTest {
protected:
    TsSystemMenu* Menu(TsSkinProvider* p) { return p->SystemMenu(); }
    TMenuItem* SkinList(TsSkinProvider* p)
    {
        TMenuItem* items = p->SystemMenu()->Items();
        return items->Count() > 0 && items->Items(0)->Name() == L"SkinSelectItem" ? items->Items(0) : nullptr;
    }
    int Separators(TsSkinProvider* p)
    {
        int n = 0;
        TMenuItem* items = p->SystemMenu()->Items();
        for (int i = 0; i < items->Count(); ++i)
            n += items->Items(i)->IsLine();
        return n;
    }
};

TEST_F(SystemMenuTest, SizeableFormShowsEveryCommandWithRestoreClosed)
{
    TsSkinProvider* p = Attach();
    TsSystemMenu* m = Menu(p);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->ItemRestore->Visible());
    EXPECT_FALSE(m->ItemRestore->Enabled());
    EXPECT_TRUE(m->ItemMove->Enabled());
    EXPECT_TRUE(m->ItemSize->Visible());
    EXPECT_TRUE(m->ItemSize->Enabled());
    EXPECT_TRUE(m->ItemMinimize->Visible());
    EXPECT_TRUE(m->ItemMinimize->Enabled());
    EXPECT_TRUE(m->ItemMaximize->Visible());
    EXPECT_TRUE(m->ItemMaximize->Enabled());
    EXPECT_TRUE(m->ItemClose->Visible());
    EXPECT_EQ(m->ItemClose->ShortCut(), 0x8073); // Alt+F4
    EXPECT_EQ(m->ItemClose->Caption(), L"Close");
    EXPECT_TRUE(m->Items()->Items(m->ItemMaximize->MenuIndex() + 1)->IsLine());
}

TEST_F(SystemMenuTest, DialogFormShowsOnlyMoveAndCloseAndMoveClosesWhenMaximized)
{
    Form->SetBorderStyle(bsDialog);
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    TsSystemMenu* m = Menu(p);
    m->UpdateItems();
    EXPECT_FALSE(m->ItemRestore->Visible());
    EXPECT_TRUE(m->ItemMove->Visible());
    EXPECT_FALSE(m->ItemSize->Visible());
    EXPECT_FALSE(m->ItemMinimize->Visible());
    EXPECT_FALSE(m->ItemMaximize->Visible());
    EXPECT_TRUE(m->ItemClose->Visible());
    EXPECT_TRUE(m->ItemMove->Enabled());
    ShowWindow(Wnd, SW_MAXIMIZE);
    testsupport::PumpMessagesUntilIdle(300);
    m->UpdateItems();
    EXPECT_FALSE(m->ItemMove->Enabled());
}

TEST_F(SystemMenuTest, SizeableFormWithoutMinimizeIconShowsMinimizeClosed)
{
    Form->SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    TsSystemMenu* m = Menu(p);
    EXPECT_TRUE(m->ItemMinimize->Visible());
    EXPECT_FALSE(m->ItemMinimize->Enabled());
}

TEST_F(SystemMenuTest, SkinListNamesTheSkinFoldersWithTheCurrentOneChecked)
{
    TsSkinProvider* p = Attach();
    p->SystemMenu()->BuildSkinList();
    TMenuItem* list = SkinList(p);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Caption(), L"Available skins");
    EXPECT_TRUE(p->SystemMenu()->Items()->Items(1)->IsLine());
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Items(0)->Caption(), L"Alpha");
    EXPECT_EQ(list->Items(1)->Caption(), L"Beta");
    EXPECT_EQ(list->Items(1)->Name(), L"SkinSelectItem1");
    EXPECT_TRUE(list->Items(0)->Checked());
    EXPECT_FALSE(list->Items(1)->Checked());
    EXPECT_TRUE(list->Items(0)->RadioItem());
}

TEST_F(SystemMenuTest, ClickOnASkinSwitchesTheApplicationToIt)
{
    TsSkinProvider* p = Attach();
    p->SystemMenu()->BuildSkinList();
    SkinList(p)->Items(1)->Click();
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(Manager->SkinName(), L"Beta");
    EXPECT_TRUE(Manager->SkinData()->Active);
    const testsupport::Pixels24 pix = Printed();
    EXPECT_EQ(pix.At(p->ClientOffsetX() + 10, p->ClientOffsetY() + 10), kBetaFormColor);
}

TEST_F(SystemMenuTest, FortyFiveSkinsMakeThreeColumns)
{
    for (int i = 0; i < 43; ++i)
        WriteSkinStub(Folder(), L"S" + std::to_wstring(10 + i));
    TsSkinProvider* p = Attach();
    p->SystemMenu()->BuildSkinList();
    TMenuItem* list = SkinList(p);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 45);
    for (int i = 0; i < 45; ++i)
        EXPECT_EQ(list->Items(i)->Break(), i == 20 || i == 40 ? mbBreak : mbNone) << i;
}

TEST_F(SystemMenuTest, ShowingTheMenuTwiceLeavesOneListAndOneSeparator)
{
    TsSkinProvider* p = Attach();
    const int before = Separators(p);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(WhileMenuOpen([&] { p->ShowSystemMenu(200, 200); }, nullptr));
    int lists = 0;
    TMenuItem* items = p->SystemMenu()->Items();
    for (int i = 0; i < items->Count(); ++i)
        lists += items->Items(i)->Name() == L"SkinSelectItem";
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(Separators(p), before + 1);
}

TEST_F(SystemMenuTest, SkinNamedWithAnAmpersandIsShownAndLoadedByItsName)
{
    WriteSkin(Folder(), L"R&D", false);
    TsSkinProvider* p = Attach();
    p->SystemMenu()->BuildSkinList();
    TMenuItem* list = SkinList(p);
    TMenuItem* item = nullptr;
    for (int i = 0; i < list->Count(); ++i)
        if (list->Items(i)->Caption() == L"R&&D")
            item = list->Items(i);
    ASSERT_NE(item, nullptr);
    item->Click();
    EXPECT_EQ(Manager->SkinName(), L"R&D");
    EXPECT_TRUE(Manager->SkinData()->Active);
    // A plain access-key mark is dropped.
    EXPECT_EQ(SkinNameOfCaption(L"&Beta"), L"Beta");
}

TEST_F(SystemMenuTest, ManagerWithoutSkinsLeavesTheMenuWithoutAList)
{
    TsSkinProvider* p = Attach();
    Manager->SetSkinDirectory(Folder() + L"\\none");
    p->SystemMenu()->BuildSkinList();
    EXPECT_EQ(SkinList(p), nullptr);
    EXPECT_EQ(p->SystemMenu()->Items()->Items(0), p->SystemMenu()->ItemRestore);
}

TEST_F(SystemMenuTest, RightClickOnTheCaptionOpensTheSkinnedMenu)
{
    TsSkinProvider* p = Attach();
    bool listed = false;
    EXPECT_TRUE(WhileMenuOpen([&] { SendMessageW(Wnd, WM_NCRBUTTONUP, HTCAPTION, ScreenPoint(160, 8)); },
                              [&] { listed = SkinList(p) != nullptr; }));
    EXPECT_TRUE(listed);
    // The press itself does nothing.
    EXPECT_FALSE(WhileMenuOpen([&] { SendMessageW(Wnd, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(160, 8)); }, nullptr));
}

TEST_F(SystemMenuTest, AltSpaceAndAClickOnTheIconOpenTheMenu)
{
    TsSkinProvider* p = Attach();
    EXPECT_TRUE(WhileMenuOpen([&] { SendMessageW(Wnd, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE); }, nullptr));
    EXPECT_TRUE(WhileMenuOpen([&] { SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTSYSMENU, ScreenPoint(p->IconRect())); },
                              nullptr));
}

TEST_F(SystemMenuTest, CommandItemsMaximizeRestoreAndMinimize)
{
    TsSkinProvider* p = Attach();
    TsSystemMenu* m = Menu(p);
    m->ItemMaximize->Click();
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsZoomed(Wnd));
    EXPECT_TRUE(m->ItemRestore->Enabled());
    EXPECT_FALSE(m->ItemMaximize->Enabled());
    m->ItemRestore->Click();
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(IsZoomed(Wnd));
    m->ItemMinimize->Click();
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(IsIconic(Wnd));
}

TEST_F(SystemMenuTest, NewTitleButtonIsNamedEnabledAndSkinned)
{
    TsSkinProvider* p = Attach();
    TsTitleButton* b = p->TitleButtons()->Add();
    EXPECT_EQ(b->Name(), L"TsTitleButton");
    EXPECT_EQ(b->DisplayName(), L"TsTitleButton");
    EXPECT_TRUE(b->Enabled);
    EXPECT_TRUE(b->UseSkinData);
    EXPECT_EQ(p->TitleButtons()->GetOwner(), p);
}
