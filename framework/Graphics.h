// Colours, fonts, brushes, pens, the canvas over a device context, and the picture classes: the
// abstract graphic, DIB bitmaps, icons and the picture with its file-format registry.
#pragma once

#include "framework/Classes.h"
#include "framework/DCScopes.h"
#include "framework/Types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Colours hold red in the low byte. Negative values (high byte 0xFF) name a system colour by its
// COLOR_ index in the low byte; ColorToRGB resolves them.
using TColor = std::int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clBackground = SysColor(1);
constexpr TColor clActiveCaption = SysColor(2);
constexpr TColor clInactiveCaption = SysColor(3);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowFrame = SysColor(6);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clActiveBorder = SysColor(10);
constexpr TColor clInactiveBorder = SysColor(11);
constexpr TColor clAppWorkSpace = SysColor(12);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);
constexpr TColor cl3DLight = SysColor(22);
constexpr TColor clInfoText = SysColor(23);
constexpr TColor clInfoBk = SysColor(24);
constexpr TColor clHotLight = SysColor(26);
constexpr TColor clGradientActiveCaption = SysColor(27);
constexpr TColor clGradientInactiveCaption = SysColor(28);
constexpr TColor clMenuHighlight = SysColor(29);
constexpr TColor clMenuBar = SysColor(30);

// The 24-bit colour of any TColor: system colours through GetSysColor; clNone and clDefault are
// returned as they are, so callers can still tell them apart.
TColor ColorToRGB(TColor color);
// The COLORREF GDI gets: clNone and clDefault mean nothing to GDI, so only their low 24 bits pass.
COLORREF ColorToColorRef(TColor color);
constexpr TColor RGBToColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}
constexpr std::uint8_t ColorRed(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t ColorGreen(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t ColorBlue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// Font, brush and pen: attributes with a GDI handle made on demand, and a change notification that
// the canvas using them listens to.
class TGraphicsObject : public TPersistent {
    DECLARE_CLASS_NAME(TGraphicsObject)
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
    DECLARE_CLASS_NAME(TFont)
public:
    TFont();

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value);
    // Height is in pixels: negative for the character height, positive for the cell height.
    int Height() const { return height_; }
    void SetHeight(int value);
    // Size is in points at the font's PixelsPerInch: Size = -Height * 72 / PixelsPerInch.
    int Size() const;
    void SetSize(int value);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    std::uint8_t Charset() const { return charset_; }
    void SetCharset(std::uint8_t value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Tenths of a degree, counter-clockwise: the escapement of rotated text.
    int Orientation() const { return orientation_; }
    void SetOrientation(int value);

    // All that makes the handle: two fonts of the same shape differ at most in colour.
    struct TShape {
        std::wstring Name;
        int Height = 0;
        TFontStyles Style;
        std::uint8_t Charset = DEFAULT_CHARSET;
        TFontPitch Pitch = fpDefault;
        int Orientation = 0;
        bool operator==(const TShape&) const = default;
    };
    TShape Shape() const { return TShape{name_, height_, style_, charset_, pitch_, orientation_}; }

    // The font's handle, made on first use and owned by the font. Setting a handle takes over its
    // attributes (the caller keeps the handle it passed).
    HFONT Handle();
    void SetHandle(HFONT value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    void Assign(TPersistent* source) override;

protected:
    void Changed() override;

private:
    std::wstring name_;
    int height_;
    int pixelsPerInch_;
    TFontStyles style_;
    std::uint8_t charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    TColor color_ = clWindowText;
    int orientation_ = 0;
    GdiObject<HFONT> handle_; // owned
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
    DECLARE_CLASS_NAME(TBrush)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    // A clear brush has a null brush as its handle.
    HBRUSH Handle();
    void Assign(TPersistent* source) override;

protected:
    void Changed() override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    GdiObject<HBRUSH> handle_; // owned
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen (the DC's R2_ mix mode).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
    pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
    DECLARE_CLASS_NAME(TPen)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);
    HPEN Handle();
    void Assign(TPersistent* source) override;

protected:
    void Changed() override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    GdiObject<HPEN> handle_; // owned
};

class TGraphic;

// Drawing on a device context. The handle is either bound from outside (SetHandle: a paint DC, a
// printer DC) or made on demand by a descendant's CreateHandle (a bitmap's memory DC, a control's
// window DC). The font, brush and pen are selected into the DC lazily and deselected before the
// handle is let go, so a borrowed DC is given back with its own objects.
class TCanvas : public TPersistent {
    DECLARE_CLASS_NAME(TCanvas)
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Raises EInvalidOperation ("Canvas does not allow drawing") when no handle can be had.
    HDC Handle();
    void SetHandle(HDC value);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TFont* Font() { return &font_; }
    TBrush* Brush() { return &brush_; }
    TPen* Pen() { return &pen_; }
    void SetFont(TFont* value) { font_.Assign(value); }
    void SetBrush(TBrush* value) { brush_.Assign(value); }
    void SetPen(TPen* value) { pen_.Assign(value); }
    // The raster operation of CopyRect and of Draw of a bitmap (SRCCOPY by default).
    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD value) { copyMode_ = value; }
    TPoint PenPos();
    void SetPenPos(const TPoint& value) { MoveTo(value.X, value.Y); }
    TRect ClipRect();

    // Lock serialises drawing from several threads on one canvas; it counts.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::wstring& text);
    // Writes text at (x, y) clipped to rect; the brush fills rect first unless it is clear.
    void TextRect(const TRect& rect, int x, int y, const std::wstring& text);
    TSize TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    void DrawFocusRect(const TRect& rect);
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    TColor Pixels(int x, int y);
    void SetPixel(int x, int y, TColor color);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Called around every drawing operation.
    virtual void Changing();
    virtual void Changed();

protected:
    // Descendants that get their DC on demand make it here and bind it with SetHandle.
    virtual void CreateHandle() {}
    // Selects what is not yet selected into the DC; the drawing operations call it.
    enum TCanvasState : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
    void RequiredState(unsigned state);
    // Puts the DC's original objects back: before the handle is let go or changes.
    void DeselectHandles();

private:
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    HDC handle_ = nullptr; // borrowed: bound by SetHandle, released by its binder
    unsigned state_ = 0;
    HGDIOBJ oldFont_ = nullptr;  // borrowed: the DC's own object while ours is selected
    HGDIOBJ oldPen_ = nullptr;   // borrowed
    HGDIOBJ oldBrush_ = nullptr; // borrowed
    TFont font_;
    TBrush brush_;
    TPen pen_;
    DWORD copyMode_ = SRCCOPY;
    CRITICAL_SECTION lock_;
    int lockCount_ = 0;
};

// Binds a canvas to a DC it does not own for one scope: locked and bound on entry, unbound and
// unlocked on every way out.
class TCanvasDCBinding {
public:
    TCanvasDCBinding(TCanvas* canvas, HDC dc) : canvas_(canvas)
    {
        canvas_->Lock();
        canvas_->SetHandle(dc);
    }
    ~TCanvasDCBinding()
    {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
    }
    TCanvasDCBinding(const TCanvasDCBinding&) = delete;
    TCanvasDCBinding& operator=(const TCanvasDCBinding&) = delete;

private:
    TCanvas* canvas_;
};

// The rectangle's region less each of the holes, all moved by (dx, dy).
GdiObject<HRGN> RegionLessRects(const TRect& whole, const std::vector<TRect>& holes, int dx = 0, int dy = 0);
// Hands the region to the window, which owns it from then on; one the system refuses is deleted here.
bool SetWindowRegion(HWND wnd, GdiObject<HRGN> region, bool redraw);
// True when the window has a region of its own and it covers exactly the given one.
bool WindowRegionEquals(HWND wnd, HRGN region);

// The size the text takes in the font on the screen, broken into lines no wider than maxWidth.
TSize WrappedTextSize(HFONT font, const std::wstring& text, int maxWidth);

// A picture of some format: bitmaps, icons, JPEG and PNG images derive from it.
class TGraphic : public TPersistent {
    DECLARE_CLASS_NAME(TGraphic)
public:
    int Width() const { return GetWidth(); }
    int Height() const { return GetHeight(); }
    bool Empty() const { return GetEmpty(); }
    bool Transparent() const { return GetTransparent(); }
    HPALETTE Palette() { return GetPalette(); }
    bool Modified() const { return modified_; }
    void SetModified(bool value);

    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual void SetTransparent(bool value);
    virtual void SetPalette(HPALETTE value);

    // Draws the picture stretched into rect (the canvas's Draw and StretchDraw call it).
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) = 0;
    virtual void LoadFromFile(const std::wstring& fileName);
    virtual void SaveToFile(const std::wstring& fileName);
    // Clipboard data of the given format; the default raises EInvalidGraphic.
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    TNotifyEvent OnChange;

protected:
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool GetEmpty() const = 0;
    virtual bool GetTransparent() const { return transparent_; }
    virtual HPALETTE GetPalette() { return nullptr; }
    virtual void Changed();

private:
    bool transparent_ = false;
    bool modified_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

// A bitmap: a device-independent section by default, with direct row access through ScanLine.
// The sections it makes store rows bottom-up, so ScanLine[y + 1] - ScanLine[y] is minus the row
// stride; a top-down section taken over keeps its order. Pixel code steps by ScanLine[1] - ScanLine[0].
class TBitmap : public TGraphic {
    DECLARE_CLASS_NAME(TBitmap)
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    TCanvas* Canvas();
    // The bitmap handle (owned). Setting one takes it over; ReleaseHandle gives it away.
    HBITMAP Handle();
    void SetHandle(HBITMAP value);
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    TBitmapHandleType HandleType() const { return handleType_; }
    void SetHandleType(TBitmapHandleType value);
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat value);
    void SetWidth(int value) override { SetSize(value, height_); }
    void SetHeight(int value) override { SetSize(width_, value); }
    // Keeps the overlapping part of the picture; new pixels are white.
    void SetSize(int width, int height);
    // The first byte of row y; raises EInvalidGraphicOperation for a row outside the bitmap.
    void* ScanLine(int row);
    // Bytes from one row to the next in memory, always positive.
    int RowStride() const;
    void SetPalette(HPALETTE value) override;
    // With tmAuto the transparent colour is the bottom-left pixel's; setting one makes it tmFixed.
    TColor TransparentColor();
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);
    // Kept for callers that release a bitmap's memory while it is not shown: the section keeps its
    // pixels, so there is nothing to give back.
    void Dormant() {}
    void FreeImage() {}

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // BMP files: BI_RGB at 1, 4, 8, 24 and 32 bits (and 32-bit bit fields in the usual order),
    // bottom-up or top-down; anything else raises EInvalidGraphic.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

protected:
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    bool GetEmpty() const override { return width_ == 0 || height_ == 0; }
    HPALETTE GetPalette() override;
    void Changed() override;

private:
    friend class TBitmapCanvas;
    void Reset();
    void Recreate(int width, int height, TPixelFormat format, TBitmapHandleType type, bool keepPicture);
    void TakeHandle(HBITMAP value);
    void LoadDib(std::span<const std::uint8_t> data, std::size_t infoOffset, std::size_t bitsOffset, bool hasBitsOffset);
    void DetachCanvas();

    GdiObject<HBITMAP> handle_;   // owned
    GdiObject<HPALETTE> palette_; // owned
    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pf24bit;
    TBitmapHandleType handleType_ = bmDIB;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    bool topDown_ = false; // the section's first row in memory is the picture's top row
    struct SectionRows {
        std::uint8_t* Bits = nullptr; // the section's first row in memory; null until ScanLine looks it up
        int Stride = 0;
    } rows_;                          // forgotten whenever handle_ changes
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// The canvas of a bitmap: a memory DC made on first use with the bitmap selected into it.
class TBitmapCanvas : public TCanvas {
    DECLARE_CLASS_NAME(TBitmapCanvas)
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }
    // Lets the DC go (before the bitmap's handle changes).
    void FreeContext();

protected:
    void CreateHandle() override;

private:
    TBitmap* bitmap_;             // borrowed: the owner
    HDC dc_ = nullptr;            // owned memory DC
    HGDIOBJ oldBitmap_ = nullptr; // borrowed
    HPALETTE oldPalette_ = nullptr; // borrowed
};

// An icon from width x height pixels, top row first, each 0xAARRGGBB with straight (not premultiplied)
// colour beside its alpha; the mask is empty, the alpha alone shapes it. Nil when the system refuses.
HICON CreateIconFromPixels(int width, int height, const std::vector<std::uint32_t>& pixels);

// An icon: .ico files with several sizes and depths; the image nearest the requested size (the
// system's icon size unless SetSize asked otherwise) becomes the handle, the deepest of equals.
class TIcon : public TGraphic {
    DECLARE_CLASS_NAME(TIcon)
public:
    TIcon();
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    // The icon handle (owned). Setting one takes it over.
    HICON Handle();
    void SetHandle(HICON value);
    HICON ReleaseHandle();
    bool HandleAllocated() const { return icon_ != nullptr; }
    // The size to choose from a file's images; a loaded file is chosen from again.
    void SetSize(int width, int height);
    void SetWidth(int value) override { SetSize(value, requestedHeight_); }
    void SetHeight(int value) override { SetSize(requestedWidth_, value); }
    // Images in the loaded file, and the bit depth of the chosen one.
    int ImageCount() const { return static_cast<int>(entries_.size()); }
    int BitCount() const { return bitCount_; }

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;

protected:
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    bool GetEmpty() const override { return icon_ == nullptr && data_.empty(); }
    bool GetTransparent() const override { return true; }

private:
    struct Entry {
        int width;
        int height;
        int bitCount;
        std::size_t offset;
        std::size_t size;
        std::size_t missingMask; // mask bytes a 32-bit image was stored without
    };
    void Clear();
    void ChooseImage();
    std::vector<std::uint8_t> EncodeHandle();

    HICON icon_ = nullptr; // owned
    std::vector<std::uint8_t> data_; // the .ico file as loaded
    std::vector<Entry> entries_;
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    int requestedWidth_;
    int requestedHeight_;
};

// A graphic class as the picture registry holds it: its name, a factory and a type test.
struct TGraphicClassRec {
    std::wstring className;
    std::unique_ptr<TGraphic> (*create)();
    bool (*isInstance)(const TGraphic*);
};
using TGraphicClass = const TGraphicClassRec*;

template <class T>
TGraphicClass GraphicClassOf()
{
    static const TGraphicClassRec rec{T::StaticClassName(), []() -> std::unique_ptr<TGraphic> { return std::make_unique<T>(); },
                                      [](const TGraphic* g) { return dynamic_cast<const T*>(g) != nullptr; }};
    return &rec;
}

// A picture of any registered format. The registry maps file extensions (without the dot, case
// ignored) to graphic classes; BMP and ICO are always there, other formats register at start-up.
class TPicture : public TPersistent {
    DECLARE_CLASS_NAME(TPicture)
public:
    TPicture() = default;
    ~TPicture() override = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Copies the graphic (nil empties the picture).
    void SetGraphic(TGraphic* value);
    // The picture as a bitmap or an icon; a picture of another kind is replaced by an empty one.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Raises EInvalidGraphic for an extension no class is registered for.
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

    static void RegisterFileFormat(const std::wstring& extension, const std::wstring& description, TGraphicClass graphicClass);
    static void UnregisterGraphicClass(TGraphicClass graphicClass);
    // The class registered for an extension ("jpg", ".JPG"), or nil.
    static TGraphicClass FileFormatOf(const std::wstring& extension);
    // An open-dialog filter of every registered format of the class (nil: every format).
    static std::wstring GraphicFilter(TGraphicClass graphicClass);

protected:
    void AssignTo(TPersistent* dest) override;

private:
    void SetOwnedGraphic(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};
