// The common controls read from form data: collections, lists, sets, references and events land in
// the controls, and the controls come up in the places the data gives them.
#include "tests/framework/controls_support.h"

#include "framework/ActnList.h"

#include <commctrl.h>

namespace {

class TNotebookForm : public TForm {
    DECLARE_CLASS_NAME(TNotebookForm)
public:
    explicit TNotebookForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"ToolBar1MouseMove", this, &TNotebookForm::ToolBar1MouseMove);
        b.Handler(L"ExitButtonMouseMove", this, &TNotebookForm::ExitButtonMouseMove);
        b.Handler(L"TabsChange", this, &TNotebookForm::TabsChange);
        b.Handler(L"RecipesListSelectItem", this, &TNotebookForm::RecipesListSelectItem);
        b.Handler(L"RatingChange", this, &TNotebookForm::RatingChange);
        b.Handler(L"SaveExecute", this, &TNotebookForm::SaveExecute);
        b.Field(L"StatusBar", &StatusBar);
        b.Field(L"ToolBar1", &ToolBar1);
        b.Field(L"ExitButton", &ExitButton);
        b.Field(L"SaveTBtn", &SaveTBtn);
        b.Field(L"FotoButton", &FotoButton);
        b.Field(L"Tabs", &Tabs);
        b.Field(L"RecipesList", &RecipesList);
        b.Field(L"Splitter1", &Splitter1);
        b.Field(L"Rating", &Rating);
    }
    // The hover texts of the main window: each control names itself in status panel 0.
    void ToolBar1MouseMove(TObject*, TShiftState, int, int) { StatusBar->Panels()->Items(0)->SetText(L" "); }
    void ExitButtonMouseMove(TObject*, TShiftState, int, int)
    {
        StatusBar->Panels()->Items(0)->SetText(L" Окончание работы с программой");
    }
    void TabsChange(TObject*) { Log.push_back(L"tab " + std::to_wstring(Tabs->TabIndex())); }
    void RecipesListSelectItem(TObject*, TListItem* item, bool selected)
    {
        Log.push_back(item->Caption() + (selected ? L" +" : L" -"));
    }
    void RatingChange(TObject*) { Log.push_back(L"rating " + std::to_wstring(Rating->Position())); }
    void SaveExecute(TObject*) { Log.push_back(L"save"); }

    std::vector<std::wstring> Log;
    TStatusBar* StatusBar = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ExitButton = nullptr;
    TToolButton* SaveTBtn = nullptr;
    TToolButton* FotoButton = nullptr;
    TTabControl* Tabs = nullptr;
    TListView* RecipesList = nullptr;
    TSplitter* Splitter1 = nullptr;
    TTrackBar* Rating = nullptr;
};

class FormDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterClass<TNotebookForm>(L"TNotebookForm", L"TForm");
        form = Create<TNotebookForm>(Application);
        form->Show();
        testsupport::PumpMessagesUntilIdle();
    }
    void TearDown() override { Free(form); }
    TNotebookForm* form = nullptr;
};

} // namespace

TEST_F(FormDataTest, ControlsTakeTheirPropertiesCollectionsAndEventsFromTheData)
{
    ASSERT_NE(form->StatusBar, nullptr);
    TStatusBar* bar = form->StatusBar;
    ASSERT_EQ(bar->Panels()->Count(), 3);
    EXPECT_EQ(bar->Panels()->Items(2)->Text(), L" Рейтинг: ");
    EXPECT_EQ(bar->Panels()->Items(2)->Alignment(), taCenter);
    int edges[4] = {};
    EXPECT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[1], 462);
    EXPECT_FALSE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());

    TToolBar* tools = form->ToolBar1;
    ASSERT_EQ(tools->ButtonCount(), 4);
    EXPECT_EQ(tools->Buttons(1)->Style(), tbsSeparator);
    EXPECT_EQ(form->SaveTBtn->Caption(), L"Сохран...");
    EXPECT_TRUE(SendMessageW(tools->Handle(), TB_ISBUTTONHIDDEN, 3, 0));
    EXPECT_TRUE(GetWindowLongPtrW(tools->Handle(), GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_EQ(tools->Top(), 0);
    EXPECT_EQ(tools->Height(), form->ExitButton->Top() + form->ExitButton->Height() + 2 * 2);

    EXPECT_EQ(form->Tabs->Tabs()->Count(), 2);
    EXPECT_EQ(form->Tabs->TabIndex(), 1);
    EXPECT_EQ(form->Tabs->Top(), tools->Height());
    EXPECT_EQ(GetWindowLongPtrW(form->RecipesList->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    EXPECT_EQ(form->Splitter1->Left(), 235);
    EXPECT_EQ(form->Splitter1->ResizeStyle(), rsUpdate);
    EXPECT_EQ(form->Rating->Position(), 1);
    EXPECT_EQ(form->Rating->Left(), 239);
    EXPECT_TRUE(form->Log.empty());
}

TEST_F(FormDataTest, HoverTextsNameTheButtonUnderTheMouseAndTheBarBetweenButtons)
{
    TToolBar* tools = form->ToolBar1;
    TToolButton* exit = form->ExitButton;
    HWND wnd = tools->Handle();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(exit->Left() + 5, exit->Top() + 5));
    EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text(), L" Окончание работы с программой");
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(tools->ClientWidth() - 3, exit->Top() + 5));
    EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text(), L" ");

    // The button with the action runs it.
    RECT r{};
    SendMessageW(wnd, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 5));
    EXPECT_EQ(form->Log, std::vector<std::wstring>{L"save"});
}
