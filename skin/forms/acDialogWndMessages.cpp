// The dialog frame's window procedure: skin commands, activation, painting, the title buttons' mouse
// handling, the system menu and the dialog's background brush.
#include "skin/forms/acDialogWnd.h"

#include "framework/Forms.h"
#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acRedrawOff.h"

namespace {

// Sent by the system's file dialogs when their contents change.
constexpr UINT kRescanMessage = WM_USER + 302;
constexpr WPARAM kMoveByDragging = 0xF012;

TPoint PointOf(LPARAM lParam)
{
    return TPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

void TacDialogWnd::Command(WPARAM command)
{
    SendMessageW(AdaptedWnd, WM_SYSCOMMAND, command, 0);
}

void TacDialogWnd::ShowSystemMenu(int x, int y)
{
    SystemMenu->UpdateItems();
    // The menu is the dialog's: the dialog stays the window the menu belongs to and hears its messages.
    SystemMenu->SetWindowHandle(AdaptedWnd);
    PendingMenuCommand = 0;
    SystemMenu->Popup(x, y);
    // The chosen item's command was posted to the dialog before the menu returned. Only that message is
    // the menu's: the dialog's own commands may carry the same number and no window either (Escape's
    // IDCANCEL in a dialog without a Cancel button).
    MSG msg{};
    if (PeekMessageW(&msg, AdaptedWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) && msg.lParam == 0 &&
        HIWORD(msg.wParam) == 0 && SystemMenu->FindItem(LOWORD(msg.wParam), fkCommand))
        PendingMenuCommand = LOWORD(msg.wParam);
}

bool TacDialogWnd::MenuMessage(TMessage& message)
{
    if (message.Msg != WM_COMMAND) {
        // Only the system menu's own items: the dialog's owner-drawn controls keep their messages.
        const auto ofSystemMenu = [](const TMenuItem* item, const void* menu) { return item->GetParentMenu() == menu; };
        return DispatchMenuItemMessage(message, nullptr, ofSystemMenu, SystemMenu.get());
    }
    if (!PendingMenuCommand || message.LParam != 0 || message.WParam != PendingMenuCommand)
        return false;
    PendingMenuCommand = 0;
    SystemMenu->DispatchCommand(LOWORD(message.WParam));
    message.Result = 0;
    return true;
}

void TacDialogWnd::PassToScroll(TMessage& message)
{
    TacScrollWnd::WndProc(message);
    CommonTail(message);
}

void TacDialogWnd::CommonTail(TMessage& message)
{
    if (message.Msg != WM_SYSCOMMAND)
        return;
    const WPARAM command = message.WParam & 0xFFF0;
    if ((message.WParam & 0xFFFF) == kMoveByDragging) {
        RedrawWindow(AdaptedWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    } else if (command == SC_MAXIMIZE || command == SC_RESTORE) {
        if (SavedStyle & WS_MAXIMIZEBOX)
            HotButton = HTMAXBUTTON;
        SetHotButton(0);
    }
}

bool TacDialogWnd::SkinCommand(TMessage& message)
{
    TsSkinManager* sm = Manager();
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdSkinChanged:
        if (message.LParam != reinterpret_cast<LPARAM>(sm))
            return false;
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
        UpdateButtonImages();
        BackgroundBrush.Reset();
        return true;
    case SkinCmdGetCache:
        CacheReply = TCacheInfo{SkinData->CacheBmp(), 0, 0, true};
        return true;
    case SkinCmdSetUpdating:
        SkinData->SetUpdating(SkinCmdArgOf(message.WParam) == 1);
        if (SkinData->Updating())
            SkinData->BGChanged = true;
        return false;
    case SkinCmdIsBgChanged:
        message.LParam = (SkinData->BGChanged || SkinData->Updating()) ? 1 : 0;
        message.Result = message.LParam;
        return true;
    case SkinCmdIsBgPainted:
        if (const TsGeneralData* section = SkinData->Section())
            message.Result = section->GradientPercent + section->ImagePercent > 0 ? 1 : 0;
        message.LParam = message.Result;
        return true;
    case SkinCmdGetBgColor:
        if (const TsGeneralData* section = SkinData->Section())
            ParentBgColor = section->HotColor;
        return true;
    case SkinCmdRescanDialog:
        if (Provider)
            Provider->AdaptChildren(AdaptedWnd);
        return false;
    default:
        return false;
    }
}

void TacDialogWnd::Activation(TMessage& message)
{
    {
        TRedrawOff redrawOff(AdaptedWnd);
        message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        DlgActive = LOWORD(message.WParam) != 0;
    }
    SkinData->BGChanged = true;
    if (message.Msg == WM_ACTIVATE) {
        RedrawWindow(AdaptedWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        SystemMenu->UpdateItems();
    } else {
        SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
    }
}

void TacDialogWnd::ButtonDown(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    if (code == HTSYSMENU) {
        SetHotButton(0);
        ShowSystemMenu(DlgRect.Left + BorderWidth(), DlgRect.Top + BorderHeight() + GetSystemMetrics(SM_CYSMICON));
        return;
    }
    if (TacTitleButton* button = ButtonOfCode(code)) {
        if (code != HTMAXBUTTON || MaxAllowed() || (IsZoomed(AdaptedWnd) && Restorable())) {
            button->State = 2;
            HotButton = code;
            ButtonPressed = true;
            DrawButton(*button, code, true);
        }
        return;
    }
    if (IsIconic(AdaptedWnd)) {
        Command(kMoveByDragging);
        return;
    }
    if (IsZoomed(AdaptedWnd) && PointOf(message.LParam).Y - DlgRect.Top < CaptionHeight() + BorderHeight()) {
        if (GetActiveWindow() != AdaptedWnd)
            SetFocus(AdaptedWnd);
        return;
    }
    message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
}

void TacDialogWnd::ButtonUp(TMessage& message)
{
    // A release over the client area carries the key flags, not a hit code: read as one, a click
    // released with Ctrl held would be taken for the minimize button and never reach the dialog.
    const int code = message.Msg == WM_NCLBUTTONUP ? static_cast<int>(message.WParam) : 0;
    const bool pressed = ButtonPressed;
    switch (code) {
    case HTMINBUTTON:
        if (pressed) {
            POINT p;
            GetCursorPos(&p);
            if (MinButton.Rect.Contains(TPoint{p.x - DlgRect.Left, p.y - DlgRect.Top}))
                Command(IsIconic(AdaptedWnd) ? SC_RESTORE : SC_MINIMIZE);
            else
                message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        } else {
            SetHotButton(0);
        }
        break;
    case HTMAXBUTTON:
        if (!IsIconic(AdaptedWnd) || MaxAllowed()) {
            SetHotButton(0);
            if (pressed) {
                Command(IsZoomed(AdaptedWnd) ? SC_RESTORE : SC_MAXIMIZE);
                // The menu reads the new size and state once the window has settled into them.
                if (Application)
                    Application->ProcessMessages();
                SystemMenu->UpdateItems();
            }
        }
        break;
    case HTCLOSE:
        if (pressed) {
            CloseButton.State = 0;
            ButtonPressed = false;
            Command(SC_CLOSE);
        }
        break;
    case HTHELP:
        SetHotButton(0);
        if (pressed) {
            Command(SC_CONTEXTHELP);
            SystemMenu->UpdateItems();
            SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
        }
        break;
    default:
        message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        break;
    }
    ButtonPressed = false;
    message.WParam = 0;
}

void TacDialogWnd::DoubleClick(TMessage& message)
{
    if (message.WParam == HTCAPTION) {
        if (MaxAllowed() || Restorable()) {
            Command(IsZoomed(AdaptedWnd) || IsIconic(AdaptedWnd) ? SC_RESTORE : SC_MAXIMIZE);
            SystemMenu->UpdateItems();
        }
    } else if (message.WParam == HTSYSMENU) {
        Command(SC_CLOSE);
    }
}

void TacDialogWnd::WndProc(TMessage& message)
{
    if (message.Msg == WM_DESTROY) {
        // The provider made for this dialog goes with it, and with it this adapter (once its messages
        // have returned) and the children's adapters.
        TacProvider* provider = Provider && !Provider->Owner() ? Provider : nullptr;
        TacScrollWnd::WndProc(message);
        Provider = nullptr;
        delete provider;
        return;
    }
    if (SystemMenu && MenuMessage(message))
        return;
    if (!SkinActive() || Released || !FramePrepared) {
        TacScrollWnd::WndProc(message);
        return;
    }
    const bool visible = IsWindowVisible(AdaptedWnd) != 0;
    switch (message.Msg) {
    case SM_SKINCMD:
        if (SkinCommand(message))
            return;
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        SkinData->BGChanged = true;
        RegionDirty = true;
        break;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        if (visible) {
            Activation(message);
            return;
        }
        break;
    case WM_SETTEXT:
    case WM_ENABLE:
        if (visible) {
            {
                TRedrawOff redrawOff(AdaptedWnd);
                message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
            }
            SkinData->BGChanged = true;
            SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
            return;
        }
        break;
    case WM_PAINT:
        if (visible) {
            RefreshPosition();
            const int kind = Provider ? Provider->DialogKind : 0;
            if (kind == 1 || kind == 3) {
                HDC given = reinterpret_cast<HDC>(message.WParam);
                TScreenDC clientDC(AdaptedWnd, given);
                HDC dc = clientDC.Get();
                TSavedDC saved(dc);
                if (kind == 1)
                    IntersectClipRect(dc, Kind1PaintRect.Left, Kind1PaintRect.Top, Kind1PaintRect.Right,
                                      Kind1PaintRect.Bottom);
                LPARAM none = 0;
                CallPrevWndProc(AdaptedWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), none);
            }
            PaintClient(message);
            if (!ChildrenScanned) {
                ChildrenScanned = true;
                if (Provider)
                    Provider->AdaptChildren(AdaptedWnd);
            }
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (Provider && Provider->DialogKind == 3) {
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            TSavedDC saved(dc);
            SelectClipRgn(dc, Kind3Region());
            message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        } else {
            message.Result = 1;
        }
        return;
    case WM_DRAWITEM:
        if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam); item && item->CtlType == ODT_STATIC)
            SetBkMode(item->hDC, TRANSPARENT);
        break;
    case WM_NCHITTEST: {
        RefreshPosition();
        const TPoint p = PointOf(message.LParam);
        const int code = HitTest(TPoint{p.X - DlgRect.Left, p.Y - DlgRect.Top});
        if (code == 0 || code == HTCAPTION) {
            message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
            SetHotButton(0);
        } else {
            message.Result = code;
        }
        return;
    }
    case WM_NCPAINT:
        if (visible) {
            PaintNonClient();
            message.Result = 0;
            return;
        }
        break;
    case WM_GETDLGCODE:
        message.Result = 0;
        return;
    case WM_NCLBUTTONDOWN:
        ButtonDown(message);
        return;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP:
        ButtonUp(message);
        return;
    case WM_NCLBUTTONDBLCLK:
        DoubleClick(message);
        return;
    case WM_NCRBUTTONDOWN:
        if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU)
            return;
        break;
    case WM_NCRBUTTONUP:
        if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU) {
            SetHotButton(0);
            const TPoint p = PointOf(message.LParam);
            ShowSystemMenu(p.X, p.Y);
        }
        return;
    case WM_CTLCOLORDLG:
        // One brush per adapter (and skin): the dialog keeps using the one it was given.
        if (!BackgroundBrush)
            if (TsSkinManager* sm = DefaultManager())
                BackgroundBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(GetGlobalColor(sm)))));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush.Get());
        return;
    case WM_MOUSEMOVE:
        if (IsWindowEnabled(AdaptedWnd))
            if (TsSkinManager* sm = Manager())
                sm->SetActiveControl(nullptr);
        break;
    case WM_MOUSELEAVE:
        SetHotButton(0);
        break;
    case kRescanMessage:
        SendMessageW(AdaptedWnd, WM_SETREDRAW, 0, 0);
        TacScrollWnd::WndProc(message);
        if (Provider)
            Provider->AdaptChildren(AdaptedWnd);
        SendMessageW(AdaptedWnd, WM_SETREDRAW, 1, 0);
        RedrawWindow(AdaptedWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        return;
    default:
        break;
    }
    PassToScroll(message);
}
