// The splitter: finds its neighbour when a drag starts, then resizes it live (rsUpdate) or shows
// where it will end with an inverted line (rsLine, rsPattern) and resizes it on release.
#include "framework/Splitter.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle = {csCaptureMouse, csDoubleClicks};
    SetParentColor(true);
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter()
{
    if (lineDC_ && parent_ && parent_->HandleAllocated())
        ReleaseDC(parent_->Handle(), lineDC_);
}

void TSplitter::SetBeveled(bool value)
{
    beveled_ = value;
    Invalidate();
}

TControl* TSplitter::FindControl()
{
    if (!parent_)
        return nullptr;
    // The neighbour shares the splitter's alignment and touches its near edge.
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align())
            continue;
        TRect r = c->BoundsRect();
        bool touches = false;
        switch (Align()) {
        case alLeft:
            touches = r.Right == Left();
            break;
        case alRight:
            touches = r.Left == Left() + Width();
            break;
        case alTop:
            touches = r.Bottom == Top();
            break;
        case alBottom:
            touches = r.Top == Top() + Height();
            break;
        default:
            break;
        }
        if (touches)
            return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !parent_)
        return;
    SetCursor(Horizontal() ? crHSplit : crVSplit);
    control_ = FindControl();
    if (!control_)
        return;
    control_->FreeNotification(this);
    downPos_ = Horizontal() ? x + Left() : y + Top();
    startSize_ = Horizontal() ? control_->Width() : control_->Height();
    newSize_ = startSize_;
    // The rest of the parent keeps at least MinSize beside the other aligned controls.
    int room = Horizontal() ? parent_->ClientWidth() : parent_->ClientHeight();
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Controls(i);
        if (c == this || c == control_ || !c->Visible())
            continue;
        bool sameAxis = Horizontal() ? (c->Align() == alLeft || c->Align() == alRight)
                                     : (c->Align() == alTop || c->Align() == alBottom);
        if (sameAxis)
            room -= Horizontal() ? c->Width() : c->Height();
    }
    maxSize_ = std::max(0, room - (Horizontal() ? Width() : Height()) - minSize_);
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) {
        lineDC_ = GetDCEx(parent_->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
        if (resizeStyle_ == rsPattern) {
            static const WORD kHalftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
            GdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kHalftone));
            lineBrush_.Reset(CreatePatternBrush(pattern.Get()));
        } else {
            lineBrush_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
        }
        lineAt_ = Horizontal() ? Left() : Top();
        DrawLine();
    }
}

int TSplitter::SizeAt(int pos)
{
    int delta = pos - downPos_;
    int size = (Align() == alLeft || Align() == alTop) ? startSize_ + delta : startSize_ - delta;
    if (size < minSize_)
        size = autoSnap_ ? 0 : minSize_;
    if (size > maxSize_)
        size = std::max(maxSize_, autoSnap_ ? 0 : minSize_);
    return size;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!control_)
        return;
    int size = SizeAt(Horizontal() ? x + Left() : y + Top());
    if (size == newSize_ || !CanResize(size))
        return;
    newSize_ = size;
    if (resizeStyle_ == rsUpdate) {
        ApplySize(size);
        return;
    }
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) {
        DrawLine();
        int shiftBy = (Align() == alLeft || Align() == alTop) ? size - startSize_ : startSize_ - size;
        lineAt_ = (Horizontal() ? Left() : Top()) + shiftBy;
        DrawLine();
    }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && control_)
        StopSizing();
}

bool TSplitter::CanResize(int& newSize)
{
    bool accept = true;
    OnCanResize(this, newSize, accept);
    return accept;
}

void TSplitter::StopSizing()
{
    if (lineDC_) {
        DrawLine();
        ReleaseDC(parent_->Handle(), lineDC_);
        lineDC_ = nullptr;
        lineBrush_.Reset();
    }
    TControl* control = control_;
    if (control) {
        control->RemoveFreeNotification(this);
        control_ = nullptr;
        int current = Horizontal() ? control->Width() : control->Height();
        if (newSize_ != current) {
            control_ = control;
            ApplySize(newSize_);
            control_ = nullptr;
        }
    }
    if (control && newSize_ != startSize_)
        OnMoved(this);
}

void TSplitter::ApplySize(int size)
{
    if (!control_)
        return;
    // Aligned controls are placed by the parent: the new size moves the splitter and the rest.
    if (Horizontal())
        control_->SetWidth(size);
    else
        control_->SetHeight(size);
    if (parent_)
        parent_->Update();
}

void TSplitter::DrawLine()
{
    if (!lineDC_)
        return;
    TSelectedObject brush(lineDC_, lineBrush_.Get());
    if (Horizontal())
        PatBlt(lineDC_, lineAt_, Top(), Width(), Height(), PATINVERT);
    else
        PatBlt(lineDC_, Left(), lineAt_, Width(), Height(), PATINVERT);
}

void TSplitter::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    if (beveled_) {
        RECT edge = r.ToRECT();
        if (Horizontal())
            InflateRect(&edge, -1, 0);
        else
            InflateRect(&edge, 0, -1);
        DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
    }
    OnPaint(this);
}

void TSplitter::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == control_)
        control_ = nullptr;
}
