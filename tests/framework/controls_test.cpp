// Controls: the demo form's layout and painting, window procedure chains, Perform without a window,
// exceptions inside message handlers, mouse enter and leave, reflected notifications.
#include "tests/framework/forms_support.h"

#include <memory>
#include <string>
#include <vector>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class Controls : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        form = Create<TDemoForm>(Application);
    }
    void TearDown() override
    {
        Free(form);
        ApplicationTest::TearDown();
    }
    TDemoForm* form = nullptr;
};

// Replaces a control's WindowProc, logs every message it sees and passes it on to the saved one.
class TWndProcHook : public TObject {
public:
    TWndProcHook(TControl* control, std::wstring name, std::vector<std::wstring>& log)
        : control_(control), name_(std::move(name)), log_(log)
    {
        saved_ = control->WindowProc;
        control->WindowProc = TWndMethod(this, &TWndProcHook::Proc);
    }
    void Restore() { control_->WindowProc = saved_; }
    void Proc(TMessage& m)
    {
        if (m.Msg == CM_TEXTCHANGED)
            log_.push_back(name_);
        if (m.Msg == CM_TEXTCHANGED && RestoreInside)
            Restore();
        saved_(m);
    }
    bool RestoreInside = false;

private:
    TControl* control_;
    std::wstring name_;
    std::vector<std::wstring>& log_;
    TWndMethod saved_;
};

} // namespace

TEST_F(Controls, FormDataAlignsChildrenInCreationOrderAndAnchorsKeepTheirDistances)
{
    ASSERT_NE(form->TopPanel, nullptr);
    int cw = form->ClientWidth(), ch = form->ClientHeight();
    EXPECT_EQ(cw, 400);
    EXPECT_EQ(ch, 300);
    EXPECT_EQ(form->TopPanel->BoundsRect(), Rect(0, 0, cw, 40));
    EXPECT_EQ(form->LeftPanel->BoundsRect(), Rect(0, 40, 100, ch));
    EXPECT_EQ(form->ClientPanel->BoundsRect(), Rect(100, 40, cw, ch));
    // The corner keeps its distances from the right and bottom edges when the form grows.
    int right = form->ClientPanel->Width() - form->Corner->Left();
    int bottom = form->ClientPanel->Height() - form->Corner->Top();
    form->SetClientWidth(cw + 60);
    form->SetClientHeight(ch + 30);
    EXPECT_EQ(form->ClientPanel->Width(), cw + 60 - 100);
    EXPECT_EQ(form->ClientPanel->Width() - form->Corner->Left(), right);
    EXPECT_EQ(form->ClientPanel->Height() - form->Corner->Top(), bottom);
    EXPECT_EQ(form->Corner->Width(), 40);
}

TEST_F(Controls, HidingAControlRealignsItsSiblingsAndVisibleIsTheStoredFlag)
{
    form->Show();
    testsupport::PumpMessagesUntilIdle();
    form->TopPanel->Hide();
    EXPECT_EQ(form->LeftPanel->Top(), 0);
    EXPECT_FALSE(IsWindowVisible(form->TopPanel->Handle()));
    form->TopPanel->Show();
    EXPECT_EQ(form->LeftPanel->Top(), 40);
    // WM_SETREDRAW clears WS_VISIBLE while painting is off; the control is still visible.
    SendMessageW(form->ClientPanel->Handle(), WM_SETREDRAW, FALSE, 0);
    EXPECT_TRUE(form->ClientPanel->Visible());
    EXPECT_TRUE(form->ClientPanel->Showing());
    SendMessageW(form->ClientPanel->Handle(), WM_SETREDRAW, TRUE, 0);
}

TEST_F(Controls, WindowlessChildIsPaintedByItsParentOnScreenAndIntoAnyDC)
{
    form->Show();
    // The window keeps the client size of the data with the menu line added.
    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->ClientHeight(), 300);
    Pixels24 shot = CaptureWindow(form->LeftPanel->Handle());
    EXPECT_EQ(shot.At(5, 5), Rgb(clLime));
    EXPECT_EQ(shot.At(10 + 15, 20 + 15), Rgb(clBlue));
    EXPECT_EQ(shot.At(10 + 30, 20 + 15), Rgb(clLime));
    // Painted through a memory bitmap, the panel looks the same.
    form->LeftPanel->SetDoubleBuffered(true);
    Pixels24 buffered = CaptureWindow(form->LeftPanel->Handle());
    EXPECT_EQ(buffered.bgr, shot.bgr);

    // PaintTo draws the whole form's client area, windowed and windowless children, into a bitmap.
    int w = form->ClientWidth(), h = form->ClientHeight();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // The form's client area starts at the window's client origin: paint the client rectangle only.
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    form->PaintTo(dc, -(origin.x - window.left), -(origin.y - window.top));
    EXPECT_EQ(GetPixel(dc, 5, 5), Rgb(clRed));
    EXPECT_EQ(GetPixel(dc, 25, 40 + 35), Rgb(clBlue));
    EXPECT_EQ(GetPixel(dc, 5, 40 + 5), Rgb(clLime));
    EXPECT_EQ(GetPixel(dc, 100 + 260, 40 + 210), Rgb(clYellow));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(Controls, PerformWorksWithoutAWindowAndKeepsTheText)
{
    TOwned<TDemoPanel> panel(Create<TDemoPanel>(nullptr));
    panel->SetText(L"без окна");
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_EQ(panel->Perform(WM_GETTEXTLENGTH), 8);
    EXPECT_EQ(panel->Text(), L"без окна");
    // A windowless control answers the text messages itself.
    TOwned<TDemoShape> shape(Create<TDemoShape>(nullptr));
    shape->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"фигура"));
    EXPECT_EQ(shape->Text(), L"фигура");
    EXPECT_EQ(shape->Perform(CM_HITTEST), HTCLIENT);
    // The window, once made, starts with the text kept so far.
    panel->SetParent(form->ClientPanel);
    wchar_t buffer[32] = {};
    GetWindowTextW(panel->Handle(), buffer, 32);
    EXPECT_STREQ(buffer, L"без окна");
    panel->SetParent(nullptr);
}

TEST_F(Controls, WindowProcHooksChainAndRestoreInAnyOrder)
{
    std::vector<std::wstring> log;
    TControl* edit = form->Edit;
    TWndMethod original = edit->WindowProc;
    auto a = std::make_unique<TWndProcHook>(edit, L"a", log);
    auto b = std::make_unique<TWndProcHook>(edit, L"b", log);
    edit->SetText(L"1");
    EXPECT_EQ(log, (std::vector<std::wstring>{L"b", L"a"}));
    // The outer hook restores itself while its own call is on the stack; the message still goes on.
    log.clear();
    b->RestoreInside = true;
    edit->SetText(L"2");
    EXPECT_EQ(log, (std::vector<std::wstring>{L"b", L"a"}));
    log.clear();
    edit->SetText(L"3");
    EXPECT_EQ(log, (std::vector<std::wstring>{L"a"}));
    a->Restore();
    EXPECT_TRUE(edit->WindowProc == original);
    log.clear();
    edit->SetText(L"4");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(edit->Text(), L"4");
}

TEST_F(Controls, ExceptionInAHandlerReachesHandleExceptionAndNotTheSystem)
{
    form->Show();
    testsupport::PumpMessagesUntilIdle();
    form->TopPanel->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {
        throw EInvalidOperation(L"сбой в обработчике");
    };
    LRESULT result = SendMessageW(form->TopPanel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(result, 0);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], L"сбой в обработчике");
    SendMessageW(form->TopPanel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The window still works afterwards.
    form->TopPanel->OnMouseDown = TMouseEvent(form, &TDemoForm::PanelMouseDown);
    SendMessageW(form->TopPanel->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 3));
    EXPECT_EQ(form->Log.back(), L"mousedown 1 7,3");
}

TEST_F(Controls, MouseEntersAndLeavesAWindowlessChild)
{
    form->Show();
    testsupport::PumpMessagesUntilIdle();
    HWND left = form->LeftPanel->Handle();
    SendMessageW(left, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageW(left, WM_MOUSEMOVE, 0, MAKELPARAM(20, 30));
    SendMessageW(left, WM_MOUSEMOVE, 0, MAKELPARAM(21, 31));
    SendMessageW(left, WM_MOUSEMOVE, 0, MAKELPARAM(80, 90));
    EXPECT_EQ(form->Shape->Log, (std::vector<std::wstring>{L"enter", L"leave"}));
    EXPECT_EQ(Application->MouseControl(), form->LeftPanel);
}

TEST_F(Controls, ParentNotificationsAreReflectedToTheNativeChild)
{
    form->Show();
    int before = form->Edit->Changes;
    SetWindowTextW(form->Edit->Handle(), L"новый текст");
    EXPECT_EQ(form->Edit->Changes, before + 1);
    EXPECT_EQ(form->Edit->Text(), L"новый текст");
}

TEST_F(Controls, ControlListChangesAreAnnouncedWithTheControl)
{
    std::vector<std::pair<TControl*, bool>> seen;
    class TListener : public TObject {};
    TWndMethod saved = form->ClientPanel->WindowProc;
    form->ClientPanel->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_CONTROLLISTCHANGE)
            seen.emplace_back(reinterpret_cast<TControl*>(m.WParam), m.LParam != 0);
        saved(m);
    };
    TDemoShape* shape = Create<TDemoShape>(form);
    shape->SetParent(form->ClientPanel);
    EXPECT_EQ(form->ClientPanel->Controls(form->ClientPanel->ControlCount() - 1), shape);
    Free(shape);
    form->ClientPanel->WindowProc = saved;
    EXPECT_EQ(seen, (std::vector<std::pair<TControl*, bool>>{{shape, true}, {shape, false}}));
}

TEST_F(Controls, TabMovesTheFocusInTabOrderWithEnterAndExit)
{
    auto* second = Create<TDemoEdit>(form);
    second->SetName(L"Second");
    second->SetBounds(8, 40, 100, 24);
    second->SetTabStop(true);
    second->SetParent(form->ClientPanel);
    std::vector<std::wstring> log;
    form->Edit->OnEnter = [&](TObject*) { log.push_back(L"enter edit"); };
    form->Edit->OnExit = [&](TObject*) { log.push_back(L"exit edit"); };
    second->OnEnter = [&](TObject*) { log.push_back(L"enter second"); };
    form->Show();
    ASSERT_TRUE(ActivateWindow(form->Handle()));
    form->Edit->SetFocus();
    EXPECT_TRUE(form->Edit->Focused());
    EXPECT_EQ(form->ActiveControl(), form->Edit);
    PressKey(form->Edit->Handle(), VK_TAB);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(form->ActiveControl(), second);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter edit", L"exit edit", L"enter second"}));
    // Moving the second edit first in the tab order makes Tab go back to the first.
    second->SetTabOrder(0);
    PressKey(second->Handle(), VK_TAB);
    EXPECT_TRUE(form->Edit->Focused());
    // A hidden control cannot take the focus.
    second->Hide();
    EXPECT_FALSE(second->CanFocus());
    EXPECT_THROW(second->SetFocus(), EInvalidOperation);
}

TEST_F(Controls, KeyPressCanChangeOrSwallowACharacter)
{
    form->Show();
    HWND edit = form->Edit->Handle();
    form->Edit->SetText(L"");
    form->Edit->OnKeyPress = [](TObject*, wchar_t& key) {
        if (key == L'a')
            key = L'я';
        else if (key == L'x')
            key = 0;
    };
    for (wchar_t c : std::wstring(L"axb"))
        SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(form->Edit->Text(), L"яb");
}

TEST_F(Controls, HintAppearsAfterThePauseWithTheShortTextAndGoesWithTheMouse)
{
    form->Show();
    form->TopPanel->SetHint(L"Добавить рецепт|Добавить новый рецепт в категорию");
    form->TopPanel->SetShowHint(true);
    int pause = Application->HintPause;
    Application->HintPause = 10;
    Application->NoteMouseControl(form->TopPanel);
    THintWindow* hint = Application->HintWindow();
    ASSERT_NE(hint, nullptr);
    // Up to five seconds: the pause's timer comes late on a busy machine.
    for (int i = 0; i < 500 && !(hint->HandleAllocated() && IsWindowVisible(hint->Handle())); ++i) {
        Sleep(10);
        PumpApplication();
    }
    Application->HintPause = pause;
    ASSERT_TRUE(hint->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Text(), L"Добавить рецепт");
    // The hint window is a framework window of its own class, made on demand.
    wchar_t name[32] = {};
    GetClassNameW(hint->Handle(), name, 32);
    EXPECT_STREQ(name, L"THintWindow");
    // Moving onto a control without a hint takes it away.
    Application->NoteMouseControl(form->LeftPanel);
    EXPECT_FALSE(hint->HandleAllocated() && IsWindowVisible(hint->Handle()));
}

namespace {

// A panel whose system reads right to left in the ways the test asks.
class TMirroredPanel : public TDemoPanel {
public:
    using TDemoPanel::TDemoPanel;
    bool UseRightToLeftAlignment() const override { return Alignment; }
    bool UseRightToLeftReading() const override { return Reading; }
    bool Alignment = false;
    bool Reading = false;
};

} // namespace

TEST_F(Controls, DrawTextFlagsSwapLeftAndRightOnlyUnderRightToLeftAlignment)
{
    struct Case {
        UINT flags;
        bool alignment, reading;
        UINT expected;
    };
    const Case cases[] = {
        {DT_VCENTER, false, false, DT_VCENTER},
        {DT_VCENTER, true, false, DT_VCENTER | DT_RIGHT},
        {DT_RIGHT, true, false, 0},
        {DT_CENTER, true, false, DT_CENTER},
        {DT_RIGHT, false, true, DT_RIGHT | DT_RTLREADING},
        {DT_SINGLELINE, true, true, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING},
    };
    auto* panel = Create<TMirroredPanel>(form);
    for (const Case& c : cases) {
        panel->Alignment = c.alignment;
        panel->Reading = c.reading;
        EXPECT_EQ(panel->DrawTextBiDiModeFlags(c.flags), c.expected) << c.flags << " " << c.alignment << c.reading;
    }
}

TEST_F(Controls, AChildTakesItsParentsBiDiModeUntilItIsGivenOneOfItsOwn)
{
    form->ClientPanel->SetBiDiMode(bdRightToLeftReadingOnly);
    auto* child = Create<TDemoPanel>(form);
    child->SetParent(form->ClientPanel);
    EXPECT_TRUE(child->ParentBiDiMode());
    EXPECT_EQ(child->BiDiMode(), bdRightToLeftReadingOnly);
    form->ClientPanel->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
    child->SetBiDiMode(bdLeftToRight);
    EXPECT_FALSE(child->ParentBiDiMode());
    form->ClientPanel->SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_EQ(child->BiDiMode(), bdLeftToRight);
    child->SetParentBiDiMode(true);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeftNoAlign);
    // This system's locale reads left to right: no mode turns a control around.
    ASSERT_FALSE(SysLocaleMiddleEast());
    EXPECT_FALSE(form->ClientPanel->UseRightToLeftReading());
    EXPECT_EQ(form->ClientPanel->DrawTextBiDiModeFlags(0), 0u);
}
