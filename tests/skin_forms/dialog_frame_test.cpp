// System dialogs under the hook's frame adapter: every child adapted, the skin's frame, caption and
// buttons on the window, hit codes (the grip, an iconic dialog's buttons) and title-button clicks, the
// help button, double clicks and the right-button menu on the caption, client releases left to the
// dialog, frames without a caption, the region cut from the border's corners, one background brush per
// dialog, the system menu's items, and the provider gone with its dialog.
#include "skin/forms/acDialogWnd.h"
#include "skin/forms/acDials.h"

#include "framework/Dialogs.h"
#include "framework/Startup.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "tests/skin_forms/provider_support.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace {

using namespace providerskin;

bool gVetoRegion = false;
// What reached the dialog's own procedure: its system commands and its client button releases.
std::vector<WPARAM> gSysCommands;
std::vector<WPARAM> gButtonUps;
// The picture the OK button is given when the dialog starts, if any.
HBITMAP gOkGlyph = nullptr;
// How often the dialog and its OK button heard that their visual style changed.
std::map<HWND, int> gThemeChanges;
WNDPROC gOkProc = nullptr;

LRESULT CALLBACK OkButtonProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_THEMECHANGED)
        ++gThemeChanges[wnd];
    return CallWindowProcW(gOkProc, wnd, msg, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_SYSCOMMAND) {
        gSysCommands.push_back(wParam & 0xFFF0);
        // The system's context help would wait for a click of its own.
        return (wParam & 0xFFF0) == SC_CONTEXTHELP;
    }
    if (msg == WM_LBUTTONUP)
        gButtonUps.push_back(wParam);
    if (msg == 0xBC4D && wParam == 0x41A2 && gVetoRegion) {
        SetWindowLongPtrW(wnd, DWLP_MSGRESULT, 0x41A2);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        DestroyWindow(wnd);
        return TRUE;
    }
    if (msg == WM_THEMECHANGED)
        ++gThemeChanges[wnd];
    if (msg == WM_INITDIALOG && gOkGlyph)
        SendDlgItemMessageW(wnd, IDOK, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(gOkGlyph));
    if (msg == WM_INITDIALOG)
        gOkProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(GetDlgItem(wnd, IDOK), GWLP_WNDPROC,
                                                              reinterpret_cast<LONG_PTR>(OkButtonProc)));
    return msg == WM_INITDIALOG;
}

// An in-memory dialog template: the dialog, then its items, each aligned to four bytes.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* caption, short cx, short cy)
    {
        Header(style, exStyle, caption, cx, cy);
    }
    void Item(DWORD style, WORD classAtom, const wchar_t* text, short x, short y, short cx, short cy, WORD id)
    {
        Align();
        DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, id};
        Put(&item, sizeof(item));
        const WORD cls[2] = {0xFFFF, classAtom};
        Put(cls, sizeof(cls));
        PutText(text);
        Word(0);
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Header(DWORD style, DWORD exStyle, const wchar_t* caption, short cx, short cy)
    {
        DLGTEMPLATE t{style | DS_SETFONT, exStyle, 0, 10, 10, cx, cy};
        Put(&t, sizeof(t));
        Word(0);
        Word(0);
        PutText(caption);
        Word(8);
        PutText(L"MS Shell Dlg");
    }
    void Put(const void* data, size_t size)
    {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Word(WORD w) { Put(&w, sizeof(w)); }
    void PutText(const wchar_t* text) { Put(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    std::vector<std::uint8_t> bytes_;
};

class DialogFrame : public ProviderTest {
protected:
    DialogFrame() { Rules = {srStdDialogs, srThirdParty}; }
    void TearDown() override
    {
        gVetoRegion = false;
        gSysCommands.clear();
        gButtonUps.clear();
        gOkGlyph = nullptr;
        gThemeChanges.clear();
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        ProviderTest::TearDown();
    }
    // Shows a dialog with a default button, a text and a group box, and lets the hook adapt it.
    HWND Show(DWORD style, DWORD exStyle = 0, DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU)
    {
        DialogTemplate t(style | frame, exStyle, L"Настройка", 200, 100);
        t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP | OkStyle, 0x0080, L"ОК", 140, 75, 50, 14, IDOK);
        t.Item(SS_LEFT, 0x0082, L"Текст диалога", 10, 10, 100, 10, 100);
        t.Item(BS_GROUPBOX, 0x0080, L"Группа", 10, 25, 120, 60, 101);
        dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, DialogProc, 0);
        EXPECT_NE(dialog, nullptr);
        SetWindowPos(dialog, nullptr, 150, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(dialog, SW_SHOW);
        SetForegroundWindow(dialog);
        testsupport::PumpMessagesUntilIdle(400);
        return dialog;
    }
    TacDialogWnd* Frame() const
    {
        TacProvider* provider = FindProviderByHandle(dialog);
        return provider ? dynamic_cast<TacDialogWnd*>(provider->DialogWnd.get()) : nullptr;
    }
    LRESULT HitAt(int x, int y) const
    {
        RECT r;
        GetWindowRect(dialog, &r);
        return SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
    }
    // The screen point of a point in the dialog's window.
    LPARAM ScreenAt(int x, int y) const
    {
        RECT r;
        GetWindowRect(dialog, &r);
        return MAKELPARAM(r.left + x, r.top + y);
    }
    LPARAM ScreenAt(const TRect& r) const { return ScreenAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
    HWND dialog = nullptr;
    DWORD OkStyle = 0; // added to the OK button's style
};

BOOL CALLBACK CountUnskinned(HWND child, LPARAM lParam)
{
    if (!QuerySkinCmdHwnd(child, SkinCmdIsSkinned))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

TEST_F(DialogFrame, TheDialogAndEveryChildAnswerThatTheyAreSkinned)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(QuerySkinCmdHwnd(dialog, SkinCmdIsSkinned));
    int unskinned = 0;
    EnumChildWindows(dialog, CountUnskinned, reinterpret_cast<LPARAM>(&unskinned));
    EXPECT_EQ(unskinned, 0);
    EXPECT_EQ(FindProviderByHandle(dialog)->ChildWnds.size(), 3u);
    EXPECT_EQ(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_SYSMENU, 0) << "the system draws no buttons of its own";
}

TEST_F(DialogFrame, TheWindowShowsTheSkinsFrameCaptionAndButtons)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FrameKind, 0);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(dialog, true);
    const int captionY = frame->BorderHeight() + frame->CaptionHeight() / 2;
    EXPECT_EQ(shot.At(shot.width / 2 + 20, captionY), kTitleActive);
    EXPECT_EQ(shot.At(shot.width - 2, shot.height / 2), kBorderActive);
    RECT client;
    GetClientRect(dialog, &client);
    const TPoint offset = frame->ClientOffset();
    // Right of the text and above the group box: the dialog's own background.
    EXPECT_EQ(shot.At(offset.X + client.right * 3 / 4, offset.Y + 6), kDialogColor);
    if (HasFailure())
        Keep(shot, L"dialog");
    const TRect close = frame->CloseButton.Rect;
    ASSERT_FALSE(close.IsEmpty());
    EXPECT_EQ(shot.At(close.Left + 2, close.Top + 2), ButtonColor(bkSmallClose, 0));
    const TRect ok = [&] {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, IDOK), &r);
        RECT d;
        GetWindowRect(dialog, &d);
        return TRect{r.left - d.left, r.top - d.top, r.right - d.left, r.bottom - d.top};
    }();
    EXPECT_EQ(shot.At(ok.Left + 3, ok.Top + 3), kDialogButtonColor);
}

// What the window shows now, read from its DC without asking it to paint first.
testsupport::Pixels24 ShownPixels(HWND wnd)
{
    RECT r;
    GetWindowRect(wnd, &r);
    testsupport::Pixels24 pix;
    pix.width = r.right - r.left;
    pix.height = r.bottom - r.top;
    pix.bgr.resize(static_cast<size_t>(pix.width) * pix.height * 3);
    HDC dc = GetWindowDC(wnd);
    for (int y = 0; y < pix.height; ++y)
        for (int x = 0; x < pix.width; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            std::uint8_t* p = &pix.bgr[(static_cast<size_t>(y) * pix.width + x) * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    ReleaseDC(wnd, dc);
    return pix;
}

// A child's rectangle in the coordinates of the dialog's window.
RECT InDialog(HWND dialog, HWND child)
{
    RECT r, d;
    GetWindowRect(child, &r);
    GetWindowRect(dialog, &d);
    OffsetRect(&r, -d.left, -d.top);
    return r;
}

TEST_F(DialogFrame, TheBackgroundReachesEveryChildsEdgeAndTheGroupBoxInterior)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    // Whatever the screen held before (black here) must be painted over everywhere around the children:
    // their places are left out where they lie in the client area, not shifted by the frame's size.
    {
        HDC dc = GetDC(dialog);
        RECT client;
        GetClientRect(dialog, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(dialog, dc);
    }
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(dialog, true);
    // Texts are thinner than four pixels: a solid black 4 x 4 block is a place nobody painted.
    int blocks = 0;
    for (int y = 0; y + 4 <= shot.height; ++y)
        for (int x = 0; x + 4 <= shot.width; ++x) {
            bool solid = true;
            for (int i = 0; i < 16 && solid; ++i)
                solid = shot.At(x + i % 4, y + i / 4) == 0;
            blocks += solid;
        }
    EXPECT_EQ(blocks, 0);
    const RECT group = InDialog(dialog, GetDlgItem(dialog, 101));
    EXPECT_EQ(shot.At((group.left + group.right) / 2, (group.top + group.bottom) / 2), kDialogColor);
    if (HasFailure())
        Keep(shot, L"dialog-background");
}

TEST_F(DialogFrame, AGroupBoxNeverShowsTheSystemsFrame)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    HWND box = GetDlgItem(dialog, 101);
    const RECT group = InDialog(dialog, box);
    const auto systemPixels = [&](const testsupport::Pixels24& shot) {
        int n = 0;
        for (int y = group.top; y < group.bottom; ++y)
            for (int x = group.left; x < group.right; ++x) {
                const COLORREF c = shot.At(x, y);
                n += c == GetSysColor(COLOR_3DSHADOW) || c == GetSysColor(COLOR_3DHIGHLIGHT) ||
                     c == GetSysColor(COLOR_BTNFACE);
            }
        return n;
    };
    EXPECT_EQ(systemPixels(testsupport::CaptureWindow(dialog, true)), 0) << "after a paint";
    // The system's box draws itself straight to the screen when its keyboard cues or its state change.
    SendMessageW(box, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
    SendMessageW(box, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
    EnableWindow(box, FALSE);
    EnableWindow(box, TRUE);
    SetWindowTextW(box, L"Другая группа");
    testsupport::PumpMessagesUntilIdle(200);
    const testsupport::Pixels24 shown = ShownPixels(dialog);
    EXPECT_EQ(systemPixels(shown), 0) << "after its state changed";
    if (HasFailure())
        Keep(shown, L"group-box");
}

TEST_F(DialogFrame, AChangeWithDrawingOffKeepsThePaintsTheDialogStillOwes)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    HWND text = GetDlgItem(dialog, 100);
    InvalidateRect(text, nullptr, FALSE);
    // The frame turns drawing off around the dialog's own handling of these messages.
    SendMessageW(dialog, WM_NCACTIVATE, TRUE, 0);
    SetWindowTextW(dialog, L"Другой заголовок");
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(text, &pending, FALSE));
    EXPECT_GT(pending.right, 0);
}

TEST_F(DialogFrame, APushButtonWithAPictureShowsItsPicture)
{
    constexpr COLORREF kGlyph = RGB(0xFF, 0x00, 0x00);
    std::vector<DWORD> bits(12 * 12, 0x00FF0000); // red: each pixel is blue, green, red, unused
    bits[0] = 0x00FF00FF;                         // the corner's colour is the transparent one
    GdiObject<HBITMAP> glyph(CreateBitmap(12, 12, 1, 32, bits.data()));
    gOkGlyph = glyph.Get();
    OkStyle = BS_BITMAP;
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    ASSERT_EQ(SendDlgItemMessageW(dialog, IDOK, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(glyph.Get()));
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(dialog, true);
    const RECT ok = InDialog(dialog, GetDlgItem(dialog, IDOK));
    int shown = 0;
    for (int y = ok.top; y < ok.bottom; ++y)
        for (int x = ok.left; x < ok.right; ++x)
            shown += shot.At(x, y) == kGlyph;
    EXPECT_EQ(shown, 12 * 12 - 1);
    EXPECT_EQ(shot.At(ok.left + 2, ok.top + 2), kDialogButtonColor);
    if (HasFailure())
        Keep(shot, L"picture-button");
}

TEST_F(DialogFrame, APrintShowsTheScreensBackgroundAndLeavesOwedRepaintsOwed)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    const testsupport::Pixels24 screen = testsupport::CaptureWindow(dialog, false);
    const RECT owed{10, 10, 40, 30};
    InvalidateRect(dialog, &owed, FALSE);
    HDC like = GetDC(dialog);
    const testsupport::Pixels24 printed = testsupport::DrawnPixels(screen.width, screen.height, like, [&](HDC dc) {
        SendMessageW(dialog, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    });
    ReleaseDC(dialog, like);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(dialog, &pending, FALSE));
    // The rows above the children, who paint themselves on the screen and are left out of a print.
    int differ = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < screen.width; ++x)
            differ += printed.At(x, y) != screen.At(x, y);
    EXPECT_EQ(differ, 0);
    if (HasFailure())
        Keep(printed, L"printed");
}

TEST_F(DialogFrame, TitleButtonsAnswerHitCodesAndTheCloseButtonClosesTheDialog)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    const TRect close = frame->CloseButton.Rect;
    const int cx = (close.Left + close.Right) / 2, cy = (close.Top + close.Bottom) / 2;
    EXPECT_EQ(HitAt(cx, cy), HTCLOSE);
    EXPECT_EQ(frame->HotButton, HTCLOSE);
    EXPECT_EQ(HitAt(frame->BorderWidth() + 2, cy), HTSYSMENU);
    EXPECT_EQ(HitAt(close.Left - 30, cy), HTCAPTION);
    EXPECT_EQ(frame->HotButton, 0);
    RECT r;
    GetWindowRect(dialog, &r);
    const LPARAM at = MAKELPARAM(r.left + cx, r.top + cy);
    SendMessageW(dialog, WM_NCLBUTTONDOWN, HTCLOSE, at);
    EXPECT_EQ(frame->CloseButton.State, 2);
    SendMessageW(dialog, WM_NCLBUTTONUP, HTCLOSE, at);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(DialogFrame, TheFrameKeepsTheDialogsVisualStyleAndEveryAdapterGivesItsWindowTheSystemsBack)
{
    TStartup themes; // this program's other tests run without the visual-styles entries
    AddThemeApiStartupStep(themes);
    themes.Start();
    ASSERT_NE(ThemeApi().SetWindowTheme, nullptr);
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    HWND ok = GetDlgItem(dialog, IDOK);
    EXPECT_EQ(gThemeChanges[dialog], 0);
    const int offAtAdapting = gThemeChanges[ok];
    EXPECT_GT(offAtAdapting, 0) << "a button's style is switched off";
    delete FindProviderByHandle(dialog);
    EXPECT_EQ(gThemeChanges[dialog], 1);
    EXPECT_GT(gThemeChanges[ok], offAtAdapting);
}

TEST_F(DialogFrame, TheProviderGoesWithItsDialog)
{
    const auto live = [] {
        int count = 0;
        for (TObject* object : *ProviderList())
            count += object ? 1 : 0;
        return count;
    };
    const int before = live();
    for (int i = 0; i < 3; ++i) {
        Show(DS_MODALFRAME);
        ASSERT_NE(Frame(), nullptr);
        EXPECT_EQ(live(), before + 1);
        const HWND gone = dialog;
        DestroyWindow(dialog);
        testsupport::PumpMessagesUntilIdle(100);
        EXPECT_EQ(FindProviderByHandle(gone), nullptr);
        EXPECT_EQ(live(), before);
    }
}

TEST_F(DialogFrame, TheRegionLeavesOutTheBordersKeyColouredCorners)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_FALSE(Frame()->CornerRects.empty());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dialog, region), ERROR);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_TRUE(PtInRegion(region, (r.right - r.left) / 2, 0));
    DeleteObject(region);
}

TEST_F(DialogFrame, ADialogThatVetoesRegionsKeepsItsRectangle)
{
    gVetoRegion = true;
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog, region), ERROR);
    DeleteObject(region);
}

TEST_F(DialogFrame, TheBackgroundBrushIsMadeOncePerDialog)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    HDC dc = GetDC(dialog);
    const LRESULT first = SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog));
    const LRESULT second = SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog));
    ReleaseDC(dialog, dc);
    EXPECT_NE(first, 0);
    EXPECT_EQ(first, second);
    LOGBRUSH lb{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HBRUSH>(first), sizeof(lb), &lb), 0);
    EXPECT_EQ(lb.lbColor, kGlobalColor);
}

TEST_F(DialogFrame, TheSystemMenuShowsWhatTheFrameAllows)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    TacSystemMenu* menu = Frame()->SystemMenu.get();
    menu->UpdateItems();
    EXPECT_FALSE(menu->miRestore->Visible()) << "a modal frame";
    EXPECT_FALSE(menu->miSize->Visible());
    EXPECT_TRUE(menu->miMove->Visible());
    EXPECT_TRUE(menu->miClose->Visible());
    EXPECT_FALSE(menu->miMaximize->Visible());
    DestroyWindow(dialog);

    Show(WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_EQ(Frame()->FrameKind, 3);
    menu = Frame()->SystemMenu.get();
    menu->UpdateItems();
    EXPECT_TRUE(menu->miSize->Visible());
    EXPECT_TRUE(menu->miSize->Enabled());
    EXPECT_TRUE(menu->miMaximize->Visible());
    EXPECT_TRUE(menu->miMaximize->Enabled());
    EXPECT_FALSE(menu->miRestore->Enabled());
    EXPECT_EQ(HitAt(Frame()->MaxButton.Rect.Left + 2, Frame()->MaxButton.Rect.Top + 2), HTMAXBUTTON);
}

TEST_F(DialogFrame, ADialogRefusedPartWayKeepsTheSystemLookEntirely)
{
    // The wide tab page comes after the button in z-order: the button was adapted first.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // A plain window of the dialog class, so that nothing activates it before both children are there.
    dialog = CreateWindowExW(0, L"#32770", L"Вкладки", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 200,
                             500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    CreateWindowExW(0, L"Button", L"ОК", WS_CHILD | WS_VISIBLE, 10, 10, 75, 23, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), GetModuleHandleW(nullptr), nullptr);
    HWND tabs = CreateWindowExW(0, L"SysTabControl32", L"", WS_CHILD | WS_VISIBLE, 0, 0, 470, 349, dialog, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(FindProviderByHandle(dialog), nullptr);
    EXPECT_FALSE(QuerySkinCmdHwnd(dialog, SkinCmdIsSkinned));
    EXPECT_FALSE(QuerySkinCmdHwnd(GetDlgItem(dialog, IDOK), SkinCmdIsSkinned));
    EXPECT_NE(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_SYSMENU, 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog, region), ERROR);
    DeleteObject(region);
}

TEST_F(DialogFrame, AClientReleaseWithKeysHeldReachesTheDialogAndPressesNoButton)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    // Ctrl alone has the minimize button's hit code.
    SendMessageW(dialog, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(20, 20));
    ASSERT_EQ(gButtonUps.size(), 1u);
    EXPECT_EQ(gButtonUps[0], static_cast<WPARAM>(MK_CONTROL));
    // Shift with the middle button held has the close button's, with the close button pressed.
    const LPARAM close = ScreenAt(frame->CloseButton.Rect);
    SendMessageW(dialog, WM_NCLBUTTONDOWN, HTCLOSE, close);
    SendMessageW(dialog, WM_LBUTTONUP, MK_SHIFT | MK_MBUTTON, MAKELPARAM(20, 20));
    testsupport::PumpMessagesUntilIdle(100);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(gButtonUps.size(), 2u);
}

TEST_F(DialogFrame, TheGripAnswersWhereItsImageIsPainted)
{
    Show(WS_THICKFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->FrameKind, 3);
    RECT r;
    GetWindowRect(dialog, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int bw = frame->BorderWidth(), bh = frame->BorderHeight();
    // The skin's grip is 10 x 10, smaller than a scroll bar's corner.
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(dialog, true);
    EXPECT_EQ(shot.At(w - bw - 5, h - bh - 8), kGripColor);
    EXPECT_EQ(HitAt(w - bw - 5, h - bh - 5), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(w - bw - 9, h - bh - 9), HTBOTTOMRIGHT);
    EXPECT_NE(HitAt(w - bw - 13, h - bh - 13), HTBOTTOMRIGHT) << "left of and above the grip";
    EXPECT_NE(HitAt(w - bw - 13, h - bh - 5), HTBOTTOMRIGHT);
}

struct IconicCase {
    DWORD Style;
    int Place; // counted from the right, the close button first
    int Code;  // what the frame answers there
};

class IconicDialog : public DialogFrame, public ::testing::WithParamInterface<IconicCase> {};

TEST_P(IconicDialog, TitleButtonsAnswerByTheirPlace)
{
    Show(DS_MODALFRAME | GetParam().Style);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    ShowWindow(dialog, SW_MINIMIZE);
    testsupport::PumpMessagesUntilIdle(200);
    ASSERT_TRUE(IsIconic(dialog));
    RECT r;
    GetWindowRect(dialog, &r);
    const int y = (frame->CaptionHeight() + frame->BorderHeight()) / 2;
    const int width = frame->ButtonWidth(frame->CloseButton);
    ASSERT_EQ(width, frame->ButtonWidth(frame->MinButton));
    const int x = r.right - r.left - frame->BorderWidth() - width * GetParam().Place + width / 2;
    HitAt(x, y); // the frame takes the iconic window's size
    EXPECT_EQ(frame->HitTest(TPoint{x, y}), GetParam().Code);
}

INSTANTIATE_TEST_SUITE_P(DialogFrame, IconicDialog,
                         ::testing::Values(
                             // Beside the close button the minimize button cannot minimize any more.
                             IconicCase{WS_MINIMIZEBOX, 2, HTCAPTION},
                             // Beside the maximize button it restores.
                             IconicCase{WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 3, HTMINBUTTON},
                             IconicCase{WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 2, HTMAXBUTTON}));

struct CaptionlessCase {
    const char* Name;
    DWORD Frame;
};

class CaptionlessDialog : public DialogFrame, public ::testing::WithParamInterface<CaptionlessCase> {};

TEST_P(CaptionlessDialog, HasNoCaptionNoButtonsAndNoRegionAndPaintsItsEdgesOnly)
{
    Show(0, 0, GetParam().Frame);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FrameKind, 2);
    EXPECT_EQ(frame->CaptionHeight(), 0);
    EXPECT_TRUE(frame->CloseButton.Rect.IsEmpty());
    RECT r;
    GetWindowRect(dialog, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_NE(HitAt(w - 8, 4), HTCLOSE);
    EXPECT_NE(HitAt(4, 4), HTSYSMENU);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog, region), ERROR);
    DeleteObject(region);
    HDC dc = GetWindowDC(dialog);
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(dialog, dc);
    SendMessageW(dialog, WM_NCPAINT, 1, 0);
    const testsupport::Pixels24 shown = ShownPixels(dialog);
    if (!(GetParam().Frame & WS_THICKFRAME)) {
        // Every edge is painted, and nothing within the client area.
        POINT inner{0, 0};
        ClientToScreen(dialog, &inner);
        inner = POINT{inner.x - r.left, inner.y - r.top};
        for (const POINT edge : {POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, 0}, POINT{w / 2, h - 1}})
            EXPECT_NE(shown.At(edge.x, edge.y), 0u) << edge.x << "," << edge.y;
        EXPECT_EQ(shown.At(inner.x, inner.y), 0u);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(shown.At(i, h / 2), 0u) << i;
        EXPECT_NE(shown.At(w - 1 - i, h / 2), 0u) << i;
        EXPECT_NE(shown.At(w / 2, h - 1 - i), 0u) << i;
    }
    RECT client;
    GetClientRect(dialog, &client);
    // Within the frame but inside the three pixels, the window stays as it was.
    if ((w - client.right) / 2 > 3) {
        EXPECT_EQ(shown.At(3, h / 2), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(DialogFrame, CaptionlessDialog,
                         ::testing::Values(CaptionlessCase{"ThickFrame", WS_POPUP | WS_THICKFRAME | WS_SYSMENU},
                                           CaptionlessCase{"ModalFrame", WS_POPUP | DS_MODALFRAME | WS_SYSMENU},
                                           CaptionlessCase{"HalfCaption", WS_POPUP | WS_BORDER | WS_SYSMENU}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DialogFrame, TheHelpButtonComesWithTheContextHelpStyleAndAsksForHelp)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->HelpButton.Rect.IsEmpty());
    EXPECT_EQ(frame->ButtonsBlockWidth(), frame->ButtonWidth(frame->CloseButton));
    DestroyWindow(dialog);

    Show(DS_MODALFRAME, WS_EX_CONTEXTHELP);
    frame = Frame();
    ASSERT_NE(frame, nullptr);
    const TRect help = frame->HelpButton.Rect;
    ASSERT_FALSE(help.IsEmpty());
    EXPECT_EQ(help.Right, frame->CloseButton.Rect.Left);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(dialog, true);
    EXPECT_EQ(shot.At(help.Left + 2, help.Top + 2), ButtonColor(bkHelp, 0));
    EXPECT_EQ(HitAt((help.Left + help.Right) / 2, (help.Top + help.Bottom) / 2), HTHELP);
    gSysCommands.clear();
    SendMessageW(dialog, WM_NCLBUTTONDOWN, HTHELP, ScreenAt(help));
    SendMessageW(dialog, WM_NCLBUTTONUP, HTHELP, ScreenAt(help));
    EXPECT_EQ(gSysCommands, std::vector<WPARAM>{SC_CONTEXTHELP});
}

TEST_F(DialogFrame, ADoubleClickOnTheCaptionMaximizesOnlyWhatMayBeMaximized)
{
    Show(DS_MODALFRAME);
    ASSERT_NE(Frame(), nullptr);
    RECT before, after;
    GetWindowRect(dialog, &before);
    gSysCommands.clear();
    SendMessageW(dialog, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(60, 8));
    testsupport::PumpMessagesUntilIdle(100);
    GetWindowRect(dialog, &after);
    EXPECT_TRUE(gSysCommands.empty());
    EXPECT_TRUE(EqualRect(&before, &after));
    DestroyWindow(dialog);

    Show(WS_THICKFRAME | WS_MAXIMIZEBOX);
    ASSERT_NE(Frame(), nullptr);
    SendMessageW(dialog, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(60, 8));
    testsupport::PumpMessagesUntilIdle(100);
    EXPECT_TRUE(IsZoomed(dialog));
    EXPECT_TRUE(Frame()->SystemMenu->miRestore->Enabled());
}

TEST_F(DialogFrame, ARightButtonReleaseOnTheCaptionOpensTheMenuAtTheCursor)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(dialog, &r);
    const POINT at{r.left + 60, r.top + 8};
    RECT menu{};
    EXPECT_TRUE(WhileMenuOpen([&] { SendMessageW(dialog, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(at.x, at.y)); },
                              [&] { GetWindowRect(FindWindowW(L"#32768", nullptr), &menu); }));
    EXPECT_NEAR(menu.left, at.x, 4);
    EXPECT_NEAR(menu.top, at.y, 4);
    for (const WPARAM elsewhere : {static_cast<WPARAM>(HTCLIENT), static_cast<WPARAM>(HTBORDER)})
        EXPECT_FALSE(WhileMenuOpen(
            [&] { SendMessageW(dialog, WM_NCRBUTTONUP, elsewhere, MAKELPARAM(r.left + 60, r.top + 60)); }, nullptr))
            << elsewhere;
    EXPECT_FALSE(WhileMenuOpen([&] { SendMessageW(dialog, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y)); },
                               nullptr))
        << "the press itself";
}

// What the timer saw of the open system menu before it chose the menu's last item with the keyboard.
struct MenuChoice {
    RECT Popup{};
    int Ticks = 0;
};
MenuChoice* gChoice = nullptr;

void CALLBACK ChooseLastItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) {
        // No menu came up: the test must still end.
        if (++gChoice->Ticks > 40) {
            KillTimer(nullptr, id);
            EndMenu();
        }
        return;
    }
    KillTimer(nullptr, id);
    GetWindowRect(popup, &gChoice->Popup);
    for (const WPARAM key : {static_cast<WPARAM>(VK_UP), static_cast<WPARAM>(VK_RETURN)}) {
        PostMessageW(popup, WM_KEYDOWN, key, 0);
        PostMessageW(popup, WM_KEYUP, key, 0);
    }
}

TEST_F(DialogFrame, TheSystemMenuBelongsToTheDialogAndItsChosenItemActs)
{
    Show(DS_MODALFRAME);
    TacDialogWnd* frame = Frame();
    ASSERT_NE(frame, nullptr);
    MenuChoice choice;
    gChoice = &choice;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseLastItem);
    SendMessageW(dialog, WM_NCRBUTTONUP, HTCAPTION, ScreenAt(60, 8));
    KillTimer(nullptr, timer);
    gChoice = nullptr;
    EXPECT_EQ(frame->SystemMenu->WindowHandle(), dialog);
    // The dialog measured the skin's items for the menu: they have their width.
    EXPECT_GT(choice.Popup.right - choice.Popup.left, 40);
    testsupport::PumpMessagesUntilIdle(200);
    // "Close", reached from below: the dialog hears its system command and closes, and the menu's
    // command number never reaches the dialog as one of its own.
    EXPECT_EQ(gSysCommands, std::vector<WPARAM>{SC_CLOSE});
    EXPECT_FALSE(IsWindow(dialog));
}

} // namespace
