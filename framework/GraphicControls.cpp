// Windowless controls, self-painted windowed controls, and the canvas over a control's device context.
#include "framework/Controls.h"

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& message)
{
    static const TMessageEntry<TGraphicControl> kGraphicControlMessages[] = {
        {WM_PAINT, &TGraphicControl::WMPaint},
    };
    if (DispatchIn(this, kGraphicControlMessages, message))
        return;
    TControl::Dispatch(message);
}

void TGraphicControl::WMPaint(TMessage& m)
{
    // The parent hands over its DC, its origin and clipping already moved to this control.
    if (!m.WParam)
        return;
    TCanvasDCBinding bind(canvas_.get(), reinterpret_cast<HDC>(m.WParam));
    canvas_->Font()->Assign(Font());
    Paint();
}

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* value)
{
    if (value == control_)
        return;
    FreeHandle();
    control_ = value;
}

void TControlCanvas::FreeHandle()
{
    if (!windowDC_)
        return;
    SetHandle(nullptr);
    ReleaseDC(windowDCWnd_, windowDC_);
    windowDC_ = nullptr;
    windowDCWnd_ = nullptr;
}

void TControlCanvas::CreateHandle()
{
    if (!control_)
        return;
    auto* win = dynamic_cast<TWinControl*>(control_);
    TWinControl* owner = win ? win : control_->Parent();
    if (!owner)
        return;
    windowDCWnd_ = owner->Handle();
    windowDC_ = GetDCEx(windowDCWnd_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!win) {
        // A windowless control draws through its parent's DC, moved and clipped to its rectangle.
        SetViewportOrgEx(windowDC_, control_->Left(), control_->Top(), nullptr);
        IntersectClipRect(windowDC_, 0, 0, control_->Width(), control_->Height());
    }
    SetHandle(windowDC_);
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>())
{
    canvas_->SetControl(this);
}

TCustomControl::~TCustomControl()
{
    canvas_->FreeHandle();
}

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->FreeHandle();
    TCanvasDCBinding bind(canvas_.get(), dc);
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    Paint();
}
