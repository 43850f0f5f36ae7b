// Edits, memos, list boxes, combo boxes and buttons: their colours through the colour notifications,
// items kept across windows, change events and modal results.
#include "framework/StdCtrls.h"

#include "tests/framework/std_support.h"

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class Edits : public StdControlsTest {};

void SendCommand(TWinControl* control, WORD code)
{
    HWND wnd = control->Handle();
    SendMessageW(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), code), reinterpret_cast<LPARAM>(wnd));
}

} // namespace

TEST_F(Edits, EditListAndComboPaintWithTheirColorAndFontColor)
{
    auto* edit = Add<TEdit>(10, 10, 150, 24);
    auto* list = Add<TListBox>(10, 50, 150, 80);
    auto* combo = Add<TComboBox>(180, 10, 150, 24);
    edit->SetText(L"ЖЖЖЖЖЖ");
    list->Items()->Add(L"ЖЖЖЖЖЖ");
    combo->SetText(L"ЖЖЖЖЖЖ");
    for (TWinControl* c : std::vector<TWinControl*>{edit, list, combo}) {
        c->SetColor(clYellow);
        c->Font()->SetColor(clRed);
    }
    testsupport::PumpMessagesUntilIdle();

    Pixels24 e = CaptureWindow(edit->Handle());
    EXPECT_GT(CountColor(e, Rgb(clYellow)), e.width * e.height / 3);
    EXPECT_GT(CountColor(e, Rgb(clRed)), 10);
    Pixels24 l = CaptureWindow(list->Handle());
    EXPECT_GT(CountColor(l, Rgb(clYellow)), l.width * l.height / 3);
    ASSERT_NE(combo->EditHandle(), nullptr);
    Pixels24 c = CaptureWindow(combo->EditHandle());
    EXPECT_GT(CountColor(c, Rgb(clYellow)), c.width * c.height / 3);
    EXPECT_GT(CountColor(c, Rgb(clRed)), 10);

    // A new colour replaces the cached brush at the next paint.
    edit->SetColor(clAqua);
    testsupport::PumpMessagesUntilIdle();
    e = CaptureWindow(edit->Handle());
    EXPECT_EQ(CountColor(e, Rgb(clYellow)), 0);
    EXPECT_GT(CountColor(e, Rgb(clAqua)), e.width * e.height / 3);
}

TEST_F(Edits, ComboDropDownListTakesTheColorsAndDropDownCountRows)
{
    auto* combo = Add<TComboBox>(10, 10, 150, 24);
    combo->SetColor(clAqua);
    combo->Font()->SetColor(clMaroon);
    for (int i = 0; i < 25; ++i)
        combo->Items()->Add(L"Категория " + std::to_wstring(i));
    combo->SetDropDownCount(20);
    int itemHeight = static_cast<int>(SendMessageW(combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
    combo->SetDroppedDown(true);
    testsupport::PumpMessagesUntilIdle();
    ASSERT_NE(combo->ListHandle(), nullptr);
    RECT r;
    GetClientRect(combo->ListHandle(), &r);
    EXPECT_NEAR(r.bottom - r.top, 20 * itemHeight, 4);
    Pixels24 shot = CaptureWindow(combo->ListHandle());
    EXPECT_GT(CountColor(shot, Rgb(clAqua)), shot.width * shot.height / 4);
    EXPECT_GT(CountColor(shot, Rgb(clMaroon)), 10);
    combo->SetDroppedDown(false);

    // Fewer items than rows: the list is as tall as its items.
    combo->Items()->Clear();
    for (int i = 0; i < 3; ++i)
        combo->Items()->Add(std::to_wstring(i));
    combo->SetDroppedDown(true);
    testsupport::PumpMessagesUntilIdle();
    GetClientRect(combo->ListHandle(), &r);
    EXPECT_NEAR(r.bottom - r.top, 3 * itemHeight, 4);
    combo->SetDroppedDown(false);
}

TEST_F(Edits, ComboKeepsItemsAndSelectionAcrossANewWindowAndReportsTheChosenText)
{
    auto* combo = Create<TComboBox>(form);
    combo->Items()->Add(L"Супы");
    combo->Items()->Add(L"Салаты");
    combo->SetItemIndex(1);
    EXPECT_FALSE(combo->HandleAllocated());
    combo->SetParent(form);
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), L"Салаты");

    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->Items()->Get(0), L"Супы");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(GetWindowLongPtrW(combo->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    combo->SetStyle(csDropDown);
    std::vector<std::wstring> seen;
    combo->OnChange = [&](TObject*) { seen.push_back(combo->Text()); };
    SendMessageW(combo->Handle(), CB_SETCURSEL, 0, 0);
    SendCommand(combo, CBN_SELCHANGE);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], L"Супы");
    // Typing into the edit part is a change too.
    SetWindowTextW(combo->EditHandle(), L"Своя");
    SendCommand(combo, CBN_EDITCHANGE);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], L"Своя");
}

TEST_F(Edits, ListBoxItemsAndIndexLiveWithoutAWindowAndSurviveRecreation)
{
    auto* list = Create<TListBox>(form);
    list->Items()->Add(L"b");
    list->Items()->Add(L"a");
    list->Items()->Insert(0, L"c");
    list->SetItemIndex(2);
    list->SetParent(form);
    ASSERT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->Get(0), L"c");
    list->Items()->Put(1, L"x");
    EXPECT_EQ(list->Items()->Get(1), L"x");
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Get(0), L"a");
    EXPECT_EQ(list->Items()->Get(2), L"x");
    EXPECT_THROW(list->Items()->Get(3), EStringListError);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(list->Handle(), LB_SETCURSEL, 0, 0);
    SendCommand(list, LBN_SELCHANGE);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemIndex(), 0);
    list->Clear();
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(Edits, MemoLinesAreHardLinesWhateverTheWrapping)
{
    auto* memo = Add<TMemo>(10, 10, 80, 120);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->Add(L"очень длинная строка, которая не помещается в узкое поле");
    memo->Lines()->Add(L"вторая");
    memo->Lines()->Insert(1, L"вставка");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Text(), L"очень длинная строка, которая не помещается в узкое поле\r\nвставка\r\nвторая");
    // The control wraps the long line into several display lines; Lines still has three.
    EXPECT_GT(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    memo->Lines()->Delete(0);
    EXPECT_EQ(memo->Lines()->Get(0), L"вставка");
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    EXPECT_NE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(Edits, EditReportsTypedChangesSelectionAndModified)
{
    auto* edit = Add<TEdit>(10, 10, 150, 24);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetFocus();
    SendMessageW(edit->Handle(), WM_CHAR, L'щ', 1);
    SendMessageW(edit->Handle(), WM_CHAR, L'и', 1);
    EXPECT_EQ(edit->Text(), L"щи");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());
    edit->SetModified(false);
    EXPECT_FALSE(edit->Modified());
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 2);
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelText(), L"и");
    edit->SetSelText(L"ц");
    EXPECT_EQ(edit->Text(), L"щц");
    // A read-only edit asks for the colours of a static text: they are still its own.
    edit->SetReadOnly(true);
    edit->SetColor(clLime);
    testsupport::PumpMessagesUntilIdle();
    Pixels24 shot = CaptureWindow(edit->Handle());
    EXPECT_GT(CountColor(shot, Rgb(clLime)), shot.width * shot.height / 3);
}

TEST_F(Edits, ButtonsCloseTheFormWithTheirResultAndAnswerReturnAndEscape)
{
    auto* ok = Add<TButton>(10, 10, 75, 25);
    auto* cancel = Add<TButton>(100, 10, 75, 25);
    ok->SetCaption(L"ОК");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    cancel->SetCaption(L"Отмена");
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);

    SendCommand(ok, BN_CLICKED);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(clicks, 1);
    form->SetModalResult(mrNone);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE), 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    form->SetModalResult(mrNone);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN), 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(clicks, 2);
    form->SetModalResult(mrNone);

    // A disabled default button does not take the return key.
    ok->SetEnabled(false);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN), 0);
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(Edits, AMouseClickOnAButtonRunsItsHandlerOnce)
{
    auto* ok = Add<TButton>(10, 10, 75, 25);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    testsupport::PumpMessagesUntilIdle();
    // The system button reports the click itself; the mouse-up must not report it a second time.
    SendMessageW(ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(ok->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    testsupport::PumpMessagesUntilIdle();
    EXPECT_EQ(clicks, 1);
}
