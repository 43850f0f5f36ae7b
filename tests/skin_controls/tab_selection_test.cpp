// Choosing tabs: the stored index while skinned, the change notice before the system's selection
// moves, clicks and keys handled by the control itself, the point query, the property rules, and the
// standard behaviour without a skin.
#include "tests/skin_controls/tabs_support.h"

#include "framework/StdCtrls.h"
#include "skin/controls/sTabControl.h"
#include "skin/core/sCommonData.h"

#include <commctrl.h>

namespace {

class TabSelection : public SkinnedControlsTest {
protected:
    TsTabControl* MakeTabs(int count = 3)
    {
        Tabs = Create<TsTabControl>(Form);
        Tabs->SetBounds(10, 10, 400, 120);
        Tabs->SetParent(Form);
        for (int i = 0; i < count; ++i)
            Tabs->Tabs()->Add(L"Раздел " + std::to_wstring(i));
        Tabs->OnChange = [this](TObject*) {
            Changes.push_back(Tabs->TabIndex());
            NativeAtChange.push_back(static_cast<int>(SendMessageW(Tabs->Handle(), TCM_GETCURSEL, 0, 0)));
        };
        testsupport::PumpMessagesUntilIdle(200);
        Tabs->UpdateTabInfos();
        return Tabs;
    }
    TPoint PaintedCentre(int tabIndex)
    {
        for (size_t i = 0; i < Tabs->TabInfos().size(); ++i)
            if (Tabs->TabInfos()[i].TabIndex == tabIndex) {
                const TRect r = Tabs->GetTabRect(static_cast<int>(i));
                return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
            }
        ADD_FAILURE() << "no painted tab " << tabIndex;
        return TPoint{0, 0};
    }
    void Key(WORD key)
    {
        SendMessageW(Tabs->Handle(), WM_KEYDOWN, key, 0);
        SendMessageW(Tabs->Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000000u));
    }
    TsTabControl* Tabs = nullptr;
    std::vector<int> Changes;
    std::vector<int> NativeAtChange;
};

class TabSelectionUnskinned : public UnskinnedControlsTest {};

} // namespace

TEST_F(TabSelection, WithoutTabsTheIndexReadsZero)
{
    MakeTabs(0);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    Tabs->SetTabIndex(3);
    EXPECT_EQ(Tabs->TabIndex(), 0);
}

TEST_F(TabSelection, MinusOneMakesTheFirstTabCurrent)
{
    MakeTabs();
    Tabs->SetTabIndex(2);
    Changes.clear();
    Tabs->SetTabIndex(-1);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    EXPECT_EQ(Changes, std::vector<int>{0});
    Tabs->SetTabIndex(-1);
    EXPECT_EQ(Changes, std::vector<int>{0});
}

TEST_F(TabSelection, TheChangeNoticeSeesTheNewIndexBeforeTheSystemsSelectionMoves)
{
    MakeTabs();
    Tabs->SetTabIndex(0);
    Changes.clear();
    NativeAtChange.clear();
    const int before = static_cast<int>(SendMessageW(Tabs->Handle(), TCM_GETCURSEL, 0, 0));
    Tabs->SetTabIndex(2);
    EXPECT_EQ(Changes, std::vector<int>{2});
    EXPECT_EQ(NativeAtChange, std::vector<int>{before});
    EXPECT_EQ(SendMessageW(Tabs->Handle(), TCM_GETCURSEL, 0, 0), 2);
}

TEST_F(TabSelection, ALeftClickChoosesThePaintedTabAndTakesTheFocus)
{
    MakeTabs();
    std::vector<std::wstring> events;
    Tabs->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(button == mbLeft ? L"down" : L"other");
    };
    Tabs->OnChanging = [&](TObject*, bool&) { events.push_back(L"changing"); };
    const TPoint p = PaintedCentre(2);
    SendMessageW(Tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
    SendMessageW(Tabs->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(Tabs->TabIndex(), 2);
    EXPECT_EQ(Changes, std::vector<int>{2});
    EXPECT_EQ(events, (std::vector<std::wstring>{L"down", L"changing"}));
    EXPECT_EQ(GetFocus(), Tabs->Handle());
}

TEST_F(TabSelection, ARefusedChangeKeepsTheTab)
{
    MakeTabs();
    Tabs->OnChanging = [](TObject*, bool& allow) { allow = false; };
    const TPoint p = PaintedCentre(1);
    SendMessageW(Tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
    SendMessageW(Tabs->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
    Key(VK_END);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(TabSelection, TheTabAtAPointIsMinusOneOffTheTabs)
{
    MakeTabs();
    RECT r{};
    SendMessageW(Tabs->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(Tabs->TabIndexAtPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), 1);
    EXPECT_EQ(Tabs->TabIndexAtPoint(200, 100), -1);
    EXPECT_EQ(Tabs->TabIndexAtPoint(-5, 5), -1);
    EXPECT_EQ(Tabs->TabIndexAtPoint(5, 500), -1);
}

TEST_F(TabSelection, HomeChoosesTheFirstTabAndRightWrapsAroundFromTheLast)
{
    MakeTabs();
    Tabs->SetTabIndex(2);
    Changes.clear();
    Key(VK_HOME);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    Key(VK_LEFT);
    EXPECT_EQ(Tabs->TabIndex(), 2);
    Key(VK_RIGHT);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(Tabs->TabIndex(), 2);
    EXPECT_EQ(Changes, (std::vector<int>{0, 2, 0, 2}));
}

TEST_F(TabSelection, SideTabsAlwaysComeInRows)
{
    MakeTabs();
    Tabs->SetTabPosition(tpLeft);
    EXPECT_TRUE(Tabs->MultiLine());
    EXPECT_EQ(Tabs->Tabs()->GetCount(), 3);
    EXPECT_THROW(Tabs->SetMultiLine(false), EListError);
    EXPECT_TRUE(Tabs->MultiLine());
    EXPECT_THROW(Tabs->SetStyle(tsButtons), EInvalidOperation);
    EXPECT_THROW(Tabs->SetTabWidth(-1), EInvalidOperation);
    // Side tabs are chosen with the up and down keys.
    Key(VK_DOWN);
    EXPECT_EQ(Tabs->TabIndex(), 1);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Tabs->TabIndex(), 2);
}

TEST_F(TabSelection, TheStoredIndexOutlivesARebuildAndTheSystemsSelectionFollowsIt)
{
    MakeTabs();
    Tabs->SetTabIndex(2);
    Tabs->Tabs()->Clear();
    for (int i = 0; i < 3; ++i)
        Tabs->Tabs()->Add(L"Раздел " + std::to_wstring(i));
    EXPECT_EQ(Tabs->TabIndex(), 2);
    Tabs->SetTabIndex(2);
    EXPECT_EQ(SendMessageW(Tabs->Handle(), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Changes, std::vector<int>{2});
}

TEST_F(TabSelection, TheTabsAndTheIndexSurviveANewWindow)
{
    MakeTabs();
    Tabs->SetTabIndex(1);
    Tabs->SetTabPosition(tpBottom);
    EXPECT_EQ(Tabs->Tabs()->GetCount(), 3);
    EXPECT_EQ(Tabs->Tabs()->Get(2), L"Раздел 2");
    EXPECT_EQ(Tabs->TabIndex(), 1);
    EXPECT_TRUE(GetWindowLongPtrW(Tabs->Handle(), GWL_STYLE) & TCS_BOTTOM);
}

// The system's control takes its focus style only when it is made: a new tab stop makes it again.
TEST_F(TabSelection, ATabStopChangeReachesTheSystemsControl)
{
    MakeTabs();
    Tabs->SetTabIndex(1);
    EXPECT_FALSE(GetWindowLongPtrW(Tabs->Handle(), GWL_STYLE) & TCS_FOCUSNEVER);
    Tabs->SetTabStop(false);
    EXPECT_TRUE(GetWindowLongPtrW(Tabs->Handle(), GWL_STYLE) & TCS_FOCUSNEVER);
    EXPECT_EQ(Tabs->Tabs()->GetCount(), 3);
    EXPECT_EQ(Tabs->TabIndex(), 1);
    Tabs->SetTabStop(true);
    EXPECT_FALSE(GetWindowLongPtrW(Tabs->Handle(), GWL_STYLE) & TCS_FOCUSNEVER);
}

// A focused strip is hot already: the pointer coming over it adds nothing.
TEST_F(TabSelection, ThePointerMakesOnlyAnUnfocusedStripHot)
{
    MakeTabs();
    Tabs->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Tabs->SkinData()->FMouseAbove);
    Tabs->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(Tabs->SkinData()->FMouseAbove);
    SetForegroundWindow(Form->Handle());
    Tabs->SetFocus();
    ASSERT_TRUE(Tabs->Focused());
    Tabs->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(Tabs->SkinData()->FMouseAbove);
}

TEST_F(TabSelectionUnskinned, TheIndexIsTheSystemsAndAChangeIsAnnounced)
{
    auto* tabs = Create<TsTabControl>(Form);
    tabs->SetParent(Form);
    EXPECT_EQ(tabs->TabIndex(), -1);
    for (const wchar_t* name : {L"а", L"б", L"в"})
        tabs->Tabs()->Add(name);
    int changes = 0;
    tabs->OnChange = [&](TObject*) { ++changes; };
    tabs->SetTabIndex(2);
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
}

// Rebuilding the tabs resets the system's selection; choosing the same tab again brings the selection
// back without a second change notice.
TEST_F(TabSelectionUnskinned, TheSameIndexAfterARebuildSelectsTheTabAgainQuietly)
{
    auto* tabs = Create<TsTabControl>(Form);
    tabs->SetParent(Form);
    for (const wchar_t* name : {L"а", L"б", L"в"})
        tabs->Tabs()->Add(name);
    int changes = 0;
    tabs->OnChange = [&](TObject*) { ++changes; };
    tabs->SetTabIndex(2);
    tabs->Tabs()->Clear();
    for (const wchar_t* name : {L"а", L"б", L"в"})
        tabs->Tabs()->Add(name);
    tabs->SetTabIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(TabSelectionUnskinned, TabsAddedBeforeTheControlHasAParentArriveWithItsWindow)
{
    auto* tabs = Create<TsTabControl>(Form);
    tabs->Tabs()->Add(L"а");
    tabs->Tabs()->Add(L"б");
    tabs->SetTabIndex(1);
    tabs->SetParent(Form);
    tabs->HandleNeeded();
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(tabs->Tabs()->Get(1), L"б");
    EXPECT_EQ(tabs->TabIndex(), 1);
}

TEST_F(TabSelection, AnAcceleratorChoosesItsTab)
{
    MakeTabs();
    Tabs->Tabs()->Put(1, L"&Выпечка");
    EXPECT_EQ(Tabs->Perform(CM_DIALOGCHAR, L'в'), 1);
    EXPECT_EQ(Tabs->TabIndex(), 1);
    EXPECT_EQ(Tabs->Perform(CM_DIALOGCHAR, L'ж'), 0);
    EXPECT_EQ(Tabs->TabIndex(), 1);
}

TEST_F(TabSelection, AltAndTheAcceleratorTypedInTheFormChooseTheTab)
{
    MakeTabs();
    Tabs->Tabs()->Put(1, L"&Two");
    auto* edit = Create<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 140, 100, 22);
    SetForegroundWindow(Form->Handle());
    edit->SetFocus();
    auto pump = [] {
        for (int round = 0; round < 20; ++round) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                Application->ProcessMessage(msg);
            Sleep(10);
        }
    };
    pump();
    ASSERT_EQ(GetFocus(), edit->Handle());
    // A plain letter is the edit's own.
    testsupport::PressKeys({'T'});
    pump();
    EXPECT_EQ(Tabs->TabIndex(), 0);
    testsupport::PressKeys({VK_MENU, 'T'});
    pump();
    EXPECT_EQ(Tabs->TabIndex(), 1);
    EXPECT_EQ(Changes, std::vector<int>{1});
}
