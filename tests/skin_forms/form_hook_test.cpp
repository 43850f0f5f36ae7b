// Framework forms at their first activation: one TacProvider and one TsSkinProvider, both the form's,
// and nothing more later; the windows and forms the hook leaves alone; removing the manager.
#include "skin/forms/acDials.h"

#include "skin/core/sMessages.h"
#include "tests/skin_forms/provider_support.h"

#include <algorithm>

namespace {

template <class T>
int CountOwned(TComponent* owner)
{
    int count = 0;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (dynamic_cast<T*>(owner->Components(i)))
            ++count;
    return count;
}

int IndexIn(TComponent* owner, TComponent* component)
{
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i) == component)
            return i;
    return -1;
}

int LiveProviders()
{
    int count = 0;
    if (std::vector<TObject*>* list = ProviderList())
        for (TObject* object : *list)
            if (object)
                ++count;
    return count;
}

class FormHook : public ProviderTest {
protected:
    FormHook() { Rules = {srStdForms, srStdDialogs, srThirdParty}; }
    // A second visible form, activated.
    TForm* ShowForm(const std::wstring& caption)
    {
        auto* form = Create<TForm>(Application);
        form->SetCaption(caption);
        form->SetBounds(150, 150, 200, 150);
        form->Show();
        SetForegroundWindow(form->Handle());
        testsupport::PumpMessagesUntilIdle(300);
        return form;
    }
    void Activate(HWND wnd)
    {
        SetForegroundWindow(wnd);
        testsupport::PumpMessagesUntilIdle(300);
    }
};

TEST_F(FormHook, FirstActivationGivesTheFormOneProviderOfEachKindOwnedByIt)
{
    // The fixture's form was shown and activated after the skin was loaded.
    ASSERT_NE(DialogsHookHandle(), nullptr);
    EXPECT_EQ(CountOwned<TacProvider>(Form), 1);
    EXPECT_EQ(CountOwned<TsSkinProvider>(Form), 1);
    auto* provider = dynamic_cast<TsSkinProvider*>(reinterpret_cast<TObject*>(SendSkinCmd(Wnd, SkinCmdGetProvider, 0)));
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->Owner(), Form);
    EXPECT_EQ(provider->Form(), Form);
    EXPECT_TRUE(provider->MakeSkinMenu);
    TacProvider* ac = nullptr;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TacProvider*>(Form->Components(i)))
            ac = p;
    ASSERT_NE(ac, nullptr);
    EXPECT_EQ(ac->SkinProvider, provider);
    EXPECT_EQ(ac->DialogHandle, nullptr);
    // Made first, so the form frees the skin provider before it.
    EXPECT_LT(IndexIn(Form, ac), IndexIn(Form, provider));
    ASSERT_NE(ProviderList(), nullptr);
    EXPECT_NE(std::find(ProviderList()->begin(), ProviderList()->end(), ac), ProviderList()->end());
}

TEST_F(FormHook, LaterActivationsAddNothing)
{
    const int before = LiveProviders();
    TForm* other = ShowForm(L"Другая");
    EXPECT_EQ(LiveProviders(), before + 1);
    Activate(Wnd);
    Activate(other->Handle());
    Activate(Wnd);
    EXPECT_EQ(LiveProviders(), before + 1);
    EXPECT_EQ(CountOwned<TacProvider>(Form), 1);
    EXPECT_EQ(CountOwned<TsSkinProvider>(Form), 1);
    EXPECT_EQ(CountOwned<TsSkinProvider>(other), 1);
    EXPECT_FALSE(AdaptActivatedWindow(Wnd));
    Free(other);
}

TEST_F(FormHook, FormsCaptionedCalculatorOrMgnAreNeverSkinned)
{
    for (const wchar_t* caption : {L"Calculator", L"Mgn"}) {
        TForm* form = ShowForm(caption);
        EXPECT_EQ(CountOwned<TacProvider>(form), 0) << testsupport::Narrow(caption);
        EXPECT_EQ(CountOwned<TsSkinProvider>(form), 0);
        EXPECT_FALSE(AdaptActivatedWindow(form->Handle()));
        Free(form);
    }
    // The test is exact: another caption is skinned.
    TForm* form = ShowForm(L"calculator");
    EXPECT_EQ(CountOwned<TsSkinProvider>(form), 1);
    Free(form);
}

TEST_F(FormHook, FormsNeedTheStandardFormsRule)
{
    Manager->SkinningRules = {srStdDialogs, srThirdParty};
    TForm* form = ShowForm(L"Без правила");
    EXPECT_EQ(CountOwned<TacProvider>(form), 0);
    Manager->SkinningRules = {srStdForms};
    EXPECT_TRUE(AdaptActivatedWindow(form->Handle()));
    EXPECT_EQ(CountOwned<TsSkinProvider>(form), 1);
    Free(form);
}

TEST_F(FormHook, TheApplicationWindowIsNeverSkinned)
{
    HWND app = Application->Handle();
    ASSERT_EQ(GetWndClassName(app), L"TApplication");
    EXPECT_FALSE(AdaptActivatedWindow(app));
    EXPECT_EQ(FindProviderByHandle(app), nullptr);
}

TEST_F(FormHook, AFormWithoutAWindowIsNotGivenOneByTheSearch)
{
    auto* hidden = Create<TForm>(Application);
    TForm* shown = ShowForm(L"Видимая");
    EXPECT_EQ(FindFormByHandle(shown->Handle()), shown);
    EXPECT_EQ(FindFormByHandle(Application->Handle()), nullptr);
    EXPECT_FALSE(hidden->HandleAllocated());
    Free(shown);
    Free(hidden);
}

TEST_F(FormHook, FreeingTheFormClearsItsSlot)
{
    TForm* form = ShowForm(L"Уходит");
    const int before = LiveProviders();
    Free(form);
    EXPECT_EQ(LiveProviders(), before - 1);
    for (TObject* object : *ProviderList()) {
        if (auto* p = dynamic_cast<TacProvider*>(object)) {
            EXPECT_NE(p->Owner(), form);
        }
    }
}

TEST_F(FormHook, RemovingTheManagerFreesWhatTheHookMade)
{
    TForm* form = ShowForm(L"Вторая");
    ASSERT_EQ(CountOwned<TacProvider>(form), 1);
    FreeAndNil(Manager);
    EXPECT_EQ(DialogsHookHandle(), nullptr);
    EXPECT_EQ(ProviderList(), nullptr);
    EXPECT_TRUE(MenuWnds().empty());
    EXPECT_EQ(CountOwned<TacProvider>(Form), 0);
    EXPECT_EQ(CountOwned<TacProvider>(form), 0);
    // With no manager, activation adapts nothing.
    Activate(form->Handle());
    Activate(Wnd);
    EXPECT_EQ(CountOwned<TacProvider>(form), 0);
    EXPECT_FALSE(AdaptActivatedWindow(form->Handle()));
    Free(form);
}

} // namespace
