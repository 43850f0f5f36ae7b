// The mouse on the skinned frame: which part of the frame a point is (the system's hit codes plus the
// provider's own for its buttons), hot and pressed caption buttons, and what a click on them does.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/sMaskPainter.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"

namespace {

bool ButtonPressed = false; // a caption button was pressed and not yet released or left

// A release counts only on the button that was pressed: a press released elsewhere leaves ButtonPressed
// set, and a later release over another button must not run that button's command.
bool PressedOn(int hotButton, int code)
{
    return ButtonPressed && hotButton == code;
}

TPoint PointOf(LPARAM lParam)
{
    return TPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

bool TsSkinProvider::InScrollBarsCorner(const TPoint& p) const
{
    HWND wnd = form_->Handle();
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    if ((style & (WS_HSCROLL | WS_VSCROLL)) != (WS_HSCROLL | WS_VSCROLL))
        return false;
    RECT client{}, window{};
    GetClientRect(wnd, &client);
    GetWindowRect(wnd, &window);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    const int left = origin.x - window.left + client.right;
    const int top = origin.y - window.top + client.bottom;
    return p.X >= left && p.X < left + GetSystemMetrics(SM_CXVSCROLL) && p.Y >= top &&
           p.Y < top + GetSystemMetrics(SM_CYHSCROLL);
}

void TsSkinProvider::SetHotButton(int code, bool repaint)
{
    // A menu-line item left hot by the menu painter goes back to normal first.
    TacPendingMenuLineItem& pending = PendingMenuLineItem();
    if (pending.Item) {
        const TacPendingMenuLineItem item = pending;
        pending = TacPendingMenuLineItem{};
        DrawMenuItemNow(item.Item, item.Rect);
    }
    if (code == hotButton_)
        return;
    auto setState = [&](int which, int state) {
        if (TsCaptionButton* b = ButtonOfCode(which))
            b->State = state;
        else if (which >= kTitleButtonHit && which - kTitleButtonHit < titleButtons_->Count())
            titleButtons_->Items(which - kTitleButtonHit)->State = state;
        else
            return;
        if (repaint)
            RepaintButton(which);
    };
    setState(hotButton_, 0);
    hotButton_ = code;
    setState(code, 1);
    ButtonPressed = false;
}

void TsSkinProvider::SetPressedButton(int code)
{
    if (hotButton_ != code) {
        const int old = hotButton_;
        if (TsCaptionButton* b = ButtonOfCode(old))
            b->State = 0;
        else if (old >= kTitleButtonHit && old - kTitleButtonHit < titleButtons_->Count())
            titleButtons_->Items(old - kTitleButtonHit)->State = 0;
        RepaintButton(old);
    }
    // A maximize button whose command is closed stays as it is.
    if (code == HTMAXBUTTON && !(CanMaximize() || (IsMaximized() && CanRestore()))) {
        hotButton_ = 0;
        return;
    }
    hotButton_ = code;
    if (TsCaptionButton* b = ButtonOfCode(code))
        b->State = 2;
    else if (code >= kTitleButtonHit && code - kTitleButtonHit < titleButtons_->Count())
        titleButtons_->Items(code - kTitleButtonHit)->State = 2;
    ButtonPressed = true;
    RepaintButton(code);
}

int TsSkinProvider::HitTest(const TMessage& message)
{
    const TPoint origin = WindowOrigin();
    const TPoint screen = PointOf(message.LParam);
    const TPoint p{screen.X - origin.X, screen.Y - origin.Y};
    const int bh = ButtonHeight();
    const int bandTop = (SysBorderHeight() + CaptionHeight() - bh) / 2;
    if (CaptionHeight() > 0 && p.Y >= bandTop && p.Y <= bandTop + bh) {
        if (p.X >= SysBorderWidth() && p.X <= SysBorderWidth() + IconRect().Width() && IconRect().Width() > 0) {
            SetHotButton(HTSYSMENU, true);
            return HTSYSMENU;
        }
        // The button under the point, counted from the right.
        std::vector<const TRect*> order;
        const bool sys = form_->BorderIcons().Contains(biSystemMenu) && systemMenu_;
        if (sys) {
            order.push_back(&closeButton_.Rect);
            if (VisibleMax())
                order.push_back(&maxButton_.Rect);
            if (VisibleMin())
                order.push_back(&minButton_.Rect);
            if (form_->BorderIcons().Contains(biHelp))
                order.push_back(&helpButton_.Rect);
        }
        const int standard = static_cast<int>(order.size());
        for (int i = 0; i < titleButtons_->Count(); ++i)
            order.push_back(&titleButtons_->Items(i)->Rect);
        int n = 0;
        for (size_t i = 0; i < order.size() && n == 0; ++i)
            if (p.X >= order[i]->Left && p.X <= order[i]->Right)
                n = static_cast<int>(i) + 1;
        const bool help = form_->BorderIcons().Contains(biHelp);
        int code = -2; // no rule answered
        if (n == 0) {
            return HTCAPTION;
        } else if (n <= standard) {
            const bool maxShown = VisibleMax();
            const bool minShown = VisibleMin() || IsIconic();
            if (n == 1 && VisibleClose())
                code = HTCLOSE;
            else if (n == 2) {
                if (maxShown)
                    code = CanMaximize() || (CanRestore() && !IsIconic()) ? HTMAXBUTTON : HTCAPTION;
                else if (minShown)
                    code = CanMinimize() ? HTMINBUTTON : HTCAPTION;
                else if (help)
                    code = HTHELP;
            } else if (n == 3) {
                if (minShown && maxShown)
                    code = IsIconic() || CanMinimize() ? HTMINBUTTON : HTCAPTION;
                else if (help)
                    code = HTHELP;
            } else if (n == 4 && help && maxShown) {
                code = HTHELP;
            }
        } else {
            TsTitleButton* button = titleButtons_->Items(n - standard - 1);
            code = button->Enabled ? kTitleButtonHit + n - standard - 1 : HTCAPTION;
        }
        if (code != -2) {
            SetHotButton(code == HTCAPTION ? 0 : code, true);
            return code;
        }
    }
    // Outside the caption band: the grip (also in the corner square between two scroll bars), then the frame.
    TsSkinManager* sm = Manager();
    if (GripMode == gmRightBottom || InScrollBarsCorner(p)) {
        const int grip = FindMaskIndexNoParent(sm, L"GLOBALINFO", L"GRIPIMAGE");
        if (IsValidMaskIndex(sm, grip)) {
            const POINT size = GetMaskFrameSize(sm, grip);
            const TBitmap* cache = skinData_->CacheBmp();
            const int gx = cache->Width() - size.x - SysBorderWidth();
            const int gy = cache->Height() - size.y - SysBorderHeight();
            if (p.X > gx && p.Y > gy)
                return HTBOTTOMRIGHT;
        }
    }
    if (MDIMainProvider == this && ShowsMDIChildButtons()) {
        // Points beside the child's buttons leave the hot one alone: the menu line's items lie there.
        if (const int code = MDIButtonHit(p))
            return code;
    } else {
        SetHotButton(0, true);
    }
    if (IsMaximized() && !(p.X >= 2 && p.Y >= 2 && p.X < FormWidth() - 4 && p.Y < FormHeight() - 4))
        return HTTRANSPARENT;
    return static_cast<int>(message.Result);
}

// ---- Clicks ----

void TsSkinProvider::WMNCLButtonDown(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    const TPoint screen = PointOf(message.LParam);
    switch (code) {
    case HTSYSMENU: {
        SetHotButton(0, true);
        const TPoint o = WindowOrigin();
        if (IsMDIChild())
            ShowSystemMenu(o.X, o.Y + CaptionHeight() + 4);
        else
            ShowSystemMenu(o.X + IconRect().Left, o.Y + IconRect().Bottom);
        return;
    }
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        SetPressedButton(code);
        return;
    case HTMDICLOSE:
    case HTMDIMAX:
    case HTMDIMIN:
        if (MDIButtonOpen(code))
            SetPressedButton(code);
        return;
    default:
        break;
    }
    if (code >= kTitleButtonHit && code - kTitleButtonHit < titleButtons_->Count()) {
        SetPressedButton(code);
        titleButtons_->Items(code - kTitleButtonHit)->MouseDown(screen.X, screen.Y);
        return;
    }
    if (IsIconic()) {
        SendMessageW(form_->Handle(), WM_SYSCOMMAND, 0xF012, 0);
        return;
    }
    SetHotButton(0, true);
    // A maximized form is neither dragged nor sized by its caption, whatever the press reads as there.
    if (IsMaximized() && screen.Y - WindowOrigin().Y < SysBorderHeight() + CaptionHeight()) {
        if (GetActiveWindow() != form_->Handle())
            SetFocus(form_->Handle());
        return;
    }
    if (ResizeMode == rmBorder && code != HTMENU) {
        DragOutlineFrom(message, code, screen.X, screen.Y);
        return;
    }
    DefaultHandling(message);
}

void TsSkinProvider::ReleaseMaxButton(TMessage& message)
{
    (void)message;
    const bool open = CanMaximize() || (IsMaximized() && CanRestore());
    if (!open)
        return;
    if (!PressedOn(hotButton_, HTMAXBUTTON)) {
        SetHotButton(0, true);
        return;
    }
    // The main form's frame waits for the child's change: the child's command ends the update.
    TsSkinProvider* main = IsMDIChild() ? LiveMainProvider() : nullptr;
    if (main)
        main->skinData_->BeginSkinUpdate();
    if (IsMDIChild())
        MaximizedChildProvider = nullptr;
    SetHotButton(0, true);
    if (IsMaximized()) {
        if (!IsMDIChild())
            form_->SetWindowState(wsNormal);
        SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
        if (!IsMDIChild())
            form_->SetWindowState(wsMaximized);
        SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
    // A command that someone swallowed leaves the main frame painting all the same.
    if (main && LiveMainProvider() == main && main->skinData_->FUpdating)
        main->skinData_->EndSkinUpdate();
    if (Application)
        Application->ProcessMessages();
    UpdateSystemMenuItems();
}

void TsSkinProvider::WMNCLButtonUp(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    const TPoint screen = PointOf(message.LParam);
    const TPoint o = WindowOrigin();
    const TPoint p{screen.X - o.X, screen.Y - o.Y};
    HWND wnd = form_->Handle();
    switch (code) {
    case HTMINBUTTON: {
        const TRect& r = minButton_.Rect;
        const bool inside = p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
        const bool pressed = PressedOn(hotButton_, HTMINBUTTON);
        if (pressed && !inside) {
            DefaultHandling(message);
            return;
        }
        SetHotButton(0, true);
        if (pressed) {
            if (Application && Application->MainForm() == form_)
                SendMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            else
                SendMessageW(wnd, WM_SYSCOMMAND, IsIconic() ? SC_RESTORE : SC_MINIMIZE, 0);
        }
        return;
    }
    case HTMAXBUTTON:
        ReleaseMaxButton(message);
        return;
    case HTCLOSE:
        if (PressedOn(hotButton_, HTCLOSE)) {
            closeButton_.State = 0;
            hotButton_ = 0;
            ButtonPressed = false;
            SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    case HTHELP:
        if (PressedOn(hotButton_, HTHELP)) {
            SendMessageW(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
            UpdateSystemMenuItems();
            SendNcPaint();
        }
        SetHotButton(0, true);
        return;
    case HTMDICLOSE:
    case HTMDIMAX:
    case HTMDIMIN:
        ReleaseMDIButton(code, PressedOn(hotButton_, code));
        return;
    default:
        break;
    }
    if (code >= kTitleButtonHit && code - kTitleButtonHit < titleButtons_->Count()) {
        if (PressedOn(hotButton_, code))
            titleButtons_->Items(code - kTitleButtonHit)->MouseUp(screen.X, screen.Y);
        SetHotButton(0, true);
        return;
    }
    if (TrackingActive() && !IsIconic() && !IsMaximized()) {
        StopTracking();
        return;
    }
    if (IsIconic() && MDIMainProvider) {
        ShowSystemMenu(screen.X, screen.Y);
        return;
    }
    DefaultHandling(message);
}

void TsSkinProvider::WMNCLButtonDblClk(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    if (TrackingActive() && !IsIconic() && !IsMaximized()) {
        StopTracking();
        return;
    }
    if (code == HTCAPTION && (CanMaximize() || CanRestore())) {
        if (IsMaximized() || IsIconic()) {
            SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            if (IsMDIChild())
                MaximizedChildProvider = this;
            else
                form_->SetWindowState(wsMaximized);
            SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        UpdateSystemMenuItems();
    } else if (code == HTSYSMENU) {
        form_->Close();
    }
}

void TsSkinProvider::WMNCRButtonDown(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    if (code == HTCAPTION || code == HTSYSMENU)
        return;
    DefaultHandling(message);
}

void TsSkinProvider::WMNCRButtonUp(TMessage& message)
{
    const int code = static_cast<int>(message.WParam);
    if (code != HTCAPTION && code != HTSYSMENU)
        return;
    SetHotButton(0, true);
    const TPoint screen = PointOf(message.LParam);
    ShowSystemMenu(screen.X, screen.Y);
}
