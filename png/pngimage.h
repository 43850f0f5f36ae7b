// TPNGObject: the PNG picture class (a TGraphic over the codec core, drawn from a DIB section with no,
// key-colour or per-pixel transparency) and its registration as the "PNG" picture format.
#pragma once

#include "framework/Graphics.h"
#include "png/PngCore.h"

class TStartup;

class TPNGObject : public TGraphic, public TPNGCore {
    DECLARE_CLASS_NAME(TPNGObject)
public:
    TPNGObject();
    ~TPNGObject() override;
    TPNGObject(const TPNGObject&) = delete;
    TPNGObject& operator=(const TPNGObject&) = delete;

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
    virtual TColor ReadPixel(int x, int y);
    virtual void WritePixel(int x, int y, TColor value);

    // Makes a palette (below 16 bits) or RGB image of the bitmap, keyed on Color when Transparent.
    void LoadFromBitmapHandle(HBITMAP bitmap, bool transparent, TColor color);
    TColor TransparentColor() const { return static_cast<TColor>(TPNGCore::TransparentColor()); }

    // The DIB section and memory DC of the decoded image (null without one).
    HBITMAP DIBSection() const;

protected:
    void AssignTo(TPersistent* dest) override;
    int GetWidth() const override { return PngWidth(); }
    int GetHeight() const override { return PngHeight(); }
    bool GetEmpty() const override { return PngEmpty(); }
    bool GetTransparent() const override { return TransparencyKind() != TPNGTransparencyKind::ptmNone; }
    HPALETTE GetPalette() override;

    std::unique_ptr<TPngImageStorage> CreateImageStorage(const TPngBitmapInfo& info, std::uint64_t bytes) override;
    void ImageStorageChanged() override;

private:
    // Bit transparency: the image stretched to Rect, leaving out the pixels IsKeyPixel names.
    void DrawKeyedDIB(HDC dc, const TRect& rect);
    void DrawWithAlpha(HDC dc, const TRect& rect);

    GdiObject<HPALETTE> palette_; // owned; made by GetPalette, dropped when the DIB is made again
};

// "PNG" / "Portable Network Graphics" in the picture registry, and out of it again.
void RegisterPngFormat();
void UnregisterPngFormat();
// Adds the registration to the program's start-up (last) and shutdown (first).
void AddPngStartupStep(TStartup& startup);
