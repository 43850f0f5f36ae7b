// The skinned splitter: normal, hot and pressed looks, the focused splitter that ignores the mouse,
// the application's hints during drags, collapsed neighbours snapped back, skin changes, and the plain
// splitter without a manager.
#include "tests/skin_controls/bars_support.h"

#include "framework/ExtCtrls.h"
#include "framework/FormData.h"
#include "skin/controls/sSplitter.h"

namespace {

using namespace barskin;

class Splitter : public BarsTest {
protected:
    void SetUp() override
    {
        BarsTest::SetUp();
        Application->SetShowHint(true);
    }
    void TearDown() override
    {
        Application->SetShowHint(true);
        BarsTest::TearDown();
    }
    // A left-aligned panel and a splitter beside it.
    TsSplitter* MakeSplitter(TResizeStyle style = rsUpdate)
    {
        Neighbour = Create<TPanel>(Form);
        Neighbour->SetAlign(alLeft);
        Neighbour->SetWidth(120);
        Neighbour->SetParent(Form);
        auto* splitter = Create<TsSplitter>(Form);
        splitter->SetResizeStyle(style);
        splitter->SetLeft(130);
        splitter->SetParent(Form);
        Form->Show();
        testsupport::PumpMessagesUntilIdle(500);
        return splitter;
    }
    COLORREF Middle(TsSplitter* s) { return Shot().At(s->Left() + s->Width() / 2, s->Top() + s->Height() / 2); }
    static void Press(TsSplitter* s) { s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 20)); }
    static void Release(TsSplitter* s) { s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 20)); }

    TPanel* Neighbour = nullptr;
};

} // namespace

TEST_F(Splitter, PaintsItsSectionInTheNormalLook)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    EXPECT_EQ(s->Width(), 6);
    ASSERT_TRUE(s->SkinData()->Skinned());
    EXPECT_EQ(Middle(s), kSplitterColors[0]);
    EXPECT_EQ(s->SkinData()->CacheBmp(), nullptr); // the cache lives for one paint only
}

TEST_F(Splitter, TheMouseOverItMakesItHotAndLeavingMakesItNormal)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    s->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Middle(s), kSplitterColors[1]);
    s->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Middle(s), kSplitterColors[0]);
}

TEST_F(Splitter, AFocusedSplitterKeepsItsLookWhenTheMouseComesAndGoes)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    s->SkinData()->FFocused = true;
    const COLORREF focused = Middle(s);
    s->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Middle(s), focused);
    s->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Middle(s), focused);
}

TEST_F(Splitter, ALiveDragPaintsPressedUntilRelease)
{
    MakeManager();
    TsSplitter* s = MakeSplitter(rsUpdate);
    s->Perform(CM_MOUSEENTER);
    Press(s);
    EXPECT_TRUE(s->Dragging());
    EXPECT_EQ(Middle(s), kSplitterColors[2]);
    Release(s);
    EXPECT_FALSE(s->Dragging());
    EXPECT_EQ(Middle(s), kSplitterColors[1]);
}

TEST_F(Splitter, ALineDragNeverPaintsPressed)
{
    MakeManager();
    TsSplitter* s = MakeSplitter(rsLine);
    Press(s);
    EXPECT_TRUE(s->Dragging());
    const COLORREF during = Middle(s);
    Release(s);
    EXPECT_NE(during, kSplitterColors[2]);
    EXPECT_EQ(Middle(s), kSplitterColors[0]);
}

TEST_F(Splitter, EachDragGivesTheApplicationItsHintsBack)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    for (int i = 0; i < 2; ++i) {
        Press(s);
        EXPECT_FALSE(Application->ShowHint()) << i;
        Release(s);
        EXPECT_TRUE(Application->ShowHint()) << i;
    }
}

TEST_F(Splitter, ADragThatStartsWhileAnotherHoldsTheHintsKeepsTheFirstSavedValue)
{
    MakeManager();
    TsSplitter* first = MakeSplitter();
    auto* second = Create<TsSplitter>(Form);
    second->SetAlign(alRight);
    second->SetParent(Form);
    Press(first);
    Application->SetShowHint(false);
    Press(second);
    Release(second);
    EXPECT_TRUE(Application->ShowHint());
    Release(first);
    EXPECT_TRUE(Application->ShowHint());
}

TEST_F(Splitter, AReleaseWithoutAPressLeavesTheHintsAlone)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    Press(s);
    Release(s);
    Application->SetShowHint(true);
    Release(s);
    EXPECT_TRUE(Application->ShowHint());
    Application->SetShowHint(false);
    Release(s);
    EXPECT_FALSE(Application->ShowHint());
}

TEST_F(Splitter, ACollapsedPanelAboveATopSplitterMovesToTheSplitterWhenADragStarts)
{
    MakeManager();
    auto* top = Create<TPanel>(Form);
    top->SetAlign(alNone);
    top->SetBounds(0, 0, 100, 0);
    top->SetParent(Form);
    auto* s = Create<TsSplitter>(Form);
    s->SetAlign(alTop);
    s->SetParent(Form);
    s->SetTop(50);
    Form->Show();
    testsupport::PumpMessagesUntilIdle(300);
    const int splitterTop = s->Top();
    Press(s);
    EXPECT_EQ(top->Top(), splitterTop);
    Release(s);
}

TEST_F(Splitter, ASkinChangeRepaintsIt)
{
    MakeManager();
    TsSplitter* s = MakeSplitter();
    EXPECT_EQ(Middle(s), kSplitterColors[0]);
    Manager->SetActive(false);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_NE(Middle(s), kSplitterColors[0]);
    Manager->SetActive(true);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(Middle(s), kSplitterColors[0]);
}

TEST_F(Splitter, WithoutAManagerItPaintsLikeThePlainSplitter)
{
    TsSplitter* s = MakeSplitter();
    s->SetColor(clRed);
    EXPECT_FALSE(s->SkinData()->Skinned());
    EXPECT_EQ(Middle(s), RGB(255, 0, 0));
}

TEST_F(Splitter, ADragStillResizesTheNeighbour)
{
    MakeManager();
    TsSplitter* s = MakeSplitter(rsUpdate);
    const int before = Neighbour->Width();
    Press(s);
    s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32, 20));
    Release(s);
    EXPECT_EQ(Neighbour->Width(), before + 30);
}

TEST_F(Splitter, FormDataNamesTheSplitter)
{
    RegisterSkinSplitterClasses();
    const char* text = "object Root: TForm\n"
                       "  object Split: TsSplitter\n"
                       "    Width = 4\n"
                       "    ResizeStyle = rsUpdate\n"
                       "    SkinData.SkinSection = 'SPLITTER'\n"
                       "  end\n"
                       "end\n";
    TFormReader(Form, L"split.form").Read(ParseFormData(text, L"split.form"));
    auto* s = dynamic_cast<TsSplitter*>(Form->FindComponent(L"Split"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 4);
    EXPECT_EQ(s->SkinData()->SkinSection(), L"SPLITTER");
}
