// The skinned tab strip read from form data: its tabs, its place, its section and the index that was
// only stored while the form was read.
#include "tests/skin_controls/tabs_support.h"

#include "framework/FormData.h"
#include "skin/controls/sTabControl.h"
#include "skin/controls/sUpDown.h"
#include "skin/core/sCommonData.h"

#include <commctrl.h>

namespace {

class TTabsForm : public TForm {
    DECLARE_CLASS_NAME(TTabsForm)
public:
    explicit TTabsForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"TabsChange", this, &TTabsForm::TabsChange);
        b.Field(L"Tabs", &Tabs);
    }
    void TabsChange(TObject*) { Changes.push_back(Tabs->TabIndex()); }
    TsTabControl* Tabs = nullptr;
    std::vector<int> Changes;
};

TTabsForm* ReadTabsForm()
{
    RegisterUpDownClasses();
    RegisterTabControlClasses();
    RegisterClass<TTabsForm>(L"TTabsForm", L"TForm");
    auto* form = Create<TTabsForm>(Application);
    form->Show();
    testsupport::PumpMessagesUntilIdle(300);
    return form;
}

class TabFormData : public SkinnedControlsTest {};
class TabFormDataUnskinned : public UnskinnedControlsTest {};

void ExpectReadAsWritten(TTabsForm* form)
{
    ASSERT_NE(form->Tabs, nullptr);
    TsTabControl* tabs = form->Tabs;
    ASSERT_EQ(tabs->Tabs()->GetCount(), 3);
    EXPECT_EQ(tabs->Tabs()->Get(2), L"Избранное");
    EXPECT_EQ(tabs->TabPosition(), tpBottom);
    EXPECT_EQ(tabs->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_FALSE(tabs->ParentBiDiMode());
    EXPECT_EQ(tabs->SkinData()->SkinSection(), L"PAGECONTROL");
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(form->Changes.empty());
}

} // namespace

TEST_F(TabFormData, TheStripIsReadWithItsTabsIndexAndSection)
{
    TTabsForm* form = ReadTabsForm();
    EXPECT_TRUE(form->Tabs->Skinned());
    ExpectReadAsWritten(form);
    Free(form);
}

TEST_F(TabFormDataUnskinned, TheStripIsReadWithItsTabsAndIndex)
{
    TTabsForm* form = ReadTabsForm();
    EXPECT_FALSE(form->Tabs->Skinned());
    ExpectReadAsWritten(form);
    Free(form);
}

namespace {

struct SideCase {
    TTabPosition position;
    bool mirrored;
    bool onTheRight;
};

class TabSides : public SkinnedControlsTest, public ::testing::WithParamInterface<SideCase> {
protected:
    TsTabControl* MakeTabs()
    {
        const SideCase c = GetParam();
        TsTabControl* tabs =
            c.mirrored ? Create<skincontrols::TRightToLeft<TsTabControl>>(Form) : Create<TsTabControl>(Form);
        tabs->SetTabPosition(c.position);
        tabs->SetParent(Form);
        tabs->Tabs()->Add(L"Супы");
        tabs->Tabs()->Add(L"Салаты");
        return tabs;
    }
};

} // namespace

TEST_P(TabSides, RightToLeftAlignmentSwapsTheSideTheTabsStandOn)
{
    const SideCase c = GetParam();
    TsTabControl* tabs = MakeTabs();
    EXPECT_EQ(tabs->Tabs()->Get(1), L"Салаты"); // captions read back under either reading order
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(tabs->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & TCS_VERTICAL);
    EXPECT_EQ((style & TCS_RIGHT) != 0, c.onTheRight);
    RECT r{};
    SendMessageW(tabs->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left > tabs->Width() / 2, c.onTheRight);
}

// The painted tabs, the page beside them, the point query and the click all keep to the side the
// system's control stands its tabs on.
TEST_P(TabSides, TabsPageAndHitTestsKeepToOneSide)
{
    const SideCase c = GetParam();
    TsTabControl* tabs = MakeTabs();
    tabs->SetBounds(10, 10, 300, 200);
    const auto pixels = PaintedPixels(tabs);
    const int current = tabs->CurrentPosition();
    const int other = 1 - current;
    ASSERT_EQ(tabs->TabInfos().size(), 2u);
    const TRect r = tabs->GetTabRect(other);
    const TPoint centre{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    EXPECT_EQ(centre.X > tabs->Width() / 2, c.onTheRight);
    EXPECT_GT(CountColor(pixels, r, tabskin::kTabNormal), r.Width() * r.Height() / 2);
    EXPECT_EQ(pixels.At(c.onTheRight ? 20 : tabs->Width() - 20, tabs->Height() / 2), tabskin::kPage);
    const int tab = tabs->TabInfos()[static_cast<size_t>(other)].TabIndex;
    EXPECT_EQ(tabs->TabIndexAtPoint(centre.X, centre.Y), tab);
    SendMessageW(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.X, centre.Y));
    SendMessageW(tabs->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(centre.X, centre.Y));
    EXPECT_EQ(tabs->TabIndex(), tab);
}

INSTANTIATE_TEST_SUITE_P(Positions, TabSides,
                         ::testing::Values(SideCase{tpLeft, false, false}, SideCase{tpRight, false, true},
                                           SideCase{tpLeft, true, true}, SideCase{tpRight, true, false}));
