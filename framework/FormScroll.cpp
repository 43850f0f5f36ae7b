// A form's own scroll bars, the margin of its border width and its translucency: the parts of a form
// that reach into its frame.
#include "framework/Forms.h"

#include "framework/DCScopes.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

int BarOf(TScrollBarKind kind) { return kind == sbHorizontal ? SB_HORZ : SB_VERT; }

bool HasStyle(HWND wnd, LONG_PTR style) { return (GetWindowLongPtrW(wnd, GWL_STYLE) & style) != 0; }

} // namespace

// ---- One bar ----

void TControlScrollBar::SetRange(int value)
{
    range_ = std::max(0, value);
    form_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool value)
{
    visible_ = value;
    form_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value)
{
    value = std::clamp(value, 0, MaxPosition());
    const int delta = position_ - value;
    if (delta == 0)
        return;
    // The position moves first, so that a range worked out while the controls move stays the same.
    position_ = value;
    if (kind_ == sbHorizontal)
        form_->ScrollBy(delta, 0);
    else
        form_->ScrollBy(0, delta);
    if (form_->HandleAllocated()) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position_, 0};
        SetScrollInfo(form_->Handle(), BarOf(kind_), &info, FALSE);
        // The frame repaints the bar, whoever draws it.
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    }
}

void TControlScrollBar::ScrollMessage(int code, int thumbPos)
{
    switch (code) {
    case SB_LINEUP: SetPosition(position_ - Increment); break;
    case SB_LINEDOWN: SetPosition(position_ + Increment); break;
    case SB_PAGEUP: SetPosition(position_ - std::max(1, page_)); break;
    case SB_PAGEDOWN: SetPosition(position_ + std::max(1, page_)); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetPosition(thumbPos); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(range_); break;
    default: break;
    }
}

// ---- The form ----

void TCustomForm::SetAutoScroll(bool value)
{
    if (value == autoScroll_)
        return;
    autoScroll_ = value;
    if (!value) {
        horzScrollBar_->range_ = 0;
        vertScrollBar_->range_ = 0;
    }
    UpdateScrollBars();
}

void TCustomForm::ScrollBy(int deltaX, int deltaY)
{
    if (deltaX == 0 && deltaY == 0)
        return;
    ++updatingScrollBars_;
    const std::vector<TControl*> controls = [this] {
        std::vector<TControl*> list;
        for (int i = 0; i < ControlCount(); ++i)
            list.push_back(Controls(i));
        return list;
    }();
    for (TControl* c : controls)
        if (c->Align() == alNone)
            c->SetBounds(c->Left() + deltaX, c->Top() + deltaY, c->Width(), c->Height());
    --updatingScrollBars_;
    if (HandleAllocated())
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TCustomForm::CalcAutoRange(TControl* leaving)
{
    // The content's extent as it lies unscrolled: each control's far edge plus how far it was moved.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c == leaving || !c->Visible() || c->Align() != alNone)
            continue;
        right = std::max(right, c->Left() + c->Width() + horzScrollBar_->position_);
        bottom = std::max(bottom, c->Top() + c->Height() + vertScrollBar_->position_);
    }
    horzScrollBar_->range_ = right;
    vertScrollBar_->range_ = bottom;
}

void TCustomForm::UpdateScrollBars()
{
    UpdateScrollBarsWithout(nullptr);
}

void TCustomForm::CMControlListChange(TMessage& m)
{
    TWinControl::Dispatch(m);
    // A control placed at its bounds before it joined the form was never aligned here: its reach counts
    // from now on, and a control that leaves counts no more (it is still listed while this is told).
    UpdateScrollBarsWithout(m.LParam ? nullptr : reinterpret_cast<TControl*>(m.WParam));
}

void TCustomForm::UpdateScrollBarsWithout(TControl* leaving)
{
    if (!HandleAllocated() || updatingScrollBars_ || HasState(csLoading) || HasState(csDestroying))
        return;
    TControlScrollBar& h = *horzScrollBar_;
    TControlScrollBar& v = *vertScrollBar_;
    if (!autoScroll_ && h.range_ == 0 && v.range_ == 0 && !h.shown_ && !v.shown_)
        return; // a form that never scrolls leaves its frame alone
    ++updatingScrollBars_;
    struct Done {
        int& count;
        ~Done() { --count; }
    } done{updatingScrollBars_};
    if (autoScroll_)
        CalcAutoRange(leaving);
    // The room there is without bars, then the room each bar takes from the other.
    RECT client{};
    GetClientRect(handle_, &client);
    const int cxBar = GetSystemMetrics(SM_CXVSCROLL), cyBar = GetSystemMetrics(SM_CYHSCROLL);
    const int width = client.right + (HasStyle(handle_, WS_VSCROLL) ? cxBar : 0);
    const int height = client.bottom + (HasStyle(handle_, WS_HSCROLL) ? cyBar : 0);
    bool needH = h.visible_ && h.range_ > width;
    bool needV = v.visible_ && v.range_ > height;
    if (needH && !needV)
        needV = v.visible_ && v.range_ > height - cyBar;
    if (needV && !needH)
        needH = h.visible_ && h.range_ > width - cxBar;
    h.page_ = std::max(0, width - (needV ? cxBar : 0));
    v.page_ = std::max(0, height - (needH ? cyBar : 0));
    for (auto [bar, need] : {std::pair{&h, needH}, std::pair{&v, needV}}) {
        // A bar that goes takes the content back to its start; one that stays keeps it within the range.
        const int position = need ? std::min(bar->position_, bar->MaxPosition()) : 0;
        if (position != bar->position_)
            bar->SetPosition(position);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, need ? bar->range_ - 1 : 0,
                        need ? static_cast<UINT>(bar->page_) : 0U, need ? bar->position_ : 0, 0};
        SetScrollInfo(handle_, BarOf(bar->kind_), &info, FALSE);
        if (need != bar->shown_ || need != HasStyle(handle_, bar->kind_ == sbHorizontal ? WS_HSCROLL : WS_VSCROLL))
            ShowScrollBar(handle_, BarOf(bar->kind_), need);
        bar->shown_ = need;
    }
    RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TCustomForm::WMScroll(TMessage& m)
{
    // A bar control of the form reports to itself; the form's own bars come without a window.
    if (m.LParam) {
        WMReflected(m);
        return;
    }
    TControlScrollBar* bar = m.Msg == WM_HSCROLL ? horzScrollBar_.get() : vertScrollBar_.get();
    bar->ScrollMessage(LOWORD(m.WParam), static_cast<int>(HIWORD(m.WParam)));
    m.Result = 0;
}

// ---- The border width ----

void TCustomForm::SetBorderWidth(int value)
{
    value = std::max(0, value);
    if (value == borderWidth_)
        return;
    borderWidth_ = value;
    if (HandleAllocated())
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::WMNCCalcSize(TMessage& m)
{
    DefaultHandler(m);
    if (borderWidth_ > 0 && m.LParam) {
        // Both forms of the message hold the proposed client rectangle first.
        RECT& r = *reinterpret_cast<RECT*>(m.LParam);
        InflateRect(&r, -borderWidth_, -borderWidth_);
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
    }
}

void TCustomForm::WMNCPaint(TMessage& m)
{
    DefaultHandler(m);
    if (borderWidth_ <= 0 || !handle_)
        return;
    // The margin is frame to the system, which leaves it unpainted: it takes the form's colour.
    RECT window{}, client{};
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT margin = client;
    InflateRect(&margin, borderWidth_, borderWidth_);
    TWindowDC dc(handle_);
    if (!dc)
        return;
    TClipScope outside(dc.Get(), client.left, client.top, client.right, client.bottom, TClipTo::Outside);
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc.Get(), &margin, brush.Get());
}

// ---- Translucency ----

void TCustomForm::SetAlphaBlend(bool value)
{
    if (value == alphaBlend_)
        return;
    alphaBlend_ = value;
    ApplyLayeredStyle();
}

void TCustomForm::SetAlphaBlendValue(int value)
{
    const BYTE alpha = static_cast<BYTE>(std::clamp(value, 0, 255));
    if (alpha == alphaBlendValue_)
        return;
    alphaBlendValue_ = alpha;
    ApplyLayeredStyle();
}

void TCustomForm::ApplyLayeredStyle()
{
    if (!HandleAllocated() || formStyle_ == fsMDIChild)
        return; // child windows cannot be layered
    const LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED))
            SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, 0, alphaBlendValue_, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}
