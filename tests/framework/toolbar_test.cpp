// Tool bar: buttons as the system bar holds them, hidden buttons, mouse events of the buttons
// themselves, clicks and actions, custom-draw events with their stages and states, drop-down menus.
#include "tests/framework/controls_support.h"

#include "framework/ActnList.h"
#include "framework/Menus.h"

#include <commctrl.h>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class ToolBarTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        bar = Make<TToolBar>();
        bar->SetShowCaptions(true);
        bar->SetButtonWidth(56);
        bar->SetButtonHeight(40);
        for (const wchar_t* caption : {L"Выйти", L"Новый", L"Группа", L"Найти"}) {
            auto* button = Make<TToolButton>(bar);
            button->SetCaption(caption);
            buttons.push_back(button);
        }
        testsupport::PumpMessagesUntilIdle();
    }
    RECT ItemRect(int index)
    {
        RECT r{};
        SendMessageW(bar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    TToolBar* bar = nullptr;
    std::vector<TToolButton*> buttons;
};

std::wstring StageName(TCustomDrawStage stage)
{
    switch (stage) {
    case cdPrePaint:
        return L"pre";
    case cdPostPaint:
        return L"post";
    case cdPreErase:
        return L"preerase";
    default:
        return L"posterase";
    }
}

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

} // namespace

TEST_F(ToolBarTest, EachButtonIsASystemButtonThatNamesItsObject)
{
    ASSERT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->ButtonOfNative(i), buttons[static_cast<size_t>(i)]);
        EXPECT_EQ(buttons[static_cast<size_t>(i)]->Index(), i);
        // The windowless button lies where the system shows its button.
        EXPECT_EQ(buttons[static_cast<size_t>(i)]->BoundsRect(), TRect::FromRECT(ItemRect(i)));
    }
    EXPECT_GE(buttons[0]->Width(), 56);
    EXPECT_GE(buttons[0]->Height(), 40);
    wchar_t text[64] = {};
    SendMessageW(bar->Handle(), TB_GETBUTTONTEXTW, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Группа");

    // A separator added later goes to the end; removing a button renumbers the rest.
    auto* separator = Make<TToolButton>(bar);
    separator->SetStyle(tbsSeparator);
    EXPECT_EQ(bar->ButtonOfNative(4), separator);
    Free(buttons[1]);
    EXPECT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(bar->ButtonOfNative(1), buttons[2]);
    EXPECT_EQ(buttons[2]->Index(), 1);
}

TEST_F(ToolBarTest, HiddenButtonLeavesNoGapAndIsNoLongerUnderTheMouse)
{
    RECT second = ItemRect(1);
    buttons[1]->Hide();
    EXPECT_TRUE(SendMessageW(bar->Handle(), TB_ISBUTTONHIDDEN, 1, 0));
    EXPECT_EQ(ItemRect(2).left, second.left);
    EXPECT_EQ(buttons[2]->Left(), second.left);
    TPoint middle = Point(second.left + 5, second.top + 5);
    EXPECT_EQ(bar->ControlAtPos(middle, false), buttons[2]);

    buttons[1]->Show();
    EXPECT_FALSE(SendMessageW(bar->Handle(), TB_ISBUTTONHIDDEN, 1, 0));
    EXPECT_EQ(buttons[1]->Left(), second.left);
    EXPECT_EQ(bar->ControlAtPos(middle, false), buttons[1]);
}

TEST_F(ToolBarTest, MouseOverAButtonIsTheButtonsEventAndBetweenButtonsTheBars)
{
    std::vector<std::wstring> log;
    bar->OnMouseMove = [&](TObject* sender, TShiftState, int, int) {
        log.push_back(sender == bar ? L"bar" : L"?");
    };
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->OnMouseMove = [&log, i](TObject*, TShiftState, int x, int y) {
            log.push_back(L"button " + std::to_wstring(i) + L" " + std::to_wstring(x) + L"," + std::to_wstring(y));
        };
    RECT r = ItemRect(2);
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 3, r.top + 4));
    RECT last = ItemRect(3);
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(last.right + 20, last.top + 4));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"button 2 3,4", L"bar"}));
}

TEST_F(ToolBarTest, SystemClickRunsTheButtonsActionOrClickAndReadsTheCheckState)
{
    std::vector<std::wstring> log;
    auto* action = Create<TAction>(form);
    action->SetCaption(L"Сохран...");
    action->SetHint(L"Сохранить внесенные изменения");
    action->OnExecute = [&](TObject*) { log.push_back(L"action"); };
    buttons[1]->SetAction(action);
    buttons[0]->OnClick = [&](TObject*) { log.push_back(L"click"); };
    buttons[3]->SetStyle(tbsCheck);
    EXPECT_EQ(buttons[1]->Caption(), L"Сохран...");
    EXPECT_EQ(buttons[1]->Hint(), L"Сохранить внесенные изменения");

    for (int i : {0, 1, 3}) {
        RECT r = ItemRect(i);
        Click(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    EXPECT_EQ(log, (std::vector<std::wstring>{L"click", L"action"}));
    EXPECT_TRUE(buttons[3]->Down());
    // A disabled action disables its button: the system sends no click for it.
    action->SetEnabled(false);
    EXPECT_FALSE(SendMessageW(bar->Handle(), TB_ISBUTTONENABLED, 1, 0));
    RECT r = ItemRect(1);
    Click(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ToolBarTest, CustomDrawEventsComeWithStagesStatesAndCanTurnDefaultDrawingOff)
{
    buttons[1]->SetEnabled(false);
    buttons[2]->SetStyle(tbsCheck);
    buttons[2]->SetDown(true);
    buttons[3]->Hide();
    std::vector<std::wstring> log;
    std::vector<std::pair<TToolButton*, TCustomDrawState>> states;
    bar->OnAdvancedCustomDraw = [&](TToolBar* sender, const TRect&, TCustomDrawStage stage, bool& defaultDraw) {
        EXPECT_EQ(sender, bar);
        EXPECT_TRUE(defaultDraw);
        log.push_back(L"bar " + StageName(stage));
    };
    bar->OnAdvancedCustomDrawButton = [&](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                          TCustomDrawStage stage, TTBCustomDrawFlags&, bool& defaultDraw) {
        log.push_back(std::to_wstring(button->Index()) + L" " + StageName(stage));
        if (stage != cdPrePaint)
            return;
        states.emplace_back(button, state);
        if (button == buttons[0]) {
            // The first button is drawn by the handler alone.
            sender->Canvas()->Brush()->SetColor(clBlue);
            sender->Canvas()->FillRect(button->BoundsRect());
            defaultDraw = false;
        }
    };
    Pixels24 shot = CaptureWindow(bar->Handle());

    // The bar's stages enclose the buttons'; the hidden button is not drawn at all.
    ASSERT_GE(log.size(), 2u);
    auto first = std::find(log.begin(), log.end(), L"bar pre");
    auto last = std::find(log.begin(), log.end(), L"bar post");
    ASSERT_NE(first, log.end());
    ASSERT_NE(last, log.end());
    EXPECT_LT(first, last);
    EXPECT_NE(std::find(first, last, L"1 pre"), last);
    EXPECT_NE(std::find(first, last, L"1 post"), last);
    EXPECT_NE(std::find(first, last, L"2 pre"), last);
    EXPECT_EQ(std::find(log.begin(), log.end(), L"3 pre"), log.end());
    // Default drawing off: the system adds nothing after the handler's own drawing.
    EXPECT_EQ(std::find(first, last, L"0 post"), last);

    for (auto& [button, state] : states) {
        EXPECT_EQ(state.Contains(cdsDisabled), button == buttons[1]) << button->Index();
        EXPECT_EQ(state.Contains(cdsChecked), button == buttons[2]) << button->Index();
    }
    TRect r = buttons[0]->BoundsRect();
    EXPECT_EQ(shot.At(r.Left + 2, r.Top + 2), Rgb(clBlue));
    EXPECT_EQ(shot.At((r.Left + r.Right) / 2, r.Bottom - 3), Rgb(clBlue));
    TRect other = buttons[2]->BoundsRect();
    EXPECT_NE(shot.At(other.Left + 2, other.Top + 2), Rgb(clBlue));
}

TEST_F(ToolBarTest, DropDownNotificationOpensTheMenuUnderTheButtonThenTheBarHearsItClosed)
{
    auto* menu = Create<TPopupMenu>(form);
    auto* item = Create<TMenuItem>(form);
    item->SetCaption(L"Переименовать");
    menu->Items()->Add(item);
    std::vector<std::wstring> log;
    menu->OnPopup = [&](TObject*) { log.push_back(L"popup"); };
    buttons[2]->SetStyle(tbsDropDown);
    buttons[2]->SetDropdownMenu(menu);
    TWndMethod saved = bar->WindowProc;
    bar->WindowProc = [&](TMessage& m) {
        if (m.Msg == CN_DROPDOWNCLOSED)
            log.push_back(L"closed");
        saved(m);
    };
    // The menu's own loop ends as soon as it runs.
    SetTimer(nullptr, 0, 50, EndMenuSoon);
    NMTOOLBARW info{};
    info.hdr.hwndFrom = bar->Handle();
    info.hdr.idFrom = 0;
    info.hdr.code = TBN_DROPDOWN;
    info.iItem = 2;
    LRESULT result = SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(result, TBDDRET_DEFAULT);
    EXPECT_EQ(menu->PopupComponent(), buttons[2]);
    testsupport::PumpMessagesUntilIdle();
    bar->WindowProc = saved;
    EXPECT_EQ(log, (std::vector<std::wstring>{L"popup", L"closed"}));

    // A menu that goes clears the button's reference.
    Free(menu);
    EXPECT_EQ(buttons[2]->DropdownMenu(), nullptr);
}

TEST_F(ToolBarTest, AutoSizeFitsTheButtonsInsideBordersAndEdges)
{
    bar->SetEdgeBorders({ebTop, ebBottom});
    bar->SetBorderWidth(2);
    bar->SetAutoSize(true);
    bar->SetButtonHeight(52);
    TRect client = bar->ClientRect();
    int frame = bar->Height() - client.Height();
    // Two pixels of border on each side plus an edge of two lines at the top and bottom.
    EXPECT_EQ(frame, 2 * 2 + 2 * 2);
    EXPECT_EQ(bar->Width() - client.Width(), 2 * 2);
    EXPECT_EQ(bar->Height(), buttons[0]->Top() + buttons[0]->Height() + frame);
    EXPECT_GE(buttons[0]->Height(), 52);
    // The aligned bar's height leaves the rest of the form to the controls below.
    auto* below = Make<TColorPanel>();
    below->SetAlign(alClient);
    EXPECT_EQ(below->Top(), bar->Height());
}

TEST_F(ToolBarTest, ImagesOfTheListAppearOnTheButtonsOfAWideBar)
{
    // The main window's bar: 32-pixel pictures, captions below them, buttons of 56 x 52.
    TImageList images(32, 32);
    images.SetMasked(false);
    TBitmap picture;
    picture.SetSize(32, 32);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 32, 32));
    images.Add(&picture, nullptr);
    bar->SetImages(&images);
    bar->SetButtonHeight(52);
    bar->SetAutoSize(true);
    buttons[1]->SetImageIndex(0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(bar->Handle(), TB_GETIMAGELIST, 0, 0)), images.Handle());
    TRect r = buttons[1]->BoundsRect();
    EXPECT_EQ(r.Width(), 56);
    EXPECT_GE(r.Height(), 52);
    Pixels24 shot = CaptureWindow(bar->Handle());
    int red = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            red += shot.At(x, y) == Rgb(clRed);
    EXPECT_GE(red, 28 * 28);

    TRect other = buttons[2]->BoundsRect();
    EXPECT_NE(shot.At((other.Left + other.Right) / 2, other.Top + 20), Rgb(clRed));
    bar->SetImages(nullptr);
}
