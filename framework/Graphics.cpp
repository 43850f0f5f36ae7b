// Colours, fonts, brushes, pens and the abstract graphic.
#include "framework/Graphics.h"

#include "framework/SysUtils.h"

#include <utility>

TColor ColorToRGB(TColor color)
{
    if (color < 0)
        return static_cast<TColor>(GetSysColor(color & 0xFF));
    return color;
}

namespace {

int ReadScreenPixelsPerInch()
{
    TScreenDC dc;
    int ppi = dc ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
    return ppi > 0 ? ppi : 96;
}

// The screen's resolution stays what it was at start for the life of the process; reading it once
// spares every new font (every canvas has one) a screen device context.
int ScreenPixelsPerInch()
{
    static const int ppi = ReadScreenPixelsPerInch();
    return ppi;
}

} // namespace

GdiObject<HRGN> RegionLessRects(const TRect& whole, const std::vector<TRect>& holes, int dx, int dy)
{
    GdiObject<HRGN> region(CreateRectRgn(whole.Left + dx, whole.Top + dy, whole.Right + dx, whole.Bottom + dy));
    for (const TRect& r : holes) {
        GdiObject<HRGN> hole(CreateRectRgn(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy));
        CombineRgn(region.Get(), region.Get(), hole.Get(), RGN_DIFF);
    }
    return region;
}

bool SetWindowRegion(HWND wnd, GdiObject<HRGN> region, bool redraw)
{
    if (!SetWindowRgn(wnd, region.Get(), redraw ? TRUE : FALSE))
        return false;
    region.Release();
    return true;
}

bool WindowRegionEquals(HWND wnd, HRGN region)
{
    if (!region)
        return false;
    GdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
    return current && GetWindowRgn(wnd, current.Get()) != ERROR && EqualRgn(current.Get(), region);
}

TSize WrappedTextSize(HFONT font, const std::wstring& text, int maxWidth)
{
    TScreenDC dc;
    TSelectedObject selected(dc.Get(), font);
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return TSize{r.right, r.bottom};
}

COLORREF ColorToColorRef(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFF; }

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

// TFont

TFont::TFont() : name_(L"MS Sans Serif"), height_(-11), pixelsPerInch_(ScreenPixelsPerInch())
{
    // A new font is eight points at the screen's resolution.
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::Changed()
{
    // The canvas that has the old handle selected puts it back during OnChange; only then may it go.
    GdiObject<HFONT> old(handle_.Release());
    TGraphicsObject::Changed();
}

void TFont::SetName(const std::wstring& value)
{
    if (value.empty() || value == name_)
        return;
    name_ = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == height_)
        return;
    height_ = value;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

void TFont::SetCharset(std::uint8_t value)
{
    if (value == charset_)
        return;
    charset_ = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == pitch_)
        return;
    pitch_ = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    // The colour is the DC's text colour, not part of the font handle.
    TGraphicsObject::Changed();
}

void TFont::SetOrientation(int value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    Changed();
}

HFONT TFont::Handle()
{
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfEscapement = orientation_;
        lf.lfOrientation = orientation_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = charset_;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectW(&lf));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TFont::SetHandle(HFONT value)
{
    LOGFONTW lf{};
    if (!value || GetObjectW(value, sizeof lf, &lf) != sizeof lf)
        return;
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    orientation_ = lf.lfEscapement;
    style_ = TFontStyles{};
    if (lf.lfWeight >= FW_BOLD)
        style_.Include(fsBold);
    if (lf.lfItalic)
        style_.Include(fsItalic);
    if (lf.lfUnderline)
        style_.Include(fsUnderline);
    if (lf.lfStrikeOut)
        style_.Include(fsStrikeOut);
    charset_ = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Changed();
}

void TFont::Assign(TPersistent* source)
{
    if (auto* f = dynamic_cast<TFont*>(source)) {
        if (f == this)
            return;
        name_ = f->name_;
        // Heights in pixels stay the size in points: a font from another resolution keeps its Size.
        height_ = f->pixelsPerInch_ == pixelsPerInch_ ? f->height_ : -MulDiv(f->Size(), pixelsPerInch_, 72);
        style_ = f->style_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        color_ = f->color_;
        orientation_ = f->orientation_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// TBrush

void TBrush::Changed()
{
    GdiObject<HBRUSH> old(handle_.Release());
    TGraphicsObject::Changed();
}

void TBrush::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    // A coloured brush is solid: a clear brush given a colour paints again.
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (style_ == bsClear)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (!handle_) {
        if (style_ == bsSolid)
            handle_.Reset(CreateSolidBrush(ColorToColorRef(color_)));
        else
            handle_.Reset(CreateHatchBrush(static_cast<int>(style_) - bsHorizontal + HS_HORIZONTAL, ColorToColorRef(color_)));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TBrush::Assign(TPersistent* source)
{
    if (auto* b = dynamic_cast<TBrush*>(source)) {
        if (b == this)
            return;
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// TPen

void TPen::Changed()
{
    GdiObject<HPEN> old(handle_.Release());
    TGraphicsObject::Changed();
}

void TPen::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    if (value < 0 || value == width_)
        return;
    width_ = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == mode_)
        return;
    mode_ = value;
    // The mode is the DC's raster operation, not part of the pen handle.
    TGraphicsObject::Changed();
}

HPEN TPen::Handle()
{
    if (!handle_) {
        static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(kStyles[style_], width_, ColorToColorRef(color_)));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TPen::Assign(TPersistent* source)
{
    if (auto* p = dynamic_cast<TPen*>(source)) {
        if (p == this)
            return;
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        mode_ = p->mode_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// TGraphic

void TGraphic::SetModified(bool value)
{
    if (value)
        Changed();
    else
        modified_ = false;
}

void TGraphic::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    Changed();
}

void TGraphic::SetPalette(HPALETTE) {}

void TGraphic::Changed()
{
    modified_ = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const std::wstring& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::wstring& fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE)
{
    throw EInvalidGraphic(L"Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&)
{
    throw EInvalidGraphic(L"Unsupported clipboard format");
}
