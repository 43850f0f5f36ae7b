// The picture, the bevel and the panel.
#include "framework/ExtCtrls.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen()->SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    for (int i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
        rect.Left += 1;
        rect.Top += 1;
        rect.Right -= 1;
        rect.Bottom -= 1;
    }
    ++rect.Bottom;
    ++rect.Right;
}

// ---- TImage ----

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>())
{
    ControlStyle.Include(csReplicatable);
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

void TImage::PictureChanged(TObject*)
{
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    TGraphic* graphic = picture_->Graphic();
    if (graphic && !graphic->Transparent() && !stretch_ && graphic->Width() >= Width() && graphic->Height() >= Height())
        ControlStyle.Include(csOpaque);
    else
        ControlStyle.Exclude(csOpaque);
    Invalidate();
}

TRect TImage::DestRect()
{
    int w = picture_->Width(), h = picture_->Height();
    int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_)
        return Rect(0, 0, cw, ch);
    TRect r = Rect(0, 0, w, h);
    if (center_) {
        int dx = (cw - w) / 2, dy = (ch - h) / 2;
        r = Rect(dx, dy, dx + w, dy + h);
    }
    return r;
}

void TImage::Paint()
{
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty())
        return;
    bool savedTransparent = graphic->Transparent();
    if (transparent_ != savedTransparent)
        graphic->SetTransparent(transparent_);
    Canvas()->StretchDraw(DestRect(), graphic);
    if (transparent_ != savedTransparent)
        graphic->SetTransparent(savedTransparent);
}

void TImage::SetAutoSize(bool value)
{
    autoSize_ = value;
    if (value)
        PictureChanged(this);
}

void TImage::SetCenter(bool value)
{
    if (value != center_) {
        center_ = value;
        PictureChanged(this);
    }
}

void TImage::SetStretch(bool value)
{
    if (value != stretch_) {
        stretch_ = value;
        PictureChanged(this);
    }
}

void TImage::SetTransparent(bool value)
{
    if (value != transparent_) {
        transparent_ = value;
        PictureChanged(this);
    }
}

// ---- TBevel ----

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    if (value != shape_) {
        shape_ = value;
        Invalidate();
    }
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (value != style_) {
        style_ = value;
        Invalidate();
    }
}

void TBevel::Paint()
{
    TColor dark = clBtnShadow, light = clBtnHighlight;
    TColor first = style_ == bsLowered ? dark : light;
    TColor second = style_ == bsLowered ? light : dark;
    TCanvas* c = Canvas();
    int w = Width(), h = Height();
    c->Pen()->SetWidth(1);
    auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (shape_) {
    case bsBox: {
        TRect r = ClientRect();
        Frame3D(c, r, first, second, 1);
        break;
    }
    case bsFrame: {
        // Two offset rectangles make an etched (or bumped) frame.
        TRect outer = Rect(1, 1, w, h);
        Frame3D(c, outer, second, second, 1);
        TRect inner = Rect(0, 0, w - 1, h - 1);
        Frame3D(c, inner, first, first, 1);
        break;
    }
    case bsTopLine:
        line(first, 0, 0, w, 0);
        line(second, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(first, 0, h - 2, w, h - 2);
        line(second, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, h);
        line(second, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(first, w - 2, 0, w - 2, h);
        line(second, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

// ---- TCustomPanel ----

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csSetCaption);
    ControlStyle.Include(csOpaque);
    ControlStyle.Include(csDoubleClicks);
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

int TCustomPanel::EdgeWidth() const
{
    int width = borderWidth_;
    if (bevelOuter_ != bvNone)
        width += bevelWidth_;
    if (bevelInner_ != bvNone)
        width += bevelWidth_;
    return width;
}

TRect TCustomPanel::AlignRect()
{
    TRect r = ClientRect();
    int e = EdgeWidth();
    r.Left += e;
    r.Top += e;
    r.Right -= e;
    r.Bottom -= e;
    return r;
}

void TCustomPanel::Changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::Dispatch(TMessage& message)
{
    if (message.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::Dispatch(message);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        if (kind == bvSpace) {
            r.Left += bevelWidth_;
            r.Top += bevelWidth_;
            r.Right -= bevelWidth_;
            r.Bottom -= bevelWidth_;
            return;
        }
        TColor top = kind == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = kind == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(c, r, top, bottom, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(c, r, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
    std::wstring caption = Text();
    if (caption.empty())
        return;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    RECT text = r.ToRECT();
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    HDC dc = c->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, flags);
}

void TCustomPanel::SetBevelOuter(TPanelBevel value)
{
    if (value != bevelOuter_) {
        bevelOuter_ = value;
        Changed();
    }
}

void TCustomPanel::SetBevelInner(TPanelBevel value)
{
    if (value != bevelInner_) {
        bevelInner_ = value;
        Changed();
    }
}

void TCustomPanel::SetBevelWidth(int value)
{
    value = std::max(1, value);
    if (value != bevelWidth_) {
        bevelWidth_ = value;
        Changed();
    }
}

void TCustomPanel::SetBorderWidth(int value)
{
    value = std::max(0, value);
    if (value != borderWidth_) {
        borderWidth_ = value;
        Changed();
    }
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    if (value != alignment_) {
        alignment_ = value;
        Invalidate();
    }
}
