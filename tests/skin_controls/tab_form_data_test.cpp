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

class TabSides : public SkinnedControlsTest, public ::testing::WithParamInterface<SideCase> {};

} // namespace

TEST_P(TabSides, RightToLeftAlignmentSwapsTheSideTheTabsStandOn)
{
    const SideCase c = GetParam();
    TsTabControl* tabs =
        c.mirrored ? Create<skincontrols::TRightToLeft<TsTabControl>>(Form) : Create<TsTabControl>(Form);
    tabs->SetTabPosition(c.position);
    tabs->SetParent(Form);
    tabs->Tabs()->Add(L"Супы");
    tabs->Tabs()->Add(L"Салаты");
    EXPECT_EQ(tabs->Tabs()->Get(1), L"Салаты"); // captions read back under either reading order
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(tabs->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & TCS_VERTICAL);
    EXPECT_EQ((style & TCS_RIGHT) != 0, c.onTheRight);
    RECT r{};
    SendMessageW(tabs->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left > tabs->Width() / 2, c.onTheRight);
}

INSTANTIATE_TEST_SUITE_P(Positions, TabSides,
                         ::testing::Values(SideCase{tpLeft, false, false}, SideCase{tpRight, false, true},
                                           SideCase{tpLeft, true, true}, SideCase{tpRight, true, false}));
