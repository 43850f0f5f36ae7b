// The texture painters of the element painter and the window-region runs of a border mask's corners.
#include "skin/core/sItemPainter.h"

#include "skin/core/sMaskPainter.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>

namespace {

constexpr TRect kDone{-1, -1, -1, -1};

// One piece of the source W x H at (SX, SY) of the source DC: copies, cut at the rectangle's edges.
struct TTileSource {
    HDC DC = nullptr; // borrowed
    int SX = 0;
    int SY = 0;
    int W = 0;
    int H = 0;
};

void CopyTile(HDC dst, int x, int y, int w, int h, const TTileSource& src)
{
    if (w > 0 && h > 0)
        BitBlt(dst, x, y, std::min(w, src.W), std::min(h, src.H), src.DC, src.SX, src.SY, SRCCOPY);
}

void TileRect(HDC dst, const TRect& r, const TTileSource& src)
{
    for (int y = r.Top; y < r.Bottom; y += src.H)
        for (int x = r.Left; x < r.Right; x += src.W)
            CopyTile(dst, x, y, r.Right - x, r.Bottom - y, src);
}

void Stretch(HDC dst, int x, int y, int w, int h, const TTileSource& src)
{
    const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, x, y, w, h, src.DC, src.SX, src.SY, src.W, src.H, SRCCOPY);
    SetStretchBltMode(dst, oldMode);
}

// Whole tiles from R's top-left: columns while one more starts left of Right - W, then one cut
// column; in each column the rows that end inside R. Answers the row below the last whole row.
int TileWholeRows(HDC dst, const TRect& r, const TTileSource& src)
{
    int bottom = r.Top;
    while (bottom + src.H <= r.Bottom)
        bottom += src.H;
    int x = r.Left;
    for (;; x += src.W) {
        for (int y = r.Top; y < bottom; y += src.H)
            CopyTile(dst, x, y, r.Right - x, src.H, src);
        if (x + src.W >= r.Right)
            break;
    }
    return bottom;
}

void PaintMasterTexture(HDC dst, TRect& r, int mode, const TTileSource& src)
{
    TClipScope clip(dst, r);
    switch (mode) {
    case 0:
        TileRect(dst, r, src);
        r = kDone;
        break;
    case 1:
        Stretch(dst, r.Left, r.Top, r.Width(), r.Height(), src);
        r = kDone;
        break;
    case 2:
        TileRect(dst, TRect{r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + src.H)}, src);
        r.Top += src.H;
        break;
    case 3:
        TileRect(dst, TRect{r.Left, r.Top, std::min(r.Right, r.Left + src.W), r.Bottom}, src);
        r.Left += src.W;
        break;
    case 4:
        Stretch(dst, r.Left, r.Top, r.Width(), src.H, src);
        r.Top += src.H;
        break;
    case 5:
        Stretch(dst, r.Left, r.Top, src.W, r.Height(), src);
        r.Left += src.W;
        break;
    case 6:
        for (int x = r.Left; x < r.Right; x += src.W)
            CopyTile(dst, x, r.Bottom - src.H, r.Right - x, src.H, src);
        r.Bottom -= src.H;
        break;
    case 7:
        TileRect(dst, r, src);
        r.Right -= src.W;
        break;
    case 10: {
        // The rows below the last whole row are handed back, so the caller fills them rather than
        // leaving whatever the bitmap held there.
        const int bottom = TileWholeRows(dst, r, src);
        if (bottom < r.Bottom)
            r.Top = bottom;
        else
            r = kDone;
        break;
    }
    default:
        TileRect(dst, r, src);
        r.Left = std::max(r.Left, r.Right - src.W);
        break;
    }
}

} // namespace

void TileGraphic(TCanvas* canvas, const TRect& r, TGraphic* graphic)
{
    if (!canvas || !graphic || r.IsEmpty())
        return;
    const int w = graphic->Width(), h = graphic->Height();
    if (w <= 0 || h <= 0)
        return;
    HDC dc = canvas->Handle();
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        TileRect(dc, r, TTileSource{bitmap->Canvas()->Handle(), 0, 0, w, h});
        return;
    }
    TClipScope clip(dc, r);
    for (int i = 0; i <= r.Width() / w; ++i)
        for (int j = 0; j <= r.Height() / h; ++j)
            canvas->Draw(r.Left + i * w, r.Top + j * h, graphic);
}

void PaintTexture(TCanvas* canvas, TRect& r, TGraphic* graphic, int mode, const TsMaskData& maskData)
{
    if (!canvas || r.IsEmpty())
        return;
    if (graphic && !graphic->Empty()) {
        if (graphic->Width() > 0 && graphic->Height() > 0) {
            TileGraphic(canvas, r, graphic);
            r = kDone;
        }
        return;
    }
    if (!maskData.Manager || !maskData.Manager->MasterBitmap)
        return;
    TBitmap* master = maskData.Manager->MasterBitmap.get();
    const TTileSource src{master->Canvas()->Handle(), maskData.R.left, maskData.R.top, RectWidth(maskData.R),
                          RectHeight(maskData.R)};
    if (src.W <= 0 || src.H <= 0)
        return;
    PaintMasterTexture(canvas->Handle(), r, mode, src);
}

namespace {

// The strip of R no whole tile covered: the parent's cache at the same place, or the fill colour.
void PutParentStrip(TBitmap* bmp, const TRect& strip, const TCacheInfo& ci)
{
    if (strip.IsEmpty())
        return;
    if (ci.Ready) {
        if (ci.Bmp && ci.Bmp != bmp)
            BitBlt(bmp->Canvas()->Handle(), strip.Left, strip.Top, strip.Width(), strip.Height(),
                   ci.Bmp->Canvas()->Handle(), strip.Left + ci.X, strip.Top + ci.Y, SRCCOPY);
        return;
    }
    FillDC(bmp->Canvas()->Handle(), strip, TransFillColor);
}

} // namespace

void PaintMaskedPattern(TBitmap* bmp, TRect& r, TCacheInfo ci, int mode, const TsMaskData& maskData)
{
    if (!bmp || !maskData.Manager || maskData.ImageCount <= 0 || (mode != 0 && mode != 10) || r.IsEmpty())
        return;
    const int fw = RectWidth(maskData.R) / maskData.ImageCount;
    const int h2 = RectHeight(maskData.R) / 2;
    if (fw <= 0 || h2 <= 0)
        return;
    const TRect source{maskData.R.left, maskData.R.top, maskData.R.right, maskData.R.bottom};
    auto tile = [&](int x, int y, int w, int h) {
        CopyMasterRect(TRect{x, y, x + w, y + h}, source, bmp, maskData, ci);
    };
    // Rows of whole tiles start while one more would end above the bottom edge.
    int rowsEnd = r.Top;
    while (rowsEnd < r.Bottom - h2)
        rowsEnd += h2;
    auto column = [&](int x, int w) {
        for (int y = r.Top; y < rowsEnd; y += h2)
            tile(x, y, w, h2);
        // Mode 0 covers all of R: the rows end with one cut at the bottom edge.
        if (mode == 0 && rowsEnd < r.Bottom)
            tile(x, rowsEnd, w, r.Bottom - rowsEnd);
    };
    int x = r.Left;
    for (; x < r.Right - fw; x += fw)
        column(x, fw);
    if (mode == 0) {
        if (x < r.Right)
            column(x, r.Right - x);
    } else {
        // The strips stay inside R, also when not one whole column fitted.
        PutParentStrip(bmp, TRect{r.Left, rowsEnd, r.Right, r.Bottom}, ci);
        PutParentStrip(bmp, TRect{x, r.Top, r.Right, r.Bottom}, ci);
    }
    r = kDone;
}

void AddRgnFromMask(std::vector<TRect>& rects, int width, const TsMaskData& maskData, bool bottom, int y)
{
    if (!maskData.Manager || maskData.ImageCount <= 0 || maskData.MaskType < 0)
        return;
    TPixelRows src;
    if (!BindPixelRows(MaskSource(maskData), pf24bit, src))
        return;
    const int fw = RectWidth(maskData.R) / maskData.ImageCount;
    const int fh = RectHeight(maskData.R) / (maskData.MaskType + 1);
    const int rows = bottom ? maskData.WB : maskData.WT;
    const int firstRow = maskData.R.top + (bottom ? fh - maskData.WB : 0);
    const int left = maskData.R.left;
    if (rows <= 0 || firstRow < 0 || firstRow + rows > src.Height || left < 0 || left + fw > src.Width)
        return;
    // Runs of key-colour pixels between the columns From and To of the first frame, placed at Shift.
    auto scan = [&](int row, int from, int to, int shift, int top) {
        int start = -1;
        for (int c = from; c < to; ++c) {
            if (IsKeyPixel(src.At(left + c, row))) {
                if (start < 0)
                    start = c;
            } else if (start >= 0) {
                rects.push_back(TRect{start + shift, top, c + shift, top + 1});
                start = -1;
            }
        }
        if (start >= 0)
            rects.push_back(TRect{start + shift, top, to + shift, top + 1});
    };
    try {
        for (int i = 0; i < rows; ++i) {
            scan(firstRow + i, 0, std::min<int>(maskData.WL, fw), 0, y + i);
            scan(firstRow + i, std::max(0, fw - maskData.WR), fw, width - fw, y + i);
        }
    } catch (...) {
        // A region without some corner runs only shows a few more frame pixels.
    }
}
