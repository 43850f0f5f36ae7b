// Switching skins: where a skin comes from, who hears of the change and in which order, and what a
// missing or damaged skin leaves behind.
#include "tests/skin_forms/manager_support.h"
#include "tests/skin_core/test_skin.h"

#include "framework/Classes.h"

using namespace testskin;

namespace {

const std::vector<WORD> kChanged{SkinCmdSkinChanged, SkinCmdBeforeRepaint, SkinCmdRefresh};

// A form with a skinned child, a plain panel holding another skinned child, and a windowless control.
struct WindowTree {
    WindowTree()
    {
        form.reset(Create<TListeningForm>(Application));
        direct = Create<TListeningControl>(form.get());
        direct->SetParent(form.get());
        direct->Log.Skinned = true;
        panel = Create<TListeningControl>(form.get());
        panel->SetParent(form.get());
        nested = Create<TListeningControl>(form.get());
        nested->SetParent(panel);
        nested->Log.Skinned = true;
        shape = Create<TListeningShape>(form.get());
        shape->SetParent(form.get());
    }
    void Forget()
    {
        for (SkinCommandLog* log : {&form->Log, &direct->Log, &panel->Log, &nested->Log, &shape->Log})
            log->Heard.clear();
    }
    TOwned<TListeningForm> form;
    TListeningControl* direct = nullptr;
    TListeningControl* panel = nullptr;  // not skinned: passes the commands on to its children
    TListeningControl* nested = nullptr;
    TListeningShape* shape = nullptr;
};

class SkinSwitching : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        sm = std::make_unique<TsSkinManager>(nullptr);
        sm->SetSkinDirectory(Folder());
        WriteTestSkinFolder(Folder(), L"Flat");
    }
    void TearDown() override
    {
        sm.reset();
        ManagerTest::TearDown();
    }
    LPARAM Self() const { return reinterpret_cast<LPARAM>(sm.get()); }
    void AddStoredSkin(const std::wstring& name, const std::string& extraOptions = "")
    {
        TsStoredSkin* stored = sm->InternalSkins()->Add();
        stored->SetName(name);
        auto entries = TestSkinEntries();
        entries[0].bytes += extraOptions;
        const std::string packed = BuildContainer(entries);
        stored->Data()->WriteBuffer(packed.data(), static_cast<std::int32_t>(packed.size()));
    }
    std::unique_ptr<TsSkinManager> sm;
};

TEST_F(SkinSwitching, EveryWindowOfTheTreeHearsTheChangeOnceInOrder)
{
    WindowTree tree;
    sm->SetSkinName(L"Flat");
    EXPECT_EQ(tree.form->Log.Commands(), kChanged);
    EXPECT_EQ(tree.direct->Log.Commands(), kChanged);
    EXPECT_EQ(tree.nested->Log.Commands(), kChanged);
    EXPECT_EQ(tree.shape->Log.Commands(), kChanged);
    // The plain panel is not skinned: it hears nothing itself but passes the commands on.
    EXPECT_TRUE(tree.panel->Log.Heard.empty());
    for (const HeardCommand& c : tree.nested->Log.Heard)
        EXPECT_EQ(c.second, Self());
}

TEST_F(SkinSwitching, ControlsReadTheNewIndexesWhileTheChangeIsAnnounced)
{
    WindowTree tree;
    std::vector<int> seen;
    bool changing = false;
    tree.form->WindowProc = [&](TMessage& m) {
        if (m.Msg == SM_SKINCMD && HIWORD(m.WParam) == SkinCmdSkinChanged) {
            seen.push_back(sm->ConstData.GlobalInfo);
            changing = SkinChanging();
        }
        tree.form->WndProc(m);
    };
    sm->SetSkinName(L"Flat");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], FindSectionIndex(sm.get(), L"GLOBALINFO"));
    EXPECT_TRUE(changing);
    EXPECT_FALSE(SkinChanging());
    EXPECT_TRUE(sm->SkinData()->Active);
    tree.form->WindowProc = TWndMethod(static_cast<TControl*>(tree.form.get()), &TControl::WndProc);
}

TEST_F(SkinSwitching, AFormSkinnedByAProviderHearsItOnlyThroughTheListOfSkinnedForms)
{
    WindowTree tree;
    tree.form->Log.Skinned = true;
    tree.form->Log.AnswersInResult = true;
    RegisterSkinnedForm(tree.form.get());
    sm->SetSkinName(L"Flat");
    UnregisterSkinnedForm(tree.form.get());
    EXPECT_EQ(tree.form->Log.Commands(), kChanged);
    EXPECT_EQ(tree.nested->Log.Commands(), kChanged);
}

TEST_F(SkinSwitching, ChangeEventsSurroundTheLoad)
{
    std::vector<std::wstring> log;
    sm->OnBeforeChange = [&](TObject*) { log.push_back(L"before " + sm->SkinInfo()); };
    sm->OnAfterChange = [&](TObject*) { log.push_back(L"after " + sm->SkinInfo()); };
    sm->SetSkinName(L"Flat");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], L"before N/A");
    EXPECT_NE(log[1], L"after N/A");
}

TEST_F(SkinSwitching, SwitchingBetweenFolderPackedFileAndStoredSkin)
{
    AddStoredSkin(L"Office2007 (internal)", "[STOREDONLY]\r\nCOLOR=1\r\n");
    auto entries = TestSkinEntries();
    entries[0].bytes += "[PACKEDONLY]\r\nCOLOR=1\r\n";
    testsupport::WriteFileBytes(PathOf(L"Packed.asz"), BuildContainer(entries));
    WindowTree tree;

    sm->SetSkinName(L"Flat");
    EXPECT_FALSE(sm->IsPacked());
    sm->SetSkinName(L"Packed");
    EXPECT_TRUE(sm->IsPacked());
    EXPECT_GE(FindSectionIndex(sm.get(), L"PACKEDONLY"), 0);
    sm->SetSkinName(L"Office2007 (internal)");
    EXPECT_GE(FindSectionIndex(sm.get(), L"STOREDONLY"), 0);
    EXPECT_EQ(FindSectionIndex(sm.get(), L"PACKEDONLY"), -1);
    EXPECT_TRUE(sm->SkinData()->SkinPath.empty());
    EXPECT_EQ(tree.nested->Log.Heard.size(), 3 * kChanged.size());
}

TEST_F(SkinSwitching, AFolderBeatsAStoredSkinOfTheSameName)
{
    AddStoredSkin(L"Flat", "[STOREDONLY]\r\nCOLOR=1\r\n");
    sm->SetSkinName(L"Flat");
    EXPECT_EQ(FindSectionIndex(sm.get(), L"STOREDONLY"), -1);
    EXPECT_EQ(sm->SkinData()->SkinPath, Folder() + L"\\Flat\\");
}

TEST_F(SkinSwitching, AMissingSkinWithNoStoredSkinSwitchesSkinningOff)
{
    sm->SetSkinName(L"Flat");
    WindowTree tree;
    sm->SetSkinName(L"Gone");
    EXPECT_FALSE(sm->Active());
    EXPECT_EQ(sm->SkinInfo(), L"N/A");
    EXPECT_EQ(tree.nested->Log.Commands(), std::vector<WORD>{SkinCmdSkinRemoved});
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_EQ(sm->ConstData.GlobalInfo, -1);
}

TEST_F(SkinSwitching, ADamagedSkinTellsTheWindowsThatNoSkinIsLoaded)
{
    sm->SetSkinName(L"Flat");
    std::string packed = BuildContainer(TestSkinEntries());
    packed.resize(packed.size() - 10);
    testsupport::WriteFileBytes(PathOf(L"Cut.asz"), packed);
    WindowTree tree;
    bool afterChange = false;
    sm->OnAfterChange = [&](TObject*) { afterChange = true; };

    EXPECT_ANY_THROW(sm->SetSkinName(L"Cut"));
    // No window keeps indexes into the emptied arrays; the manager stays ready for another skin.
    EXPECT_EQ(tree.nested->Log.Commands(), std::vector<WORD>{SkinCmdSkinRemoved});
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_EQ(sm->ConstData.GlobalInfo, -1);
    EXPECT_EQ(sm->SkinInfo(), L"N/A");
    EXPECT_FALSE(SkinChanging());
    EXPECT_FALSE(SkinRemoving());
    EXPECT_FALSE(afterChange);

    tree.Forget();
    sm->SetSkinName(L"Flat");
    EXPECT_EQ(tree.nested->Log.Commands(), kChanged);
    EXPECT_GE(sm->ConstData.GlobalInfo, 0);
}

TEST_F(SkinSwitching, SwitchingOffAndOnAgain)
{
    sm->SetSkinName(L"Flat");
    WindowTree tree;
    sm->SetActive(false);
    EXPECT_EQ(tree.nested->Log.Commands(), std::vector<WORD>{SkinCmdSkinRemoved});
    EXPECT_TRUE(sm->Masks.empty());
    EXPECT_EQ(sm->SkinInfo(), L"N/A");
    tree.Forget();
    // The name alone is stored while inactive.
    sm->SetSkinName(L"Flat");
    EXPECT_TRUE(tree.nested->Log.Heard.empty());
    sm->SetActive(true);
    EXPECT_EQ(tree.nested->Log.Commands(), kChanged);
}

TEST_F(SkinSwitching, HueChangeRepaintsWithoutAnnouncingANewSkin)
{
    sm->SetSkinName(L"Flat");
    WindowTree tree;
    sm->SetHueOffset(0);
    EXPECT_TRUE(tree.nested->Log.Heard.empty());
    sm->SetHueOffset(40);
    EXPECT_EQ(tree.nested->Log.Commands(), (std::vector<WORD>{SkinCmdBeforeRepaint, SkinCmdRefresh}));
    EXPECT_TRUE(sm->SkinData()->Active);
    tree.Forget();
    sm->SetSaturation(-30);
    EXPECT_EQ(tree.nested->Log.Commands(), (std::vector<WORD>{SkinCmdBeforeRepaint, SkinCmdRefresh}));
}

TEST_F(SkinSwitching, ColourSettingsWithoutASkinOnlyStoreTheValue)
{
    WindowTree tree;
    sm->SetHueOffset(40);
    EXPECT_EQ(sm->HueOffset(), 40);
    EXPECT_TRUE(tree.nested->Log.Heard.empty());
}

TEST_F(SkinSwitching, LoadedAnnouncesTheSkinReadWithTheForm)
{
    sm->SetComponentState(csLoading);
    sm->SetSkinName(L"Flat");
    WindowTree tree;
    sm->ClearComponentState(csLoading);
    sm->Loaded();
    EXPECT_EQ(tree.nested->Log.Commands(), kChanged);
    EXPECT_EQ(sm->MenuSupport()->IcoLineSkin, L"ICOLINE");
}

// The form-skinning layer's provider of a form is stood in for by a number the form answers.
class SkinnedFormPainting : public SkinSwitching {
protected:
    void SetUp() override
    {
        SkinSwitching::SetUp();
        layer.ProviderManager = sm.get();
        form.reset(Create<TListeningForm>(Application));
        form->Log.Skinned = true;
        form->Log.AnswersInResult = true;
        form->Log.Provider = 0x1234;
        form->SetBounds(10, 10, 120, 80);
        form->Show();
        RegisterSkinnedForm(form.get());
    }
    void TearDown() override
    {
        UnregisterSkinnedForm(form.get());
        form.reset();
        SkinSwitching::TearDown();
    }
    FormsLayerStandIn layer;
    TOwned<TListeningForm> form;
};

TEST_F(SkinnedFormPainting, FormsOfTheManagerStopDrawingWhileTheSkinChanges)
{
    sm->SetSkinName(L"Flat");
    ASSERT_FALSE(form->HeldAtRefresh.empty());
    for (bool held : form->HeldAtRefresh)
        EXPECT_TRUE(held);
    EXPECT_FALSE(form->PaintsHeld());
    // The form's own hold: its windows are never hidden and shown again for it.
    EXPECT_TRUE(form->Log.Redraws.empty());
    EXPECT_EQ(layer.RefreshedProviders, std::vector<LRESULT>{0x1234});
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(SkinnedFormPainting, FormsOfAnotherManagerKeepDrawing)
{
    TsSkinManager other(nullptr);
    layer.ProviderManager = &other;
    sm->SetSkinName(L"Flat");
    for (bool held : form->HeldAtRefresh)
        EXPECT_FALSE(held);
    EXPECT_FALSE(form->PaintsHeld());
    EXPECT_TRUE(form->Log.Redraws.empty());
}

TEST_F(SkinnedFormPainting, ASkinReadWithAFormNeverLeavesFormsFrozen)
{
    sm->SetComponentState(csLoading);
    sm->SetSkinName(L"Flat");
    sm->ClearComponentState(csLoading);
    EXPECT_FALSE(form->PaintsHeld());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

} // namespace
