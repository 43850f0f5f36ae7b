// The provider's life on its form: taking over the window procedure, style and colour, answering the
// skin commands, keeping messages from the form, giving everything back when it or the skin goes, and
// moving: snapping to the work area, the maximized size and the outline mode.
#include "tests/skin_forms/provider_support.h"

#include "framework/ExtCtrls.h"
#include "framework/FormData.h"
#include "skin/core/sMessages.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/acSimpleAdapters.h"
#include "tests/support/live_objects.h"

using namespace providerskin;

namespace {

// A form that keeps a window region of its own until the skinned frame is first painted.
class TOwnRegionForm : public TForm {
    DECLARE_CLASS_NAME(TOwnRegionForm)
public:
    explicit TOwnRegionForm(TComponent* owner) : TForm(owner) {}
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == 0xBC4D && m.WParam == 0x41A2) {
            m.Result = 0x41A2;
            return;
        }
        TForm::Dispatch(m);
    }
};

LONG_PTR Style(HWND wnd)
{
    return GetWindowLongPtrW(wnd, GWL_STYLE);
}

bool HasRegion(HWND wnd)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(wnd, rgn);
    DeleteObject(rgn);
    return kind != ERROR;
}

} // namespace

class LifecycleTest : public ProviderTest {};

TEST_F(LifecycleTest, AttachingTakesOverProcedureStyleColourAndTheSkinnedFormsList)
{
    const TWndMethod before = Form->WindowProc;
    ASSERT_TRUE(Style(Wnd) & WS_SYSMENU);
    TsSkinProvider* p = Attach();
    EXPECT_EQ(p->Form(), Form);
    EXPECT_NE(Form->WindowProc, before);
    EXPECT_FALSE(Style(Wnd) & WS_SYSMENU);
    EXPECT_EQ(static_cast<COLORREF>(Form->Color()), kGlobalColor);
    bool listed = false;
    for (TCustomForm* f : SkinnedForms())
        listed = listed || f == Form;
    EXPECT_TRUE(listed);
}

TEST_F(LifecycleTest, FormAnswersItsProviderAndThatItIsSkinned)
{
    TsSkinProvider* p = Attach();
    EXPECT_EQ(SendSkinCmd(Wnd, SkinCmdGetProvider, 0), reinterpret_cast<LRESULT>(p));
    EXPECT_TRUE(QuerySkinCmdHwnd(Wnd, SkinCmdIsSkinned));
    EXPECT_EQ(TsSkinProvider::ProviderOfMenuItem(nullptr), nullptr);
    CacheReply.Ready = false;
    SendSkinCmd(Wnd, SkinCmdGetCache, 0);
    EXPECT_TRUE(CacheReply.Ready);
    EXPECT_EQ(CacheReply.Bmp, p->SkinData()->CacheBmp());
    EXPECT_EQ(CacheReply.X, p->ClientOffsetX());
    EXPECT_EQ(CacheReply.Y, p->ClientOffsetY());
}

TEST_F(LifecycleTest, RemovingTheProviderGivesBackProcedureStyleColourAndSquareCorners)
{
    const TWndMethod before = Form->WindowProc;
    TsSkinProvider* p = Attach();
    ASSERT_TRUE(HasRegion(Wnd));
    Free(p);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(Form->WindowProc, before);
    EXPECT_TRUE(Style(Wnd) & WS_SYSMENU);
    EXPECT_EQ(Form->Color(), clBtnFace);
    EXPECT_FALSE(HasRegion(Wnd));
    EXPECT_EQ(SendSkinCmd(Wnd, SkinCmdGetProvider, 0), 0);
    for (TCustomForm* f : SkinnedForms())
        EXPECT_NE(f, Form);
}

TEST_F(LifecycleTest, SecondProviderOnAFormStaysInert)
{
    TsSkinProvider* first = Attach();
    const TWndMethod withFirst = Form->WindowProc;
    auto* second = Create<TsSkinProvider>(Form);
    EXPECT_EQ(second->Form(), nullptr);
    EXPECT_EQ(Form->WindowProc, withFirst);
    EXPECT_EQ(SendSkinCmd(Wnd, SkinCmdGetProvider, 0), reinterpret_cast<LRESULT>(first));
    Free(second);
    EXPECT_EQ(Form->WindowProc, withFirst);
}

TEST_F(LifecycleTest, SkinRemovalGivesTheFormItsOwnLookBack)
{
    TsSkinProvider* p = Attach();
    Free(Manager);
    Manager = nullptr;
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_TRUE(Style(Wnd) & WS_SYSMENU);
    EXPECT_EQ(Form->Color(), clBtnFace);
    EXPECT_FALSE(HasRegion(Wnd));
    EXPECT_EQ(p->SkinData()->SkinIndex, -1);
    // Unskinned, every message reaches the form again.
    Form->Received.clear();
    SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetDC(Wnd)), 0);
    EXPECT_TRUE(Form->HasReceived(WM_ERASEBKGND));
}

TEST_F(LifecycleTest, SkinnedFormNeverSeesEraseIdleOrPrintClient)
{
    Attach();
    Form->Received.clear();
    HDC dc = GetDC(Wnd);
    EXPECT_EQ(SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    EXPECT_EQ(SendMessageW(Wnd, WM_ENTERIDLE, MSGF_MENU, 0), 0);
    SendMessageW(Wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ReleaseDC(Wnd, dc);
    EXPECT_FALSE(Form->HasReceived(WM_ERASEBKGND));
    EXPECT_FALSE(Form->HasReceived(WM_ENTERIDLE));
    EXPECT_FALSE(Form->HasReceived(WM_PRINTCLIENT));
}

TEST_F(LifecycleTest, ColourChangeWithoutCustomColourDoesNotReachTheForm)
{
    TsSkinProvider* p = Attach();
    Form->Received.clear();
    Form->Perform(CM_COLORCHANGED);
    EXPECT_FALSE(Form->HasReceived(CM_COLORCHANGED));
    p->SkinData()->SetCustomColor(true);
    Form->Perform(CM_COLORCHANGED);
    EXPECT_TRUE(Form->HasReceived(CM_COLORCHANGED));
}

TEST_F(LifecycleTest, FormWithItsOwnRegionKeepsItUntilTheFirstFrame)
{
    auto* own = Create<TOwnRegionForm>(Application);
    own->SetBounds(50, 50, 200, 150);
    auto* p = Create<TsSkinProvider>(own);
    p->UpdateRegionRects();
    p->UpdateFormRegion(false);
    EXPECT_FALSE(HasRegion(own->Handle()));
    own->Show();
    SendMessageW(own->Handle(), WM_NCPAINT, 1, 0);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_TRUE(p->FramePainted());
    p->UpdateFormRegion(false);
    EXPECT_TRUE(HasRegion(own->Handle()));
    Free(own);
}

TEST_F(LifecycleTest, SnapPullsTheFormFlushWithinTheBufferOnly)
{
    TsSkinProvider* p = Attach();
    p->ScreenSnap = true;
    RECT work;
    GetWorkArea(work);
    const int w = p->FormWidth();
    SetWindowPos(Wnd, nullptr, work.right - w - 9, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect().right, work.right);
    SetWindowPos(Wnd, nullptr, work.right - w - 10, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect().right, work.right - 10);
    p->ScreenSnap = false;
    SetWindowPos(Wnd, nullptr, work.right - w - 9, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect().right, work.right - 9);
}

TEST_F(LifecycleTest, MaximizedSizeCoversTheWorkAreaAndTheFrame)
{
    TsSkinProvider* p = Attach();
    MINMAXINFO info{};
    SendMessageW(Wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT work;
    GetWorkArea(work);
    const int frame = p->SysBorderWidth();
    EXPECT_EQ(info.ptMaxTrackSize.x, work.right - work.left + 2 * frame);
    EXPECT_EQ(info.ptMaxTrackSize.y, work.bottom - work.top + 2 * frame);
    EXPECT_EQ(info.ptMaxPosition.x, -frame);
    EXPECT_EQ(info.ptMaxPosition.y, -frame);
}

TEST_F(LifecycleTest, OutlineModeMovesTheFormOnRelease)
{
    TsSkinProvider* p = Attach();
    p->ResizeMode = rmBorder;
    const RECT before = WindowRect();
    const int x = before.left + 160, y = before.top + 8;
    SetCursorPos(x, y);
    SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    EXPECT_EQ(GetCapture(), Wnd);
    SetCursorPos(x + 30, y + 20);
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
    // Nothing moves while the outline is dragged.
    EXPECT_EQ(WindowRect().left, before.left);
    SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(WindowRect().left, before.left + 30);
    EXPECT_EQ(WindowRect().top, before.top + 20);
    EXPECT_EQ(WindowRect().right - WindowRect().left, before.right - before.left);
}

TEST_F(LifecycleTest, OutlineModeSizesFromTheRightEdge)
{
    TsSkinProvider* p = Attach();
    p->ResizeMode = rmBorder;
    const RECT before = WindowRect();
    const int x = before.right - 1, y = before.top + 100;
    SetCursorPos(x, y);
    SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(x, y));
    // The first move only marks where the drag starts from.
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
    SetCursorPos(x + 40, y + 15);
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
    SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
    testsupport::PumpMessagesUntilIdle(200);
    const RECT after = WindowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right + 40);
    EXPECT_EQ(after.bottom, before.bottom);
}

// The system menu's Move and Size drag the outline from the mouse until the next click; Size takes the
// bottom-right corner, not the edge the mouse last passed over.
TEST_F(LifecycleTest, OutlineModeMoveAndSizeFromTheSystemMenuFollowTheMouse)
{
    TsSkinProvider* p = Attach();
    p->ResizeMode = rmBorder;
    for (TMenuItem* item : {p->SystemMenu()->ItemSize, p->SystemMenu()->ItemMove}) {
        const RECT before = WindowRect();
        const int moved = item == p->SystemMenu()->ItemMove;
        HitTest(1, 100); // the left edge
        SetCursorPos(before.left + 150, before.top + 100);
        item->Click();
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
        SetCursorPos(before.left + 190, before.top + 115);
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
        SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
        const RECT after = WindowRect();
        EXPECT_EQ(GetCapture(), nullptr) << moved;
        EXPECT_EQ(after.left - before.left + after.top - before.top, moved * 55) << moved;
        EXPECT_EQ(after.right - before.right + after.bottom - before.bottom, 55) << moved;
    }
}

// A form given a parent keeps a window of its own on the screen: dragged by its outline, it lands
// where the mouse took it.
TEST_F(LifecycleTest, OutlineModeMovesAFormInAParentByTheMouseOnly)
{
    auto* host = Create<TForm>(Application);
    host->SetBounds(40, 40, 600, 500);
    host->Show();
    Form->SetParent(host);
    Form->SetBounds(50, 60, 320, 220);
    Wnd = Form->Handle();
    TsSkinProvider* p = Attach();
    EXPECT_TRUE(HasRegion(Wnd)); // the skin's corners, as a form of its own has
    p->ResizeMode = rmBorder;
    const RECT before = WindowRect();
    DragCaptionBy(Wnd, before.left + 160, before.top + 8, 30, 20);
    EXPECT_EQ(WindowRect().left, before.left + 30);
    EXPECT_EQ(WindowRect().top, before.top + 20);
    Free(Form);
    Form = nullptr;
    Free(host);
}

// Losing the mouse mid-drag (to a message box, Alt+Tab, a capture taken elsewhere) ends the outline as if
// it never began: nothing stays drawn on the screen, the screen's DC goes back, the form stays where it
// was, a later release moves nothing, and the next drag moves the form as before.
TEST_F(LifecycleTest, OutlineModeEndsWithoutMovingWhenTheCaptureIsLost)
{
    TsSkinProvider* p = Attach();
    p->ResizeMode = rmBorder;
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const RECT before = WindowRect();
    const int x = before.left + 160, y = before.top + 8;
    DragCaptionBy(Wnd, x, y, 0, 0); // whatever a drag makes once is made
    HDC screen = GetDC(nullptr);
    const POINT onOutline{before.right + 30, before.top + 60}; // the dragged outline's right side, off the form
    const COLORREF desktop = GetPixel(screen, onOutline.x, onOutline.y);
    const int gdi = testsupport::CountGdiObjects();
    for (int i = 0; i < 10; ++i) {
        SetCursorPos(x, y);
        SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
        SetCursorPos(x + 30, y + 20);
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
        ASSERT_EQ(GetCapture(), Wnd);
        if (i % 2)
            SetCapture(other);
        ReleaseCapture();
        EXPECT_EQ(GetPixel(screen, onOutline.x, onOutline.y), desktop) << i;
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
        SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
        testsupport::PumpMessagesUntilIdle(200);
        EXPECT_EQ(WindowRect().left, before.left) << i;
        EXPECT_EQ(WindowRect().top, before.top) << i;
        EXPECT_EQ(GetCapture(), nullptr) << i;
    }
    EXPECT_LE(testsupport::CountGdiObjects(), gdi + 3);
    ReleaseDC(nullptr, screen);
    DestroyWindow(other);
    DragCaptionBy(Wnd, x, y, 30, 20);
    EXPECT_EQ(WindowRect().left, before.left + 30);
    EXPECT_EQ(WindowRect().top, before.top + 20);
}

// A provider that goes in the middle of an outline drag lets the mouse go and hands the screen's DC
// back; the next provider drags as if nothing had happened.
TEST_F(LifecycleTest, AProviderFreedMidDragLeavesNoCaptureOrDesktopDCBehind)
{
    const RECT before = WindowRect();
    const int x = before.right - 1, y = before.top + 100;
    auto startDrag = [&] {
        auto* p = Create<TsSkinProvider>(Form);
        p->ResizeMode = rmBorder;
        SetCursorPos(x, y);
        SendMessageW(Wnd, WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(x, y));
        return p;
    };
    Free(startDrag());
    EXPECT_NE(GetCapture(), Wnd);
    const int gdi = testsupport::CountGdiObjects();
    for (int i = 0; i < 20; ++i)
        Free(startDrag());
    EXPECT_LE(testsupport::CountGdiObjects(), gdi + 5);
    startDrag();
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
    SetCursorPos(x + 40, y);
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, 0);
    SendMessageW(Wnd, WM_LBUTTONUP, 0, 0);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_EQ(WindowRect().right, before.right + 40);
}

TEST_F(LifecycleTest, DialogsShowWithTheDialogEffectOtherFormsWithTheFormEffect)
{
    TsSkinProvider* provider = Attach();
    EXPECT_EQ(provider->ShowAnimation(), Manager->AnimEffects()->FormShow());
    Form->SetBorderStyle(bsDialog);
    EXPECT_EQ(provider->ShowAnimation(), Manager->AnimEffects()->DialogShow());
}

namespace {

// A root whose handlers the provider's events name in form data.
class TProviderEventsRoot : public TComponent, public IFormBindingsSource {
    DECLARE_CLASS_NAME(TProviderEventsRoot)
public:
    explicit TProviderEventsRoot(TComponent* owner) : TComponent(owner) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"SkinItem", this, &TProviderEventsRoot::SkinItem);
        b.Handler(L"HelpDown", this, &TProviderEventsRoot::HelpDown);
    }
    void SkinItem(TControl*, bool& canBeAdded, std::wstring& section)
    {
        canBeAdded = false;
        section = L"PANEL";
    }
    void HelpDown(TObject*, TMouseButton, TShiftState, int x, int) { Downs.push_back(x); }
    std::vector<int> Downs;
};

} // namespace

TEST(ProviderFormData, TitleButtonsIconAndSkinItemEventComeFromFormData)
{
    RegisterSkinProviderClasses();
    RegisterClass<TProviderEventsRoot>(L"TProviderEventsRoot", L"TComponent");
    const std::string glyph = BitmapFile(3, 2, [](int x, int) { return x == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    std::string hex;
    for (unsigned char c : glyph) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    const std::wstring text = L"object Root: TProviderEventsRoot\r\n  object Provider: TsSkinProvider\r\n"
                              L"    TitleButtons = <\r\n      item\r\n        Name = 'Help'\r\n        Enabled = False\r\n"
                              L"        UseSkinData = False\r\n        Glyph = {" + testsupport::Widen(hex) + L"}\r\n"
                              L"        OnMouseDown = HelpDown\r\n      end\r\n      item\r\n      end>\r\n"
                              L"    TitleIcon.Glyph = {" + testsupport::Widen(hex) + L"}\r\n"
                              L"    TitleIcon.Width = 16\r\n    TitleIcon.Height = 14\r\n"
                              L"    OnSkinItem = SkinItem\r\n  end\r\nend\r\n";
    TOwned<TProviderEventsRoot> root(Create<TProviderEventsRoot>(nullptr));
    TFormReader reader(root.get(), L"test.frm");
    reader.Read(ParseFormData(testsupport::Narrow(text), L"test.frm"));
    auto* provider = dynamic_cast<TsSkinProvider*>(root->FindComponent(L"Provider"));
    ASSERT_NE(provider, nullptr);
    ASSERT_EQ(provider->TitleButtons()->Count(), 2);
    TsTitleButton* help = provider->TitleButtons()->Items(0);
    EXPECT_EQ(help->Name(), L"Help");
    EXPECT_FALSE(help->Enabled);
    EXPECT_FALSE(help->UseSkinData);
    EXPECT_EQ(help->Glyph()->Width(), 3);
    help->MouseDown(7, 8);
    EXPECT_EQ(root->Downs, std::vector<int>{7});
    TsTitleButton* plain = provider->TitleButtons()->Items(1);
    EXPECT_EQ(plain->Name(), L"TsTitleButton");
    EXPECT_TRUE(plain->Enabled && plain->UseSkinData);
    EXPECT_EQ(provider->TitleIcon()->Glyph()->Height(), 2);
    EXPECT_EQ(provider->TitleIcon()->Width, 16);
    EXPECT_EQ(provider->TitleIcon()->Height, 14);
    bool canBeAdded = true;
    std::wstring section = L"BUTTON";
    provider->OnSkinItem(nullptr, canBeAdded, section);
    EXPECT_FALSE(canBeAdded);
    EXPECT_EQ(section, L"PANEL");
}

// Panels are left alone by the scan of the form, but one put on the skinned form later is adapted as a
// transparent panel of the panel section.
TEST_F(LifecycleTest, APanelPutOnTheSkinnedFormLaterGetsItsAdapter)
{
    auto* early = Create<TPanel>(Form);
    early->SetBounds(10, 10, 60, 40);
    early->SetParent(Form);
    TsSkinProvider* p = Attach();
    ASSERT_NE(p->Adapter(), nullptr);
    EXPECT_EQ(AdapterOfWindow(early->Handle()), nullptr);
    auto* panel = Create<TPanel>(Form);
    panel->SetBounds(100, 10, 60, 40);
    panel->SetParent(Form);
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_NE(dynamic_cast<TacTransPanelWnd*>(AdapterOfWindow(panel->Handle())), nullptr);
    auto* chooser = dynamic_cast<TacCtrlAdapter*>(p->Adapter());
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->Count(), 1);
    EXPECT_EQ(chooser->GetItem(0)->Control, panel);
    EXPECT_EQ(chooser->GetItem(0)->SkinData->SkinSection(), L"PANEL");
}
