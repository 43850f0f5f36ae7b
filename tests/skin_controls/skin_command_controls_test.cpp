// The skin command between controls and forms: sends that respect handles and destruction, queries
// answered inside the window procedure, refreshes and broadcasts over children and forms, the list of
// skinned forms with its freeze and thaw, and the small control utilities.
#include "skin/core/sSkinLinks.h"
#include "tests/skin_controls/state_support.h"

#include <algorithm>

namespace {

int CountOf(const std::vector<WORD>& commands, WORD cmd)
{
    return static_cast<int>(std::count(commands.begin(), commands.end(), cmd));
}

// A form that a provider serves: it answers "skinned" in its result, as providers do, and names its
// provider; it logs redraw switches.
class TProvidedForm : public TForm {
    DECLARE_CLASS_NAME(TProvidedForm)
public:
    explicit TProvidedForm(TComponent* owner) : TForm(owner) { SetBounds(300, 50, 120, 90); }

    TsSkinManager* Manager = nullptr;
    std::vector<WORD> Commands;
    std::vector<WPARAM> Redraws;
    int Refreshes = 0;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_SETREDRAW)
            Redraws.push_back(m.WParam);
        if (m.Msg == SM_SKINCMD) {
            Commands.push_back(SkinCmdOf(m.WParam));
            if (SkinCmdOf(m.WParam) == SkinCmdIsSkinned) {
                m.LParam = 1;
                m.Result = 1;
                return;
            }
            if (SkinCmdOf(m.WParam) == SkinCmdGetProvider) {
                m.Result = reinterpret_cast<LRESULT>(this); // the form stands for its provider here
                return;
            }
        }
        TForm::WndProc(m);
    }
};

class SkinCommandControls : public SkinStateTest {
protected:
    void SetUp() override
    {
        SkinStateTest::SetUp();
        savedLinks_ = SkinLinks();
        TacSkinLinks links = savedLinks_;
        links.ProviderManager = [](LRESULT p) { return reinterpret_cast<TProvidedForm*>(p)->Manager; };
        links.RefreshProvider = [](LRESULT p) { ++reinterpret_cast<TProvidedForm*>(p)->Refreshes; };
        SetSkinLinks(links);
        Box = Create<TSkinnedBox>(Form, 51);
        Box->SetParent(Form);
        Shape = Create<TSkinnedShape>(Form);
        Shape->SetParent(Form);
    }
    void TearDown() override
    {
        while (!SkinnedForms().empty())
            UnregisterSkinnedForm(SkinnedForms().front());
        SetSkinLinks(savedLinks_);
        SkinStateTest::TearDown();
    }
    TacSkinLinks savedLinks_;
    TSkinnedBox* Box = nullptr;
    TSkinnedShape* Shape = nullptr;
};

} // namespace

TEST_F(SkinCommandControls, ControlsWithoutAWindowOrBeingDestroyedGetNothing)
{
    EXPECT_EQ(SendSkinCmdToControl(Box, SkinCmdIsSkinned, 0), 0);
    EXPECT_TRUE(Box->Commands.empty());
    Box->HandleNeeded();
    SendSkinCmdToControl(Box, SkinCmdSetBgChanged, 0);
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdSetBgChanged), 1);
    Box->SetComponentState(csDestroying);
    SendSkinCmdToControl(Box, SkinCmdSetBgChanged, 0);
    Box->ClearComponentState(csDestroying);
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdSetBgChanged), 1);
    // A windowless control gets it through its WindowProc.
    SendSkinCmdToControl(Shape, SkinCmdSetBgChanged, 0);
    EXPECT_EQ(CountOf(Shape->Commands, SkinCmdSetBgChanged), 1);
}

TEST_F(SkinCommandControls, QueryAnsweredInTheWindowProcedureSendsNothing)
{
    Box->HandleNeeded();
    EXPECT_TRUE(QuerySkinCmd(Box, SkinCmdIsSkinned));
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdIsSkinned), 1);
    // A plain send to a skinned control answers 0: skinned controls reply in LParam only.
    EXPECT_FALSE(QuerySkinCmdHwnd(Box->Handle(), SkinCmdIsSkinned));
    // An unanswered query is sent once more to the window.
    EXPECT_FALSE(QuerySkinCmd(Box, SkinCmdGetProvider));
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdGetProvider), 2);
}

TEST_F(SkinCommandControls, RefreshSkipsGraphicChildren)
{
    Form->HandleNeeded();
    Box->HandleNeeded();
    RefreshChildControls(Form);
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdEndParentUpdate), 1);
    EXPECT_EQ(CountOf(Shape->Commands, SkinCmdEndParentUpdate), 0); // graphic controls are skipped
}

TEST_F(SkinCommandControls, BroadcastGoesThroughUnskinnedContainersToSkinnedChildren)
{
    auto* container = Create<TCustomControl>(Form);
    container->SetParent(Form);
    auto* inner = Create<TSkinnedBox>(container, 51);
    inner->SetParent(container);
    Form->Show();
    TMessage m{SM_SKINCMD, SkinCmdWParam(SkinCmdSetBgChanged), 0, 0};
    BroadcastToChildren(Form, m);
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdSetBgChanged), 1);
    EXPECT_EQ(CountOf(inner->Commands, SkinCmdSetBgChanged), 1);
    EXPECT_EQ(CountOf(Shape->Commands, SkinCmdSetBgChanged), 1);
}

TEST_F(SkinCommandControls, EachSkinnedFormGetsABroadcastOnceFromTheList)
{
    auto* provided = Create<TProvidedForm>(Application);
    provided->Show();
    Form->Show();
    RegisterSkinnedForm(provided);
    TMessage m{SM_SKINCMD, SkinCmdWParam(SkinCmdSetBgChanged), 0, 0};
    BroadcastToAppForms(m);
    EXPECT_EQ(CountOf(provided->Commands, SkinCmdSetBgChanged), 1);
    EXPECT_EQ(CountOf(Form->Commands, SkinCmdSetBgChanged), 1);
    EXPECT_EQ(CountOf(Box->Commands, SkinCmdSetBgChanged), 1);
    UnregisterSkinnedForm(provided);
    Free(provided);
}

TEST_F(SkinCommandControls, UnregisteringMovesTheLastFormIntoTheFreedSlot)
{
    auto* a = Create<TForm>(Application);
    auto* b = Create<TForm>(Application);
    auto* c = Create<TForm>(Application);
    RegisterSkinnedForm(a);
    RegisterSkinnedForm(b);
    RegisterSkinnedForm(c);
    UnregisterSkinnedForm(a);
    EXPECT_EQ(SkinnedForms(), (std::vector<TCustomForm*>{c, b}));
    UnregisterSkinnedForm(b);
    UnregisterSkinnedForm(c);
    EXPECT_TRUE(SkinnedForms().empty());
    RegisterSkinnedForm(a);
    RegisterSkinnedForm(a);
    UnregisterSkinnedForm(a); // a form registered twice leaves no stale entry
    EXPECT_TRUE(SkinnedForms().empty());
    Free(c);
    Free(b);
    Free(a);
}

TEST_F(SkinCommandControls, OnlyTheFormsOfTheSameManagerFreezeAndThaw)
{
    auto* provided = Create<TProvidedForm>(Application);
    provided->Manager = Manager;
    provided->Show();
    RegisterSkinnedForm(provided);
    TsSkinManager other;
    FreezeSkinnedForms(&other);
    EXPECT_FALSE(provided->PaintsHeld());
    FreezeSkinnedForms(Manager);
    ThawSkinnedForms(&other, false);
    EXPECT_TRUE(provided->PaintsHeld());
    ThawSkinnedForms(Manager, false);
    EXPECT_FALSE(provided->PaintsHeld());
    EXPECT_EQ(provided->Refreshes, 0);

    Manager->AnimEffects()->SkinChanging()->Active = false;
    FreezeSkinnedForms(Manager);
    ThawSkinnedForms(Manager, true);
    EXPECT_FALSE(provided->PaintsHeld());
    EXPECT_EQ(provided->Refreshes, 1);
    // The hold is the form's own: its window is never hidden and shown again for it.
    EXPECT_TRUE(provided->Redraws.empty());
    UnregisterSkinnedForm(provided);
    Free(provided);
}

TEST_F(SkinCommandControls, ASkinChangeThawOnWindowsSixPaintsNoOverlayForAFadeOfNoSteps)
{
    ASSERT_GE(WindowsMajorVersion(), 6u) << "the fade has steps below Windows 6";
    auto* provided = Create<TProvidedForm>(Application);
    provided->Manager = Manager;
    provided->Show();
    RegisterSkinnedForm(provided);
    ASSERT_TRUE(Manager->AnimEffects()->SkinChanging()->Active);
    FreezeSkinnedForms(Manager);
    ThawSkinnedForms(Manager, true);
    // The fade would stop and restart the form's redrawing around its overlay: only the provider's
    // refresh comes, and the form lets its paints go.
    EXPECT_TRUE(provided->Redraws.empty());
    EXPECT_FALSE(provided->PaintsHeld());
    EXPECT_EQ(provided->Refreshes, 1);
    UnregisterSkinnedForm(provided);
    Free(provided);
}

TEST_F(SkinCommandControls, OwnerFormIsFoundThroughOwners)
{
    auto* inner = Create<TSkinnedBox>(Box, 0);
    EXPECT_EQ(GetOwnerForm(inner), Form);
    EXPECT_EQ(GetOwnerForm(Manager), nullptr);
    EXPECT_EQ(GetOwnerForm(nullptr), nullptr);
}

TEST_F(SkinCommandControls, ControlIsReadyOnlyWithAWindowAParentAndNoLoading)
{
    EXPECT_FALSE(ControlIsReady(nullptr));
    EXPECT_FALSE(ControlIsReady(Box)); // no window yet
    Box->HandleNeeded();
    EXPECT_TRUE(ControlIsReady(Box));
    Box->SetComponentState(csLoading);
    EXPECT_FALSE(ControlIsReady(Box));
    Box->ClearComponentState(csLoading);
    EXPECT_TRUE(ControlIsReady(Shape));
    auto* orphan = Create<TSkinnedShape>(Form);
    EXPECT_FALSE(ControlIsReady(orphan));
    Free(orphan);
}

TEST_F(SkinCommandControls, TextFlagsCarryTheAlignment)
{
    EXPECT_EQ(GetTextFlags(Box, taLeftJustify), static_cast<DWORD>(DT_EXPANDTABS | DT_VCENTER));
    EXPECT_EQ(GetTextFlags(Box, taRightJustify), static_cast<DWORD>(DT_EXPANDTABS | DT_VCENTER | DT_RIGHT));
    EXPECT_EQ(GetTextFlags(Box, taCenter), static_cast<DWORD>(DT_EXPANDTABS | DT_VCENTER | DT_CENTER));
}

TEST_F(SkinCommandControls, AlignedSizeSumsVisibleChildrenOfOneAlignment)
{
    Box->SetAlign(alTop);
    Shape->SetAlign(alTop);
    auto* hidden = Create<TSkinnedBox>(Form, 0);
    hidden->SetParent(Form);
    hidden->SetAlign(alTop);
    hidden->SetVisible(false);
    EXPECT_EQ(AlignedControlsSize(Form, alTop, false), Box->Height());
    EXPECT_EQ(AlignedControlsSize(Form, alTop, true), Box->Height() + Shape->Height());
    EXPECT_EQ(AlignedControlsSize(Form, alClient, true), 0);
}
