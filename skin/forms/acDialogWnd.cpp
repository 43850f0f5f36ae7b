#include "skin/forms/acDialogWnd.h"

#include "framework/Forms.h"
#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"

#include <algorithm>

namespace {

// A window that answers this message with its argument keeps its own rectangle.
constexpr UINT kRegionVetoMessage = 0xBC4D;
constexpr WPARAM kRegionVetoArg = 0x41A2;

bool HasFullCaption(LONG_PTR style)
{
    return (style & WS_CAPTION) == WS_CAPTION;
}

} // namespace

// ---- TacSystemMenu ----

TacSystemMenu::TacSystemMenu(TacDialogWnd* dialog) : TPopupMenu(nullptr), Dialog(dialog)
{
    miRestore = MakeItem(L"miRestore", L"Restore", &TacSystemMenu::RestoreClick);
    miMove = MakeItem(L"miMove", L"Move", &TacSystemMenu::MoveClick);
    miSize = MakeItem(L"miSize", L"Size", &TacSystemMenu::SizeClick);
    miMinimize = MakeItem(L"miMinimize", L"Minimize", &TacSystemMenu::MinimizeClick);
    miMaximize = MakeItem(L"miMaximize", L"Maximize", &TacSystemMenu::MaximizeClick);
    auto* line = new TMenuItem(this);
    line->SetCaption(L"-");
    Items()->Add(line);
    miClose = MakeItem(L"miClose", L"Close", &TacSystemMenu::CloseClick);
    miClose->SetShortCut(scAlt | VK_F4);
}

TMenuItem* TacSystemMenu::MakeItem(const wchar_t* name, const wchar_t* caption, void (TacSystemMenu::*click)(TObject*))
{
    return AddMenuItem(this, name, caption, TNotifyEvent(this, click));
}

void TacSystemMenu::Command(WPARAM command)
{
    if (Dialog && IsWindow(Dialog->AdaptedWnd))
        SendMessageW(Dialog->AdaptedWnd, WM_SYSCOMMAND, command, 0);
}

void TacSystemMenu::RestoreClick(TObject*)
{
    Command(SC_RESTORE);
    UpdateItems();
}

void TacSystemMenu::MaximizeClick(TObject*)
{
    Command(SC_MAXIMIZE);
    UpdateItems();
}

void TacSystemMenu::UpdateItems()
{
    if (!Dialog)
        return;
    try {
        const TacDialogWnd& d = *Dialog;
        const bool zoomed = IsZoomed(d.AdaptedWnd) != 0;
        const bool iconic = IsIconic(d.AdaptedWnd) != 0;
        miRestore->SetVisible((d.FrameKind == 1 || d.FrameKind == 3) && d.HasSysMenu());
        miMove->SetVisible(true);
        miSize->SetVisible(d.FrameKind != 0 && d.FrameKind != 2);
        miMinimize->SetVisible((d.SavedStyle & WS_MINIMIZEBOX) != 0);
        miMaximize->SetVisible((d.SavedStyle & WS_MAXIMIZEBOX) != 0);
        miClose->SetVisible(d.HasSysMenu());
        miRestore->SetEnabled(d.Restorable());
        miMove->SetEnabled(!zoomed);
        miSize->SetEnabled(d.FrameKind != 1 && !iconic);
        miMinimize->SetEnabled(d.MinAllowed());
        miMaximize->SetEnabled(d.MaxAllowed());
        miClose->SetEnabled(true);
    } catch (...) {
        // A menu that cannot be updated keeps its last state.
    }
}

// ---- TacDialogWnd: life ----

TacDialogWnd::TacDialogWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
                           TsCommonData* commonData)
    : TacScrollWnd(wnd, repaint, skinSection, skinManager, commonData)
{
}

TacDialogWnd::~TacDialogWnd() = default;

void TacDialogWnd::Create()
{
    ButtonsBackdrop = std::make_unique<TBitmap>();
    ButtonsBackdrop->SetPixelFormat(pf24bit);
    ButtonsBackdrop->SetHandleType(bmDIB);
    SystemMenu = std::make_unique<TacSystemMenu>(this);
    TacScrollWnd::Create();
    SystemMenu->UpdateItems();
    TsSkinManager* sm = DefaultManager();
    if (sm && sm->SkinnedPopups())
        if (auto* menus = dynamic_cast<TsSkinableMenus*>(sm->SkinableMenus()))
            menus->HookPopupMenu(SystemMenu.get(), true);
}

void TacDialogWnd::Destroy()
{
    if (!Released && !Detached && IsWindow(AdaptedWnd) && SavedStyle) {
        if (SavedStyle & WS_SYSMENU)
            SetWindowLongPtrW(AdaptedWnd, GWL_STYLE, GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) | WS_SYSMENU);
        if (!CornerRects.empty())
            SetWindowRgn(AdaptedWnd, nullptr, TRUE);
    }
    if (SystemMenu && DefaultManager())
        if (auto* menus = dynamic_cast<TsSkinableMenus*>(DefaultManager()->SkinableMenus()))
            menus->HookPopupMenu(SystemMenu.get(), false);
    TacScrollWnd::Destroy();
}

void TacDialogWnd::PrepareFrame()
{
    SavedStyle = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    SavedExStyle = GetWindowLongPtrW(AdaptedWnd, GWL_EXSTYLE);
    FrameKind = 3;
    if ((SavedStyle & WS_POPUP) && !HasFullCaption(SavedStyle))
        FrameKind = 2;
    else if (SavedStyle & WS_THICKFRAME)
        FrameKind = 3;
    else if (SavedStyle & DS_MODALFRAME)
        FrameKind = 0;
    Icon = reinterpret_cast<HICON>(SendMessageW(AdaptedWnd, WM_GETICON, ICON_SMALL, 0));
    if (!Icon)
        Icon = reinterpret_cast<HICON>(SendMessageW(AdaptedWnd, WM_GETICON, ICON_BIG, 0));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    CaptionFont = std::make_unique<TFont>();
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        GdiObject<HFONT> font(CreateFontIndirectW(&metrics.lfCaptionFont));
        if (font)
            CaptionFont->SetHandle(font.Get());
    }
    SetWindowLongPtrW(AdaptedWnd, GWL_STYLE, SavedStyle & ~static_cast<LONG_PTR>(WS_SYSMENU));
    UpdateButtonImages();
    SystemMenu->UpdateItems();
    FramePrepared = true;
    SkinData->BGChanged = true;
}

void TacDialogWnd::UpdateButtonImages()
{
    TsSkinManager* sm = Manager();
    if (!sm || !IsValidSectionIndex(sm, FindSectionIndex(sm, L"GLOBALINFO")))
        return;
    const auto global = [sm](const wchar_t* name) { return FindMaskIndexNoParent(sm, L"GLOBALINFO", name); };
    const auto big = [&] {
        MaxButton.ImageIndex = global(L"BICONMAX");
        MinButton.ImageIndex = global(L"BICONMIN");
        CloseButton.ImageIndex = global(L"BICONCLOSE");
        HelpButton.ImageIndex = global(L"BICONHELP");
    };
    CloseButton.ImageIndex = global(L"BICONCLOSE");
    if (!IsValidMaskIndex(sm, CloseButton.ImageIndex)) {
        const int form = FindSectionIndex(sm, L"FORM");
        MinButton.ImageIndex = FindMaskIndex(sm, form, L"FORM", L"BICONMIN");
        MaxButton.ImageIndex = FindMaskIndex(sm, form, L"FORM", L"BICONMAX");
        CloseButton.ImageIndex = FindMaskIndex(sm, form, L"FORM", L"BICONCLOSE");
        HelpButton.ImageIndex = FindMaskIndex(sm, form, L"FORM", L"BICONHELP");
    } else if (FrameKind == 1 || FrameKind == 3) {
        big();
    } else {
        CloseButton.ImageIndex = global(L"SICONCLOSE");
        MinButton.ImageIndex = global(L"SICONMIN");
        MaxButton.ImageIndex = global(L"SICONMAX");
        HelpButton.ImageIndex = global(L"SICONHELP");
        if (!IsValidMaskIndex(sm, HelpButton.ImageIndex))
            HelpButton.ImageIndex = global(L"BICONHELP");
        if (!IsValidMaskIndex(sm, CloseButton.ImageIndex))
            big();
    }
}

// ---- Measures ----

int TacDialogWnd::BorderWidth() const
{
    if (FrameKind == 2)
        return 0;
    return GetSystemMetrics(FrameKind == 3 ? SM_CXFRAME : SM_CXDLGFRAME);
}

int TacDialogWnd::BorderHeight() const
{
    if (FrameKind == 2)
        return 0;
    return GetSystemMetrics(FrameKind == 3 ? SM_CYFRAME : SM_CYDLGFRAME);
}

int TacDialogWnd::CaptionHeight() const
{
    if (FrameKind == 2 || !HasFullCaption(SavedStyle))
        return 0;
    return GetSystemMetrics(SM_CYCAPTION);
}

int TacDialogWnd::TitleAreaHeight() const
{
    RECT client{};
    GetClientRect(AdaptedWnd, &client);
    const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    int h = DlgHeight - client.bottom - (HasFullCaption(style) ? BorderHeight() : 0);
    h = std::max(h, 0);
    if (IsIconic(AdaptedWnd))
        h += BorderHeight();
    if (style & WS_HSCROLL)
        h -= GetSystemMetrics(SM_CYHSCROLL);
    return h;
}

TPoint TacDialogWnd::ClientOffset() const
{
    RECT client{};
    GetClientRect(AdaptedWnd, &client);
    const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    const int vbar = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int hbar = (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const int caption = HasFullCaption(style) ? BorderHeight() : 0;
    return TPoint{(DlgWidth - client.right - vbar) / 2, DlgHeight - client.bottom - caption - hbar};
}

int TacDialogWnd::ButtonWidth(const TacTitleButton& button) const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, button.ImageIndex))
        return 21;
    return GetMaskFrameSize(sm, button.ImageIndex).x;
}

int TacDialogWnd::ButtonHeight(const TacTitleButton& button) const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, button.ImageIndex))
        return 21;
    return GetMaskFrameSize(sm, button.ImageIndex).y;
}

int TacDialogWnd::ButtonsBlockWidth() const
{
    if (!HasSysMenu())
        return 0;
    int width = ButtonWidth(CloseButton);
    if (SavedStyle & WS_MAXIMIZEBOX)
        width += ButtonWidth(MaxButton);
    if (SavedStyle & WS_MINIMIZEBOX)
        width += ButtonWidth(MinButton);
    if (SavedExStyle & WS_EX_CONTEXTHELP)
        width += ButtonWidth(HelpButton);
    return width;
}

bool TacDialogWnd::MaxAllowed() const
{
    return (SavedStyle & WS_MAXIMIZEBOX) && !IsZoomed(AdaptedWnd) && (FrameKind == 1 || FrameKind == 3);
}

bool TacDialogWnd::MinAllowed() const
{
    return (SavedStyle & WS_MINIMIZEBOX) && !IsIconic(AdaptedWnd);
}

bool TacDialogWnd::Restorable() const
{
    return (SavedStyle & WS_MAXIMIZEBOX) && (IsIconic(AdaptedWnd) || IsZoomed(AdaptedWnd));
}

TPoint TacDialogWnd::GripPoint() const
{
    TsSkinManager* sm = Manager();
    const POINT size = GetMaskFrameSize(sm, sm ? FindMaskIndexNoParent(sm, L"GLOBALINFO", L"GRIPIMAGE") : -1);
    return TPoint{DlgWidth - size.x - BorderWidth(), DlgHeight - size.y - BorderHeight()};
}

void TacDialogWnd::RefreshPosition()
{
    GetWndPosInfo(this);
    RECT r{};
    GetWindowRect(AdaptedWnd, &r);
    DlgRect = TRect::FromRECT(r);
    DlgWidth = DlgRect.Width();
    DlgHeight = DlgRect.Height();
    Caption = GetWndText(AdaptedWnd);
}

// ---- Hit test and title buttons ----

TacTitleButton* TacDialogWnd::ButtonOfCode(int code)
{
    switch (code) {
    case HTMINBUTTON: return &MinButton;
    case HTMAXBUTTON: return &MaxButton;
    case HTCLOSE: return &CloseButton;
    case HTHELP: return &HelpButton;
    default: return nullptr;
    }
}

int TacDialogWnd::TitleButtonAt(int x) const
{
    // An iconic dialog counts as having a minimize button, wherever its style says it has none.
    const bool minimize = (SavedStyle & WS_MINIMIZEBOX) || IsIconic(AdaptedWnd);
    const struct {
        int Code;
        bool Present;
        const TacTitleButton& Button;
    } slots[] = {{HTCLOSE, true, CloseButton},
                 {HTMAXBUTTON, (SavedStyle & WS_MAXIMIZEBOX) != 0, MaxButton},
                 {HTMINBUTTON, minimize, MinButton},
                 {HTHELP, (SavedExStyle & WS_EX_CONTEXTHELP) != 0, HelpButton}};
    int right = DlgWidth - BorderWidth();
    int place = 0;
    for (const auto& slot : slots) {
        if (!slot.Present)
            continue;
        ++place;
        const int left = right - ButtonWidth(slot.Button);
        if (x >= left && x < right) {
            switch (slot.Code) {
            case HTMAXBUTTON: return MaxAllowed() || Restorable() ? HTMAXBUTTON : HTCAPTION;
            // Second, beside the close button, it answers only while it can minimize; third, an
            // iconic dialog's answers as well.
            case HTMINBUTTON:
                return MinAllowed() || (place > 2 && IsIconic(AdaptedWnd)) ? HTMINBUTTON : HTCAPTION;
            default: return slot.Code;
            }
        }
        right = left;
    }
    return HTCAPTION;
}

int TacDialogWnd::HitTest(TPoint p)
{
    const int top = (CaptionHeight() + BorderHeight() - ButtonHeight(CloseButton)) / 2;
    const int bottom = top + ButtonHeight(CloseButton);
    if (CaptionHeight() > 0 && p.Y >= top && p.Y <= bottom) {
        int code = HTCAPTION;
        const int bw = BorderWidth();
        if (p.X >= bw && p.X <= bw + GetSystemMetrics(SM_CXSMICON))
            code = HTSYSMENU;
        else if (HasSysMenu())
            code = TitleButtonAt(p.X);
        SetHotButton(code);
        return code;
    }
    if (FrameKind == 3) {
        const TPoint grip = GripPoint();
        if (p.X >= grip.X && p.Y >= grip.Y)
            return HTBOTTOMRIGHT;
    }
    if (IsZoomed(AdaptedWnd) && (p.X < 2 || p.Y < 2 || p.X > DlgWidth - 4 || p.Y > DlgHeight - 4)) {
        SetHotButton(0);
        return -1;
    }
    return 0;
}

void TacDialogWnd::SetHotButton(int code)
{
    if (code == HotButton)
        return;
    if (TacTitleButton* old = ButtonOfCode(HotButton)) {
        old->State = 0;
        DrawButton(*old, HotButton, true);
    }
    HotButton = code;
    if (TacTitleButton* now = ButtonOfCode(code)) {
        now->State = 1;
        DrawButton(*now, code, true);
    }
    ButtonPressed = false;
}

// ---- Region ----

void TacDialogWnd::BuildCornerRects()
{
    CornerRects.clear();
    TsSkinManager* sm = Manager();
    if (!sm)
        return;
    if (IsValidMaskIndex(sm, SkinData->BorderIndex)) {
        const TsMaskData& md = sm->Masks[static_cast<size_t>(SkinData->BorderIndex)];
        AddRgnFromMask(CornerRects, DlgWidth, md, false, 0);
        AddRgnFromMask(CornerRects, DlgWidth, md, true, DlgHeight - md.WB);
    }
    const int title = FindSectionIndex(sm, L"FORMTITLE");
    if (IsValidSectionIndex(sm, title)) {
        const int mask = FindMaskIndex(sm, title, L"FORMTITLE", L"BORDERSMASK");
        if (IsValidMaskIndex(sm, mask))
            AddRgnFromMask(CornerRects, DlgWidth, sm->Masks[static_cast<size_t>(mask)], false, 0);
    }
}

void TacDialogWnd::UpdateRegion(bool redraw)
{
    if (FrameKind == 2 || SendMessageW(AdaptedWnd, kRegionVetoMessage, kRegionVetoArg, 0) ==
                              static_cast<LRESULT>(kRegionVetoArg))
        return;
    SettingRegion = true;
    SetWindowRegion(AdaptedWnd, RegionLessRects(TRect{0, 0, DlgWidth, DlgHeight}, CornerRects), redraw);
    SettingRegion = false;
}

// ---- Seams ----

TacAdapterPtr<> MakeDialogWnd(HWND wnd, TacProvider* provider)
{
    auto adapter = MakeAdapter<TacDialogWnd>(wnd, false, L"DIALOG", DefaultManager(), nullptr);
    adapter->Provider = provider;
    return TacAdapterPtr<>(adapter.release());
}

void PrepareDialogFrame(TacMainWnd* dialogWnd)
{
    if (auto* dialog = dynamic_cast<TacDialogWnd*>(dialogWnd))
        dialog->PrepareFrame();
}

void SetDialogSection(TacMainWnd* dialogWnd, const std::wstring& section)
{
    if (dialogWnd && dialogWnd->SkinData)
        dialogWnd->SkinData->SetSkinSection(section);
}
