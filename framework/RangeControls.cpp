// Controls over a range of integers: up-down arrows, the track bar and the progress bar.
#include "framework/ComCtrls.h"

#include <algorithm>

#include <commctrl.h>

// ---- TCustomUpDown ----

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner)
{
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL) * 2);
}

void TCustomUpDown::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASSW);
    if (orientation_ == udHorizontal)
        params.Style |= UDS_HORZ;
    if (wrap_)
        params.Style |= UDS_WRAP;
    if (arrowKeys_)
        params.Style |= UDS_ARROWKEYS;
    if (!thousands_)
        params.Style |= UDS_NOTHOUSANDS;
    if (associate_)
        params.Style |= UDS_SETBUDDYINT | (alignButton_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}

void TCustomUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    SendRange();
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_)
        SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::SendRange()
{
    if (handle_)
        SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TCustomUpDown::Dispatch(TMessage& message)
{
    static const TMessageEntry<TCustomUpDown> kUpDownMessages[] = {
        {CN_NOTIFY, &TCustomUpDown::CNNotify},
        {CN_HSCROLL, &TCustomUpDown::CNScroll},
        {CN_VSCROLL, &TCustomUpDown::CNScroll},
    };
    if (DispatchIn(this, kUpDownMessages, message))
        return;
    TWinControl::Dispatch(message);
}

int TCustomUpDown::Position()
{
    if (handle_) {
        BOOL error = FALSE;
        auto pos = static_cast<int>(SendMessageW(handle_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
        // The error flag speaks of the associated edit's text; without one the value is the control's.
        if (!error || !associate_)
            position_ = pos;
    }
    return position_;
}

void TCustomUpDown::SetPosition(int value)
{
    position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (handle_)
        SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::SetMin(int value)
{
    if (value == min_)
        return;
    min_ = value;
    SendRange();
}

void TCustomUpDown::SetMax(int value)
{
    if (value == max_)
        return;
    max_ = value;
    SendRange();
}

void TCustomUpDown::SetIncrement(int value)
{
    if (value == increment_ || value <= 0)
        return;
    increment_ = value;
    if (handle_) {
        UDACCEL accel{0, static_cast<UINT>(value)};
        SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void TCustomUpDown::SetOrientation(TUDOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    // The arrows turn with the control: swap its sides.
    SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton value)
{
    if (value == alignButton_)
        return;
    alignButton_ = value;
    RecreateWnd();
}

void TCustomUpDown::SetWrap(bool value)
{
    if (value == wrap_)
        return;
    wrap_ = value;
    RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool value)
{
    if (value == arrowKeys_)
        return;
    arrowKeys_ = value;
    RecreateWnd();
}

void TCustomUpDown::SetThousands(bool value)
{
    if (value == thousands_)
        return;
    thousands_ = value;
    RecreateWnd();
}

void TCustomUpDown::SetAssociate(TWinControl* value)
{
    if (value == associate_)
        return;
    if (associate_)
        associate_->RemoveFreeNotification(this);
    associate_ = value;
    if (value)
        value->FreeNotification(this);
    if (handle_)
        RecreateWnd();
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        if (handle_ && !HasState(csDestroying))
            SendMessageW(handle_, UDM_SETBUDDY, 0, 0);
    }
}

bool TCustomUpDown::CanChange()
{
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

bool TCustomUpDown::DoCanChange(short newValue, int delta)
{
    bool allow = CanChange();
    TUpDownDirection direction = delta > 0 ? updUp : delta < 0 ? updDown : updNone;
    OnChangingEx(this, allow, newValue, direction);
    return allow;
}

void TCustomUpDown::Click(TUDBtnType button)
{
    OnClick(this, button);
}

void TCustomUpDown::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code != UDN_DELTAPOS)
        return;
    auto* delta = reinterpret_cast<NMUPDOWN*>(m.LParam);
    lastButton_ = delta->iDelta > 0 ? btNext : btPrev;
    // The value the arrows would move to, wrapped or held at the ends as the control does.
    int next = delta->iPos + delta->iDelta;
    int low = std::min(min_, max_), high = std::max(min_, max_);
    if (next > high)
        next = wrap_ ? low : high;
    else if (next < low)
        next = wrap_ ? high : low;
    changeRefused_ = !DoCanChange(static_cast<short>(next), delta->iDelta);
    m.Result = changeRefused_ ? TRUE : FALSE;
}

void TCustomUpDown::CNScroll(TMessage& m)
{
    // The system reports the arrow even when the change was refused: nothing moved, no click.
    if (LOWORD(m.WParam) == SB_THUMBPOSITION && !changeRefused_) {
        Position();
        Click(lastButton_);
    }
    if (LOWORD(m.WParam) == SB_ENDSCROLL)
        changeRefused_ = false;
}

// ---- TTrackBar ----

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, TRACKBAR_CLASSW);
    params.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
    switch (tickMarks_) {
    case tmTopLeft:
        params.Style |= TBS_TOP;
        break;
    case tmBoth:
        params.Style |= TBS_BOTH;
        break;
    default:
        params.Style |= TBS_BOTTOM;
        break;
    }
    if (tickStyle_ == tsNone)
        params.Style |= TBS_NOTICKS;
    else if (tickStyle_ == tsAuto)
        params.Style |= TBS_AUTOTICKS;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::Dispatch(TMessage& message)
{
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        CNScroll(message);
        return;
    }
    TWinControl::Dispatch(message);
}

int TTrackBar::Position()
{
    if (handle_)
        position_ = static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(int value)
{
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value == Position())
        return;
    position_ = value;
    if (handle_)
        SendMessageW(handle_, TBM_SETPOS, TRUE, value);
    Changed();
}

void TTrackBar::SetMin(int value)
{
    if (value == min_)
        return;
    min_ = value;
    if (handle_)
        SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, value);
    if (position_ < min_)
        SetPosition(min_);
}

void TTrackBar::SetMax(int value)
{
    if (value == max_)
        return;
    max_ = value;
    if (handle_)
        SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, value);
    if (position_ > max_ && max_ >= min_)
        SetPosition(max_);
}

void TTrackBar::SetTickMarks(TTickMark value)
{
    if (value == tickMarks_)
        return;
    tickMarks_ = value;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value)
{
    if (value == tickStyle_)
        return;
    tickStyle_ = value;
    RecreateWnd();
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TTrackBar::Changed()
{
    if (!HasState(csLoading) && !HasState(csDestroying))
        OnChange(this);
}

void TTrackBar::CNScroll(TMessage&)
{
    // Every move of the thumb, by mouse or keys, ends here; report only real changes.
    int old = position_;
    if (Position() != old)
        Changed();
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 150, GetSystemMetrics(SM_CYVSCROLL));
}

void TProgressBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSW);
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

int TProgressBar::Position()
{
    if (handle_)
        position_ = static_cast<int>(SendMessageW(handle_, PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int value)
{
    position_ = std::clamp(value, min_, std::max(min_, max_));
    if (handle_)
        SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value)
{
    min_ = value;
    if (handle_)
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SetPosition(position_);
}

void TProgressBar::SetMax(int value)
{
    max_ = value;
    if (handle_)
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SetPosition(position_);
}
