// The canvas: drawing operations over a device context with lazily selected font, brush and pen.
#include "framework/Graphics.h"

TCanvas::TCanvas()
{
    InitializeCriticalSection(&lock_);
    // A changed tool is deselected before its old handle goes, then selected again on next use.
    font_.OnChange = [this](TObject*) {
        if (handle_ && oldFont_) {
            SelectObject(handle_, oldFont_);
            oldFont_ = nullptr;
        }
        state_ &= ~csFontValid;
    };
    pen_.OnChange = [this](TObject*) {
        if (handle_ && oldPen_) {
            SelectObject(handle_, oldPen_);
            oldPen_ = nullptr;
        }
        state_ &= ~csPenValid;
    };
    brush_.OnChange = [this](TObject*) {
        if (handle_ && oldBrush_) {
            SelectObject(handle_, oldBrush_);
            oldBrush_ = nullptr;
        }
        state_ &= ~csBrushValid;
    };
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
    DeleteCriticalSection(&lock_);
}

HDC TCanvas::Handle()
{
    RequiredState(csHandleValid | csFontValid | csPenValid | csBrushValid);
    return handle_;
}

void TCanvas::SetHandle(HDC value)
{
    if (handle_ == value)
        return;
    if (handle_)
        DeselectHandles();
    handle_ = value;
    state_ = value ? unsigned{csHandleValid} : 0u;
}

void TCanvas::DeselectHandles()
{
    if (!handle_)
        return;
    if (oldFont_)
        SelectObject(handle_, oldFont_);
    if (oldPen_)
        SelectObject(handle_, oldPen_);
    if (oldBrush_)
        SelectObject(handle_, oldBrush_);
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    state_ &= csHandleValid;
}

void TCanvas::RequiredState(unsigned state)
{
    unsigned needed = state & ~state_;
    if (!needed)
        return;
    if (!handle_) {
        CreateHandle();
        if (!handle_)
            throw EInvalidOperation(L"Canvas does not allow drawing");
    }
    if ((state & csFontValid) && !(state_ & csFontValid))
        SelectFont();
    if ((state & csPenValid) && !(state_ & csPenValid))
        SelectPen();
    if ((state & csBrushValid) && !(state_ & csBrushValid))
        SelectBrush();
}

void TCanvas::SelectFont()
{
    HGDIOBJ old = SelectObject(handle_, font_.Handle());
    if (!oldFont_)
        oldFont_ = old;
    SetTextColor(handle_, ColorToColorRef(font_.Color()));
    state_ |= csFontValid;
}

void TCanvas::SelectPen()
{
    HGDIOBJ old = SelectObject(handle_, pen_.Handle());
    if (!oldPen_)
        oldPen_ = old;
    static const int kRop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
                                R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    SetROP2(handle_, kRop2[pen_.Mode()]);
    state_ |= csPenValid;
}

void TCanvas::SelectBrush()
{
    UnrealizeObject(brush_.Handle());
    HGDIOBJ old = SelectObject(handle_, brush_.Handle());
    if (!oldBrush_)
        oldBrush_ = old;
    // Text is written on the brush's colour, or on what is there under a clear brush.
    SetBkColor(handle_, ColorToColorRef(brush_.Color()));
    SetBkMode(handle_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
    state_ |= csBrushValid;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCanvas::Lock()
{
    EnterCriticalSection(&lock_);
    ++lockCount_;
}

void TCanvas::Unlock()
{
    --lockCount_;
    LeaveCriticalSection(&lock_);
}

bool TCanvas::TryLock()
{
    if (!TryEnterCriticalSection(&lock_))
        return false;
    ++lockCount_;
    return true;
}

TPoint TCanvas::PenPos()
{
    RequiredState(csHandleValid);
    POINT p{};
    GetCurrentPositionEx(handle_, &p);
    return {p.x, p.y};
}

TRect TCanvas::ClipRect()
{
    RequiredState(csHandleValid);
    RECT r{};
    GetClipBox(handle_, &r);
    return TRect::FromRECT(r);
}

void TCanvas::FillRect(const TRect& rect)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect.ToRECT();
    ::FillRect(handle_, &r, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect.ToRECT();
    ::FrameRect(handle_, &r, brush_.Handle());
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Rectangle(handle_, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::RoundRect(handle_, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Ellipse(handle_, x1, y1, x2, y2);
    Changed();
}

namespace {
std::vector<POINT> ToPOINTs(const std::vector<TPoint>& points)
{
    std::vector<POINT> result;
    result.reserve(points.size());
    for (const TPoint& p : points)
        result.push_back(POINT{p.X, p.Y});
    return result;
}
} // namespace

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    Changing();
    RequiredState(csHandleValid | csPenValid);
    std::vector<POINT> pts = ToPOINTs(points);
    ::Polyline(handle_, pts.data(), static_cast<int>(pts.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    std::vector<POINT> pts = ToPOINTs(points);
    ::Polygon(handle_, pts.data(), static_cast<int>(pts.size()));
    Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    RequiredState(csHandleValid);
    MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(handle_, x, y);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text)
{
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    ExtTextOutW(handle_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SIZE size{};
    GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &size);
    MoveToEx(handle_, x + size.cx, y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::wstring& text)
{
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED;
    if (brush_.Style() != bsClear)
        options |= ETO_OPAQUE;
    RECT r = rect.ToRECT();
    ExtTextOutW(handle_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const std::wstring& text)
{
    RequiredState(csHandleValid | csFontValid);
    SIZE size{};
    GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect.ToRECT();
    ::DrawFocusRect(handle_, &r);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    Changing();
    RequiredState(csHandleValid);
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    HDC src = canvas->Handle();
    ::StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), src, source.Left, source.Top,
                 source.Width(), source.Height(), copyMode_);
    Changed();
}

TColor TCanvas::Pixels(int x, int y)
{
    RequiredState(csHandleValid);
    COLORREF c = GetPixel(handle_, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Changing();
    RequiredState(csHandleValid | csPenValid);
    ::SetPixel(handle_, x, y, ColorToColorRef(color));
    Changed();
}
