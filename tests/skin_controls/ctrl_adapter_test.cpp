// The control adapter chooser on a form with a provider: which framework controls it adapts, the user's
// refusal, controls already skinned, class names, and giving everything back when it goes.
#include "tests/skin_controls/adapters_support.h"

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/acEditAdapters.h"
#include "skin/forms/acSimpleAdapters.h"

using namespace adaptertest;

namespace {

// Outside components known to the chooser by class name only.
class TSynEdit : public TCustomEdit {
    DECLARE_CLASS_NAME(TSynEdit)
public:
    using TCustomEdit::TCustomEdit;
};
class TSynEditPlus : public TCustomEdit {
    DECLARE_CLASS_NAME(TSynEditPlus)
public:
    using TCustomEdit::TCustomEdit;
};
class TSynEditor : public TCustomControl {
    DECLARE_CLASS_NAME(TSynEditor)
public:
    using TCustomControl::TCustomControl;
};
class TSynMemo : public TCustomControl {
    DECLARE_CLASS_NAME(TSynMemo)
public:
    using TCustomControl::TCustomControl;
};

// A bit button of the program's own kind: the chooser knows it only as a bit button.
class TRecipeBitBtn : public TBitBtn {
    DECLARE_CLASS_NAME(TRecipeBitBtn)
public:
    using TBitBtn::TBitBtn;
};

class CtrlAdapterTest : public AdapterTest {
protected:
    void SetUp() override
    {
        AdapterTest::SetUp();
        Form = Create<TForm>(Application);
        Form->SetBounds(60, 60, 420, 300);
        Memo = Place(Create<TMemo>(Form), 10, 10);
        ListBox = Place(Create<TListBox>(Form), 10, 80);
        ListView = Place(Create<TListView>(Form), 200, 10);
        Panel = Place(Create<TPanel>(Form), 200, 150);
        Label = Create<TLabel>(Form);
        Label->SetParent(Form);
        Label->Font()->SetColor(RGB(1, 2, 3));
        Form->Show();
        Provider = Create<TsSkinProvider>(Form);
        Chooser = std::make_unique<TacCtrlAdapter>(Provider);
    }
    void TearDown() override
    {
        Chooser.reset();
        Free(Form);
        AdapterTest::TearDown();
    }
    template <class T>
    T* Place(T* control, int x, int y)
    {
        control->SetParent(Form);
        control->SetBounds(x, y, 150, 60);
        return control;
    }

    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
    TListBox* ListBox = nullptr;
    TListView* ListView = nullptr;
    TPanel* Panel = nullptr;
    TLabel* Label = nullptr;
    TsSkinProvider* Provider = nullptr;
    std::unique_ptr<TacCtrlAdapter> Chooser;
};

TEST_F(CtrlAdapterTest, ScanAdaptsEditsListBoxesAndListViewsAndLeavesPanelsAlone)
{
    Chooser->AddAllItems(nullptr);
    EXPECT_EQ(Chooser->Count(), 3);
    EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(Memo->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(ListBox->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TacListViewWnd*>(AdapterOfWindow(ListView->Handle())), nullptr);
    EXPECT_EQ(AdapterOfWindow(Panel->Handle()), nullptr);
    EXPECT_TRUE(Label->Transparent());
    EXPECT_EQ(Label->Font()->Color(), static_cast<TColor>(GetGlobalFontColor(Manager)));
}

TEST_F(CtrlAdapterTest, WithoutTheThirdPartyRuleNothingIsAdaptedAndLabelsStayAsTheyWere)
{
    Manager->SkinningRules = {srStdForms, srStdDialogs};
    Chooser->AddAllItems(nullptr);
    EXPECT_EQ(Chooser->Count(), 0);
    EXPECT_EQ(AdapterOfWindow(Memo->Handle()), nullptr);
    EXPECT_EQ(Label->Font()->Color(), static_cast<TColor>(RGB(1, 2, 3)));
}

TEST_F(CtrlAdapterTest, RefusedControlStaysUnadaptedAndUnlisted)
{
    Provider->OnSkinItem = [this](TControl* control, bool& canBeAdded, std::wstring&) {
        if (control == Memo)
            canBeAdded = false;
    };
    Chooser->AddAllItems(nullptr);
    EXPECT_EQ(Chooser->Count(), 2);
    EXPECT_EQ(AdapterOfWindow(Memo->Handle()), nullptr);
}

TEST_F(CtrlAdapterTest, SectionChosenByTheUserIsTaken)
{
    Provider->OnSkinItem = [](TControl*, bool&, std::wstring& section) { section = L"COLHEADER"; };
    Chooser->AddNewItem(Memo);
    ASSERT_EQ(Chooser->Count(), 1);
    EXPECT_EQ(Chooser->GetItem(0)->SkinData->SkinSection(), L"COLHEADER");
}

TEST_F(CtrlAdapterTest, AddingTheSameControlTwiceKeepsOneItem)
{
    Chooser->AddItem(Memo, L"EDIT");
    Chooser->AddItem(Memo, L"EDIT");
    EXPECT_EQ(Chooser->Count(), 1);
    EXPECT_EQ(Chooser->GetItem(1), nullptr);
}

TEST_F(CtrlAdapterTest, ControlAlreadySkinnedIsNeverListed)
{
    auto own = MakeAdapter<TacEditWnd>(Memo->Handle(), false, L"EDIT", Manager, nullptr);
    Chooser->AddItem(Memo, L"EDIT");
    EXPECT_EQ(Chooser->Count(), 0);
    EXPECT_EQ(AdapterOfWindow(Memo->Handle()), own.get());
}

TEST_F(CtrlAdapterTest, ClassNamesAreComparedExactly)
{
    auto* syn = Place(Create<TSynEdit>(Form), 10, 150);
    auto* plus = Place(Create<TSynEditPlus>(Form), 10, 220);
    auto* editor = Place(Create<TSynEditor>(Form), 200, 220);
    auto* synMemo = Place(Create<TSynMemo>(Form), 300, 220);
    EXPECT_TRUE(Chooser->IsAdaptable(syn));
    EXPECT_TRUE(Chooser->IsAdaptable(plus)); // an edit all the same
    EXPECT_FALSE(Chooser->IsAdaptable(editor));
    EXPECT_TRUE(Chooser->IsAdaptable(synMemo));
    Chooser->AddItem(synMemo, L"EDIT");
    EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(synMemo->Handle())), nullptr);
}

TEST_F(CtrlAdapterTest, ControlWithoutAParentIsNotAdaptable)
{
    auto* loose = Create<TMemo>(Form);
    EXPECT_FALSE(Chooser->IsAdaptable(loose));
}

TEST_F(CtrlAdapterTest, ButtonWithoutItsAdapterMakerGetsNoItem)
{
    auto* button = Place(Create<TButton>(Form), 10, 220);
    {
        TacSkinLinks links = SkinLinks();
        links.BtnWnd = nullptr;
        SetSkinLinks(links);
    }
    Chooser->AddItem(button, L"EDIT");
    EXPECT_EQ(Chooser->Count(), 0);
}

// The sections the button makers were given.
std::vector<std::wstring> gButtonSections;

template <class T>
TacAdapterPtr<> MakeButton(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section)
{
    gButtonSections.push_back(section);
    return MakeAdapter<T>(wnd, true, section, manager, data);
}

// Buttons take the button section whatever the user's event chose for them.
TEST_F(CtrlAdapterTest, ButtonsKeepTheButtonSectionWhateverTheUserChose)
{
    TacSkinLinks links = SkinLinks();
    links.BtnWnd = MakeButton<TacBtnWnd>;
    links.BitBtnWnd = MakeButton<TacBitBtnWnd>;
    SetSkinLinks(links);
    gButtonSections.clear();
    auto* button = Place(Create<TButton>(Form), 10, 150);
    auto* bitButton = Place(Create<TBitBtn>(Form), 10, 220);
    Provider->OnSkinItem = [](TControl*, bool&, std::wstring& section) { section = L"COLHEADER"; };
    Chooser->AddItem(button, L"EDIT");
    Chooser->AddItem(bitButton, L"EDIT");
    ASSERT_EQ(Chooser->Count(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Chooser->GetItem(i)->SkinData->SkinSection(), L"BUTTON");
    EXPECT_EQ(gButtonSections, (std::vector<std::wstring>{L"BUTTON", L"BUTTON"}));
    TacMainWnd* plain = AdapterOfWindow(button->Handle());
    EXPECT_TRUE(dynamic_cast<TacBtnWnd*>(plain) && !dynamic_cast<TacBitBtnWnd*>(plain));
    EXPECT_NE(dynamic_cast<TacBitBtnWnd*>(AdapterOfWindow(bitButton->Handle())), nullptr);
}

TEST_F(CtrlAdapterTest, ADescendantOfTheBitButtonGetsTheBitButtonAdapterAndShowsItsGlyph)
{
    TacSkinLinks links = SkinLinks();
    links.BtnWnd = MakeButton<TacBtnWnd>;
    links.BitBtnWnd = MakeButton<TacBitBtnWnd>;
    SetSkinLinks(links);
    constexpr COLORREF kGlyphColor = RGB(0x12, 0xA0, 0x34);
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(10, 10);
    FillDC(glyph.Canvas()->Handle(), TRect{0, 0, 10, 10}, static_cast<TColor>(kGlyphColor));
    SetPixel(glyph.Canvas()->Handle(), 0, 0, RGB(0xFF, 0, 0xFF));
    auto* button = Place(Create<TRecipeBitBtn>(Form), 10, 150);
    button->SetGlyph(&glyph);
    Chooser->AddItem(button, L"EDIT");
    ASSERT_NE(dynamic_cast<TacBitBtnWnd*>(AdapterOfWindow(button->Handle())), nullptr);
    const testsupport::Pixels24 shot = testsupport::DrawnPixels(150, 60, nullptr, [&](HDC dc) {
        SendMessageW(button->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    int glyphPixels = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            glyphPixels += shot.At(x, y) == kGlyphColor ? 1 : 0;
    EXPECT_EQ(glyphPixels, 99);
}

TEST_F(CtrlAdapterTest, FreeingTheChooserGivesEveryControlItsWindowProcBack)
{
    const TWndMethod memoProc = Memo->WindowProc;
    const TWndMethod listProc = ListView->WindowProc;
    Chooser->AddAllItems(nullptr);
    EXPECT_FALSE(Memo->WindowProc == memoProc);
    Chooser.reset();
    EXPECT_TRUE(Memo->WindowProc == memoProc);
    EXPECT_TRUE(ListView->WindowProc == listProc);
    EXPECT_EQ(AdapterOfWindow(Memo->Handle()), nullptr);
}

TEST_F(CtrlAdapterTest, ControlDestroyedWhileAdaptedIsSkippedByBroadcasts)
{
    Chooser->AddAllItems(nullptr);
    Free(Memo);
    Memo = nullptr;
    TMessage message{WM_USER + 7, 0, 0, 0};
    Chooser->BroadcastToItems(message);
    EXPECT_EQ(Chooser->Count(), 3);
}

} // namespace
