// The aligning panel: children scale with the panel without drifting, minimum sizes hold, a windowed
// child added at run time switches aligning off while a label is placed at the next resize, labels stay
// glued, and the errors of its settings.
#include "tests/app/widgets_support.h"

#include "framework/StdCtrls.h"
#include "widgets/AlPanel.h"

#include <string>
#include <vector>

namespace {

class AligningPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = MakeHostForm(900, 700, clBtnFace);
        panel = Create<TAligningPanel>(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 400, 300);
        panel->HandleNeeded();
    }
    void TearDown() override
    {
        Free(form);
        PumpApplication();
    }
    template <class T>
    T* Child(int left, int top, int width, int height)
    {
        auto* c = Create<T>(form);
        c->SetParent(panel);
        c->SetBounds(left, top, width, height);
        return c;
    }
    void Resize(int width, int height) { panel->SetBounds(0, 0, width, height); }

    TForm* form = nullptr;
    TAligningPanel* panel = nullptr;
};

} // namespace

TEST_F(AligningPanel, GrowingTwiceAsWideMovesChildrenTwiceAsFarAndShrinkingReturnsThemExactly)
{
    auto* a = Child<TPanel>(100, 30, 50, 20);
    auto* b = Child<TLabel>(33, 77, 40, 13);
    panel->SetAligningActive(true);
    Resize(800, 300);
    EXPECT_EQ(a->Left(), 200);
    EXPECT_EQ(b->Left(), 66);
    EXPECT_EQ(a->Top(), 30);
    Resize(400, 300);
    EXPECT_EQ(a->Left(), 100);
    EXPECT_EQ(b->Left(), 33);
    EXPECT_EQ(a->Width(), 50); // sizes stay without SizePanelsBevels
}

TEST_F(AligningPanel, RepeatedUnevenResizingDoesNotDrift)
{
    auto* a = Child<TLabel>(33, 77, 40, 13);
    auto* b = Child<TLabel>(101, 151, 40, 13);
    panel->SetAligningActive(true);
    const int sizes[][2] = {{533, 311}, {419, 277}, {777, 333}, {401, 299}, {612, 487}};
    for (int round = 0; round < 4; ++round)
        for (const auto& size : sizes)
            Resize(size[0], size[1]);
    Resize(400, 300);
    EXPECT_EQ(a->Left(), 33);
    EXPECT_EQ(a->Top(), 77);
    EXPECT_EQ(b->Left(), 101);
    EXPECT_EQ(b->Top(), 151);
}

TEST_F(AligningPanel, ChildAtZeroStaysAtZero)
{
    auto* a = Child<TLabel>(0, 0, 40, 13);
    panel->SetAligningActive(true);
    Resize(800, 600);
    Resize(300, 200);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Top(), 0);
}

TEST_F(AligningPanel, BelowTheMinimumChildrenStayWhereTheyWereAtTheMinimum)
{
    auto* a = Child<TLabel>(100, 100, 40, 13);
    panel->SetMinWidth(300);
    panel->SetMinHeight(200);
    panel->SetAligningActive(true);
    Resize(200, 100);
    EXPECT_EQ(a->Left(), 75);
    EXPECT_EQ(a->Top(), 67); // 100 * 200 / 300, rounded
    Resize(250, 150);
    EXPECT_EQ(a->Left(), 75);
    EXPECT_EQ(a->Top(), 67);
    Resize(600, 400);
    EXPECT_EQ(a->Left(), 150);
    EXPECT_EQ(a->Top(), 133);
}

TEST_F(AligningPanel, PanelsAndBevelsAreSizedOnlyWhenAsked)
{
    auto* inner = Child<TPanel>(40, 40, 100, 50);
    auto* label = Child<TLabel>(200, 40, 60, 13);
    panel->SetSizePanelsBevels(true);
    panel->SetAligningActive(true);
    Resize(800, 600);
    EXPECT_EQ(inner->Width(), 200);
    EXPECT_EQ(inner->Height(), 100);
    EXPECT_EQ(label->Left(), 400);
    EXPECT_EQ(label->Width(), 60);
}

TEST_F(AligningPanel, WithoutVerticalMovingTopsStay)
{
    auto* a = Child<TLabel>(100, 100, 40, 13);
    panel->SetMoveVerticaly(false);
    panel->SetAligningActive(true);
    Resize(800, 600);
    EXPECT_EQ(a->Left(), 200);
    EXPECT_EQ(a->Top(), 100);
}

TEST_F(AligningPanel, GluedLabelKeepsItsDistanceFromItsControl)
{
    auto* edit = Child<TEdit>(100, 100, 120, 21);
    auto* label = Child<TLabel>(30, 84, 60, 13);
    label->SetFocusControl(edit);
    panel->SetGlueLabels(true);
    panel->SetAligningActive(true);
    Resize(800, 600);
    EXPECT_EQ(edit->Left(), 200);
    EXPECT_EQ(edit->Top(), 200);
    EXPECT_EQ(label->Left(), 200 - 70);
    EXPECT_EQ(label->Top(), 200 - 16);
}

TEST_F(AligningPanel, WindowedChildAddedAtRunTimeSwitchesAligningOffUntilSetAgain)
{
    auto* a = Child<TLabel>(100, 100, 40, 13);
    panel->SetAligningActive(true);
    EXPECT_EQ(panel->RecordCount(), 1);
    auto* late = Child<TPanel>(50, 50, 40, 13);
    EXPECT_FALSE(panel->AligningActive());
    Resize(800, 600);
    EXPECT_EQ(a->Left(), 100);
    EXPECT_EQ(late->Left(), 50);
    panel->SetAligningActive(true);
    EXPECT_EQ(panel->RecordCount(), 2);
    Resize(400, 300);
    EXPECT_EQ(a->Left(), 50);
    EXPECT_EQ(late->Left(), 25);
}

TEST_F(AligningPanel, SwitchedOffAndOnAgainItScalesFromTheSizeOfItsLastScaling)
{
    auto* a = Child<TLabel>(100, 100, 40, 13);
    panel->SetAligningActive(true);
    Resize(800, 600);
    ASSERT_EQ(a->Left(), 200);
    panel->SetAligningActive(false);
    Resize(600, 450);
    panel->SetAligningActive(true);
    // The child still stands where the layout of 800 x 600 put it: at that size again it stays there.
    Resize(800, 600);
    EXPECT_EQ(a->Left(), 200);
    EXPECT_EQ(a->Top(), 200);
}

TEST_F(AligningPanel, WindowedChildRemovedAtRunTimeSwitchesAligningOff)
{
    Child<TLabel>(100, 100, 40, 13);
    auto* b = Child<TPanel>(10, 10, 40, 13);
    panel->SetAligningActive(true);
    Free(b);
    EXPECT_FALSE(panel->AligningActive());
}

// A label has no window to announce itself: aligning stays on, and the next resize measures every child
// anew, the late label among them.
TEST_F(AligningPanel, LabelAddedAtRunTimeIsPlacedAtTheNextResize)
{
    auto* a = Child<TPanel>(100, 100, 40, 13);
    panel->SetAligningActive(true);
    auto* late = Child<TLabel>(50, 60, 40, 13);
    EXPECT_TRUE(panel->AligningActive());
    Resize(800, 600);
    EXPECT_EQ(panel->RecordCount(), 2);
    EXPECT_EQ(a->Left(), 200);
    EXPECT_EQ(late->Left(), 100);
    EXPECT_EQ(late->Top(), 120);
    Free(late);
    EXPECT_TRUE(panel->AligningActive());
    Resize(400, 300);
    EXPECT_EQ(panel->RecordCount(), 1);
    EXPECT_EQ(a->Left(), 100);
}

TEST_F(AligningPanel, SettingsCannotChangeWhileAligningIsActive)
{
    panel->SetAligningActive(true);
    const std::vector<std::function<void()>> changes = {
        [&] { panel->SetGlueLabels(true); }, [&] { panel->SetSizePanelsBevels(true); },
        [&] { panel->SetMoveHorizontaly(false); }, [&] { panel->SetMoveVerticaly(false); }};
    for (const auto& change : changes) {
        try {
            change();
            ADD_FAILURE() << "no error";
        } catch (const ECannotAssignToActive& e) {
            EXPECT_EQ(e.Message(), L"Cannot assign when AligningActive");
        }
    }
    EXPECT_FALSE(panel->GlueLabels());
    EXPECT_TRUE(panel->MoveHorizontaly());
    panel->SetGlueLabels(false); // no change, no error
    panel->SetAligningActive(false);
    panel->SetGlueLabels(true);
    EXPECT_TRUE(panel->GlueLabels());
}

TEST_F(AligningPanel, MoreThan2047ChildrenAreTooMany)
{
    for (int i = 0; i < TAligningPanel::kMaxControls + 1; ++i)
        Child<TBevel>(i % 300, i % 200, 2, 2);
    try {
        panel->SetAligningActive(true);
        ADD_FAILURE() << "no error";
    } catch (const ETooManyControls& e) {
        EXPECT_EQ(e.Message(), L"Too many controls to handle");
    }
    EXPECT_FALSE(panel->AligningActive());
}

TEST_F(AligningPanel, FormDataSwitchesAligningOnAfterEveryChildIsRead)
{
    const std::string data = "object P: TAligningPanel\n"
                             "  Width = 400\n  Height = 300\n  AligningActive = True\n  MinWidth = 120\n"
                             "  object L1: TLabel\n    Left = 100\n    Top = 100\n  end\n"
                             "  object L2: TLabel\n    Left = 200\n    Top = 10\n  end\n"
                             "end\n";
    auto* loaded = Create<TAligningPanel>(form);
    TFormReader reader(loaded, L"panel.form");
    reader.Read(ParseFormData(data, L"panel.form"));
    EXPECT_TRUE(loaded->AligningActive());
    EXPECT_EQ(loaded->RecordCount(), 2);
    EXPECT_EQ(loaded->MinWidth(), 120);

    auto* plain = Create<TAligningPanel>(form);
    TFormReader plainReader(plain, L"plain.form");
    plainReader.Read(ParseFormData("object Q: TAligningPanel\n  Width = 50\nend\n", L"plain.form"));
    EXPECT_FALSE(plain->AligningActive());
}
