// Forms: reading the demo form's data, modal showing, the activation rule, message dialogs, and the
// registry as INI sections.
#include "framework/DCScopes.h"
#include "framework/Dialogs.h"
#include "framework/Registry.h"

#include "tests/framework/forms_support.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Runs Action from the message loop a little later (a modal loop is running by then).
std::function<void()> gLater;

void CALLBACK RunLaterProc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> action = std::move(gLater);
    gLater = nullptr;
    try {
        if (action)
            action();
    } catch (...) {
        Application->HandleException(nullptr);
    }
}

void RunLater(std::function<void()> action, UINT delayMs = 20)
{
    gLater = std::move(action);
    SetTimer(nullptr, 0, delayMs, RunLaterProc);
}

std::wstring WindowClassOf(HWND wnd)
{
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    return name;
}

std::wstring WindowTextOf(HWND wnd)
{
    wchar_t text[128] = {};
    GetWindowTextW(wnd, text, 128);
    return text;
}

int Count(const std::vector<std::wstring>& log, const std::wstring& entry)
{
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

class Forms : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        form = Create<TDemoForm>(Application);
    }
    void TearDown() override
    {
        Free(form);
        gLater = nullptr;
        ApplicationTest::TearDown();
    }
    // Shows the form and waits until the system made it the active window.
    void ShowActive(TCustomForm* f)
    {
        f->Show();
        ASSERT_TRUE(ActivateWindow(f->Handle()));
    }
    TDemoForm* form = nullptr;
};

} // namespace

TEST_F(Forms, DataBindsFieldsEventsAndForwardReferencesBeforeOnCreate)
{
    // OnCreate ran once, after every component of the data was read.
    EXPECT_EQ(form->Log, std::vector<std::wstring>{L"create " + std::to_wstring(form->ComponentCount())});
    EXPECT_EQ(form->Caption(), L"Демо");
    EXPECT_EQ(form->Menu(), form->MainMenu) << "forward reference";
    EXPECT_EQ(form->TopPanel->PopupMenu(), form->Popup) << "forward reference";
    EXPECT_EQ(form->SaveItem->Action(), form->SaveAction) << "forward reference";
    // The linked action gave the item its caption and shortcut.
    EXPECT_EQ(form->SaveItem->Caption(), L"Сохранить");
    EXPECT_EQ(form->SaveItem->ShortCut(), scCtrl | 'S');
    EXPECT_EQ(form->Edit->Text(), L"abc");
    EXPECT_EQ(form->Shape->Parent(), form->LeftPanel);
    EXPECT_EQ(form->LeftPanel->Controls(0), form->Shape);
    EXPECT_EQ(form->ControlCount(), 3);
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->HasState(csLoading)) << i;
    // The last component's Loaded made the form's window before OnCreate, as a broadcast does; the
    // children, loaded before it, were made and laid out all the same.
    EXPECT_FALSE(form->Broadcaster->HandleBeforeLoaded);
    EXPECT_TRUE(form->HandleAtCreate);
    // The window class is named after the form's class.
    EXPECT_EQ(WindowClassOf(form->Handle()), L"TDemoForm");
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
}

TEST_F(Forms, FirstShowingRunsOnShowBeforeOnActivateAndPaintsThroughOnPaint)
{
    TOwned<TForm> f(Create<TForm>(Application));
    std::vector<std::wstring> log;
    f->OnShow = [&](TObject*) { log.push_back(L"show " + std::to_wstring(IsWindowVisible(f->Handle()))); };
    f->OnActivate = [&](TObject*) { log.push_back(L"activate"); };
    f->OnPaint = [&](TObject*) {
        f->Canvas()->Brush()->SetColor(clNavy);
        f->Canvas()->FillRect(Rect(0, 0, 20, 20));
    };
    f->Show();
    ActivateWindow(f->Handle());
    EXPECT_EQ(log, (std::vector<std::wstring>{L"show 0", L"activate"}));
    EXPECT_TRUE(f->FormState.Contains(fsVisible));
    testsupport::Pixels24 shot = testsupport::CaptureWindow(f->Handle());
    EXPECT_EQ(shot.At(5, 5), static_cast<COLORREF>(ColorToRGB(clNavy)));
    EXPECT_EQ(shot.At(30, 30), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(Screen->ActiveCustomForm(), f.get());
    EXPECT_EQ(Screen->ActiveForm(), f.get());
}

// The main form is first shown before the message loop runs: an error of its OnShow goes to the
// application's handler as one of a message handler does, and the window still comes up.
TEST_F(Forms, FailingOnShowIsReportedAndTheFormIsShownAllTheSame)
{
    TOwned<TForm> f(Create<TForm>(Application));
    f->OnShow = [](TObject*) { throw EInvalidGraphic(L"Icon image is not valid"); };
    EXPECT_NO_THROW(f->Show());
    EXPECT_EQ(Errors, (std::vector<std::wstring>{L"Icon image is not valid"}));
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_TRUE(f->FormState.Contains(fsVisible));
    EXPECT_FALSE(f->FormState.Contains(fsShowing));
}

TEST_F(Forms, ShowModalDisablesTheOtherFormsAndReactivatesThePreviousOne)
{
    ShowActive(form);
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    TOwned<TForm> dialog(Create<TForm>(Application));
    dialog->SetCaption(L"Диалог");
    bool mainEnabledInside = true;
    bool modalStateInside = false;
    dialog->OnActivate = [&](TObject*) {
        mainEnabledInside = IsWindowEnabled(form->Handle()) != FALSE;
        modalStateInside = dialog->FormState.Contains(fsModal);
        dialog->SetModalResult(mrYes);
    };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_FALSE(mainEnabledInside);
    EXPECT_TRUE(modalStateInside);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(dialog->FormState.Contains(fsModal));
    PumpApplication();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    // Shown again, the form is activated anew and starts with no result (a loop that never ends
    // is broken after a while).
    dialog->OnActivate = [&](TObject*) { dialog->Close(); };
    RunLater([&] { dialog->SetModalResult(mrAbort); }, 3000);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    gLater = nullptr;
    // A visible form cannot be made modal.
    dialog->OnActivate = nullptr;
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
}

TEST_F(Forms, ModalLoopKeepsRunningWhileOnCloseQueryRefuses)
{
    TOwned<TForm> dialog(Create<TForm>(Application));
    int queries = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    dialog->OnActivate = [&](TObject*) {
        dialog->SetModalResult(mrOk);
        RunLater([&] { dialog->SetModalResult(mrOk); });
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(queries, 2);
}

TEST_F(Forms, OnActivateRunsFirstAndBetweenOwnFormsButNotOnReturnFromOtherWindows)
{
    ShowActive(form);
    EXPECT_EQ(Count(form->Log, L"activate"), 1);

    // A window that is not one of the program's forms (another program's, or a system dialog).
    HWND foreign = CreateWindowExW(0, L"STATIC", L"чужое", WS_POPUP | WS_VISIBLE | WS_CAPTION, 10, 10, 100, 60,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    ASSERT_TRUE(ActivateWindow(foreign));
    EXPECT_FALSE(form->Active());
    ASSERT_TRUE(ActivateWindow(form->Handle()));
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(Count(form->Log, L"activate"), 1) << "returning is no new activation";
    DestroyWindow(foreign);

    // Moving between the program's own forms activates again.
    TOwned<TForm> other(Create<TForm>(Application));
    int otherActivations = 0, deactivations = 0;
    other->OnActivate = [&](TObject*) { ++otherActivations; };
    form->OnDeactivate = [&](TObject*) { ++deactivations; };
    ShowActive(other.get());
    EXPECT_EQ(otherActivations, 1);
    EXPECT_EQ(deactivations, 1);
    ASSERT_TRUE(ActivateWindow(form->Handle()));
    EXPECT_EQ(Count(form->Log, L"activate"), 2);
    EXPECT_EQ(Screen->ActiveCustomForm(), form);
}

TEST_F(Forms, MessageDialogIsAFrameworkFormWithRussianButtons)
{
    TOwned<TCustomForm> dialog(CreateMessageDialog(L"Удалить рецепт?", mtConfirmation, {mbYes, mbNo}));
    EXPECT_EQ(dialog->ClassName(), L"TMessageForm");
    EXPECT_EQ(WindowClassOf(dialog->Handle()), L"TMessageForm");
    EXPECT_EQ(dialog->Caption(), L"Подтверждение");
    auto* yes = dynamic_cast<TWinControl*>(dialog->FindComponent(L"Yes"));
    auto* no = dynamic_cast<TWinControl*>(dialog->FindComponent(L"No"));
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(WindowTextOf(yes->Handle()), L"&Да");
    EXPECT_EQ(WindowTextOf(no->Handle()), L"&Нет");
    EXPECT_EQ(WindowClassOf(yes->Handle()), L"TButton");
    EXPECT_EQ(dialog->FindComponent(L"OK"), nullptr);
    // The buttons fit in the dialog and do not overlap.
    EXPECT_LE(no->Left() + no->Width(), dialog->ClientWidth());
    EXPECT_GE(no->Left(), yes->Left() + yes->Width());
    EXPECT_LE(yes->Top() + yes->Height(), dialog->ClientHeight());
}

TEST_F(Forms, MessageDialogAnswersWithThePressedButton)
{
    // A click on "Нет".
    RunLater([] {
        auto* dialog = dynamic_cast<TCustomForm*>(Screen->ActiveCustomForm());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->ClassName(), L"TMessageForm");
        auto* no = dynamic_cast<TWinControl*>(dialog->FindComponent(L"No"));
        SendMessageW(no->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(MessageDlg(L"Удалить?", mtConfirmation, {mbYes, mbNo}), mrNo);

    // Return presses the default button, Escape the cancelling one.
    RunLater([] { PressKey(GetFocus(), VK_RETURN); });
    EXPECT_EQ(MessageDlg(L"Удалить?", mtConfirmation, {mbYes, mbNo}), mrYes);
    RunLater([] { PressKey(GetFocus(), VK_ESCAPE); });
    EXPECT_EQ(MessageDlg(L"Удалить?", mtConfirmation, {mbYes, mbNo}), mrNo);
    RunLater([] { PressKey(GetFocus(), VK_ESCAPE); });
    ShowMessage(L"Готово");
    EXPECT_TRUE(Errors.empty());
    // The dialogs are gone.
    for (int i = 0; i < Screen->CustomFormCount(); ++i)
        EXPECT_NE(Screen->CustomForms(i)->ClassName(), L"TMessageForm");
}

TEST_F(Forms, ReturnPressesTheFocusedButtonNotTheDefaultOne)
{
    // "Нет" reached with Tab and confirmed with Return must answer No, never the default Yes.
    RunLater([] {
        auto* dialog = dynamic_cast<TCustomForm*>(Screen->ActiveCustomForm());
        ASSERT_NE(dialog, nullptr);
        auto* no = dynamic_cast<TWinControl*>(dialog->FindComponent(L"No"));
        no->SetFocus();
        PressKey(no->Handle(), VK_RETURN);
    });
    EXPECT_EQ(MessageDlg(L"Удалить?", mtConfirmation, {mbYes, mbNo}), mrNo);
    EXPECT_TRUE(Errors.empty());
}

namespace {

class TBrokenForm : public TForm {
    DECLARE_CLASS_NAME(TBrokenForm)
public:
    explicit TBrokenForm(TComponent* owner) : TForm(owner) {}
};

} // namespace

TEST_F(Forms, DamagedFormDataIsReportedWithFileAndLineAndLeavesNothingBehind)
{
    int formsBefore = Screen->CustomFormCount();
    int componentsBefore = Application->ComponentCount();
    TBrokenForm* broken = nullptr;
    try {
        Application->CreateForm(broken);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"broken.form(8): Property TDemoShape.Colour does not exist");
    }
    EXPECT_EQ(broken, nullptr);
    EXPECT_EQ(Screen->CustomFormCount(), formsBefore);
    EXPECT_EQ(Application->ComponentCount(), componentsBefore);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(FindWindowW(L"TBrokenForm", nullptr), nullptr);
}

class RegistrySections : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    static constexpr const wchar_t* kKey = L"Software\\VelmoraTests";
};

TEST_F(RegistrySections, SectionsAreSubkeysAndValuesAreStrings)
{
    {
        TRegIniFile ini(kKey);
        ini.WriteString(L"Theme", L"Name", L"Стандарт");
        ini.WriteInteger(L"Counters", L"StartCount", 12);
        ini.WriteBool(L"Theme", L"Bar", true);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VelmoraTests\\Counters", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    wchar_t value[16] = {};
    DWORD size = sizeof(value);
    EXPECT_EQ(RegQueryValueExW(key, L"StartCount", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(value, L"12");

    TRegIniFile ini(kKey);
    EXPECT_EQ(ini.ReadString(L"theme", L"NAME", L""), L"Стандарт");
    EXPECT_EQ(ini.ReadInteger(L"Counters", L"StartCount", 0), 12);
    EXPECT_TRUE(ini.ReadBool(L"Theme", L"Bar", false));
    EXPECT_EQ(ini.ReadString(L"Theme", L"Missing", L"нет"), L"нет");
    EXPECT_EQ(ini.ReadInteger(L"Nowhere", L"X", 7), 7);
    EXPECT_FALSE(ini.SectionExists(L"Nowhere"));
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 2);
    EXPECT_GE(sections.IndexOf(L"THEME"), 0);
    TStringList values;
    ini.ReadSectionValues(L"Theme", &values);
    EXPECT_EQ(values.Values(L"Name"), L"Стандарт");
    ini.DeleteKey(L"Theme", L"Name");
    EXPECT_FALSE(ini.ValueExists(L"Theme", L"Name"));
    ini.EraseSection(L"Theme");
    EXPECT_FALSE(ini.SectionExists(L"Theme"));
    EXPECT_TRUE(ini.SectionExists(L"Counters"));
}

TEST_F(Forms, AutoSizedFormFollowsItsChildren)
{
    TOwned<TForm> photo(Create<TForm>(Application));
    auto* picture = Create<TDemoShape>(photo.get());
    picture->SetBounds(0, 0, 105, 105);
    picture->SetParent(photo.get());
    photo->SetAutoSize(true);
    EXPECT_EQ(photo->ClientWidth(), 105);
    EXPECT_EQ(photo->ClientHeight(), 105);
    photo->Show();
    // The picture sizes itself after loading: the window follows.
    picture->SetBounds(0, 0, 240, 160);
    EXPECT_EQ(photo->ClientWidth(), 240);
    EXPECT_EQ(photo->ClientHeight(), 160);
    RECT client;
    GetClientRect(photo->Handle(), &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 160);
}

TEST_F(Forms, BorderStylesAndIconsBecomeWindowStyles)
{
    TOwned<TForm> f(Create<TForm>(Application));
    auto style = [&] { return static_cast<DWORD>(GetWindowLongPtrW(f->Handle(), GWL_STYLE)); };
    auto exStyle = [&] { return static_cast<DWORD>(GetWindowLongPtrW(f->Handle(), GWL_EXSTYLE)); };
    EXPECT_TRUE(style() & WS_THICKFRAME);
    EXPECT_TRUE(style() & WS_MAXIMIZEBOX);
    f->SetBorderStyle(bsDialog);
    EXPECT_FALSE(style() & WS_THICKFRAME);
    EXPECT_FALSE(style() & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style() & WS_SYSMENU);
    EXPECT_TRUE(exStyle() & WS_EX_DLGMODALFRAME);
    f->SetBorderStyle(bsToolWindow);
    EXPECT_TRUE(exStyle() & WS_EX_TOOLWINDOW);
    f->SetBorderStyle(bsSingle);
    f->SetBorderIcons({biSystemMenu, biMinimize});
    EXPECT_TRUE(style() & WS_MINIMIZEBOX);
    EXPECT_FALSE(style() & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style() & WS_THICKFRAME);
    f->SetBorderStyle(bsNone);
    EXPECT_TRUE(style() & WS_POPUP);
    EXPECT_FALSE(style() & WS_CAPTION);
    // Recreating the window kept the caption and the window class.
    EXPECT_EQ(WindowClassOf(f->Handle()), L"TForm");
}

TEST_F(Forms, PositionCentresOnTheScreenOrOnTheMainForm)
{
    TOwned<TForm> f(Create<TForm>(Application));
    f->SetBounds(0, 0, 200, 100);
    f->SetPosition(poScreenCenter);
    f->Show();
    TRect work = Screen->WorkAreaRect();
    EXPECT_EQ(f->Left(), work.Left + (work.Width() - 200) / 2);
    EXPECT_EQ(f->Top(), work.Top + (work.Height() - 100) / 2);
    f->Hide();

    ASSERT_EQ(Application->MainForm(), nullptr);
    TDemoForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    EXPECT_EQ(main->Name(), L"DemoForm_1") << "the test's own form has the name of the data";
    main->SetBounds(30, 40, 500, 400);
    main->Show();
    f->SetPosition(poMainFormCenter);
    f->Show();
    EXPECT_EQ(f->Left(), 30 + (500 - 200) / 2);
    EXPECT_EQ(f->Top(), 40 + (400 - 100) / 2);
    Free(main);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(Forms, ReleaseFreesTheFormOnceQueuedMessagesAreHandled)
{
    TForm* f = Create<TForm>(Application);
    bool destroyed = false;
    f->OnDestroy = [&](TObject*) { destroyed = true; };
    f->Show();
    HWND wnd = f->Handle();
    f->Release();
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(IsWindow(wnd));
    PumpApplication();
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(wnd));
    for (int i = 0; i < Screen->CustomFormCount(); ++i)
        EXPECT_NE(Screen->CustomForms(i), f);
}

TEST_F(Forms, HooksOfTheApplicationWindowSeePostedMessagesLatestFirst)
{
    std::vector<std::wstring> seen;
    class THookOwner : public TObject {
    public:
        THookOwner(std::vector<std::wstring>& log, std::wstring name, bool handles)
            : log_(log), name_(std::move(name)), handles_(handles)
        {
        }
        void Hook(TMessage& m, bool& handled)
        {
            if (m.Msg != WM_APP + 7)
                return;
            log_.push_back(name_);
            handled = handles_;
            m.Result = 42;
        }

    private:
        std::vector<std::wstring>& log_;
        std::wstring name_;
        bool handles_;
    };
    THookOwner first(seen, L"first", false), second(seen, L"second", true);
    Application->HookMainWindow(TWindowHook(&first, &THookOwner::Hook));
    Application->HookMainWindow(TWindowHook(&second, &THookOwner::Hook));
    PostMessageW(Application->Handle(), WM_APP + 7, 0, 0);
    PumpApplication();
    EXPECT_EQ(seen, std::vector<std::wstring>{L"second"});
    EXPECT_EQ(SendMessageW(Application->Handle(), WM_APP + 7, 0, 0), 42);
    Application->UnhookMainWindow(TWindowHook(&second, &THookOwner::Hook));
    seen.clear();
    PostMessageW(Application->Handle(), WM_APP + 7, 0, 0);
    PumpApplication();
    EXPECT_EQ(seen, std::vector<std::wstring>{L"first"});
    Application->UnhookMainWindow(TWindowHook(&first, &THookOwner::Hook));
    seen.clear();
    SendMessageW(Application->Handle(), WM_APP + 7, 0, 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Forms, IdleWorkUpdatesTheActionsOfVisibleForms)
{
    int updates = 0;
    form->DeleteAction->OnUpdate = [&](TObject*) {
        ++updates;
        form->DeleteAction->SetEnabled(false);
    };
    Application->DoIdle();
    EXPECT_EQ(updates, 0) << "the form is hidden";
    form->Show();
    Application->DoIdle();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(form->DeleteAction->Enabled());
}

namespace {

class TPaintCounter : public TCustomControl {
    DECLARE_CLASS_NAME(TPaintCounter)
public:
    explicit TPaintCounter(TComponent* owner) : TCustomControl(owner) { SetBounds(10, 10, 40, 30); }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

} // namespace

// A form that holds its paints draws nothing on the screen, whoever asks it to, and keeps its windows
// shown; letting the paints go paints the whole form once.
TEST_F(Forms, AFormHoldingItsPaintsDrawsNothingUntilItLetsThemGo)
{
    TOwned<TForm> f(Create<TForm>(Application));
    f->SetBounds(60, 60, 200, 150);
    auto* child = Create<TPaintCounter>(f.get());
    child->SetParent(f.get());
    int formPaints = 0;
    f->OnPaint = [&](TObject*) { ++formPaints; };
    f->Show();
    testsupport::CaptureWindow(f->Handle());
    const int childBefore = child->Paints, formBefore = formPaints;
    ASSERT_GT(childBefore, 0);

    f->HoldPaints();
    EXPECT_TRUE(f->PaintsHeld());
    RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    child->Repaint();
    SendMessageW(child->Handle(), WM_PAINT, 0, 0);
    testsupport::PumpMessagesUntilIdle();
    EXPECT_EQ(child->Paints, childBefore);
    EXPECT_EQ(formPaints, formBefore);
    EXPECT_TRUE(IsWindowVisible(child->Handle()));
    EXPECT_TRUE(PaintsHeldFor(child->Handle()));
    EXPECT_FALSE(PaintsShown(child->Handle()));
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(child->Handle(), &pending, FALSE)) << "a dropped paint leaves its window validated";
    // A paint into a bitmap is none on the screen: it still draws.
    {
        TMemoryDC memory(nullptr, 40, 30);
        SendMessageW(child->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
    }
    EXPECT_EQ(child->Paints, childBefore + 1);

    f->ReleasePaints(true);
    EXPECT_FALSE(f->PaintsHeld());
    EXPECT_TRUE(PaintsShown(child->Handle()));
    EXPECT_EQ(child->Paints, childBefore + 2);
    EXPECT_EQ(formPaints, formBefore + 1);
    testsupport::Pixels24 shot = testsupport::CaptureWindow(f->Handle());
    EXPECT_EQ(shot.At(20, 20), static_cast<COLORREF>(ColorToRGB(clRed)));
}
