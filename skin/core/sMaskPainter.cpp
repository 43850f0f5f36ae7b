#include "skin/core/sMaskPainter.h"

#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>

namespace {

// The parent's cache bound through the shared objects: 24-bit through Fast24, 32-bit through Fast32;
// other formats cannot be read.
bool BindCache(TBitmap* bmp, TPixelRows& rows)
{
    rows = TPixelRows{};
    if (!bmp)
        return false;
    if (bmp->PixelFormat() == pf24bit && Fast24 && Fast24->Attach(bmp)) {
        rows = TPixelRows{Fast24->Start, Fast24->Delta, Fast24->Width, Fast24->Height, 3};
        return true;
    }
    if (bmp->PixelFormat() == pf32bit && Fast32 && Fast32->Attach(bmp)) {
        rows = TPixelRows{Fast32->Start, Fast32->Delta, Fast32->Width, Fast32->Height, 4};
        return true;
    }
    return false;
}

bool BindCache24(TBitmap* bmp, TPixelRows& rows)
{
    rows = TPixelRows{};
    if (!Fast24 || !Fast24->Attach(bmp))
        return false;
    rows = TPixelRows{Fast24->Start, Fast24->Delta, Fast24->Width, Fast24->Height, 3};
    return true;
}

// Writes the cache's pixel at (X, Y) into D; a position outside the cache leaves D as it is, whatever
// else the row holds.
void PutCachePixel(std::uint8_t* d, const TPixelRows& cache, int x, int y)
{
    if (cache.Contains(x, y))
        std::copy_n(cache.At(x, y), 3, d);
}

// Where a copy between two exclusive rectangles starts and how many columns and rows it takes.
struct TCopySpan {
    int DstX, DstY, SrcX, SrcY, Cols, Rows;
};

// The smaller of the two rectangles, cut to both bitmaps (the mask rows MaskOffset below the image rows
// included); negative origins move both rectangles inward. False when nothing is left.
bool ClipCopy(const TRect& dstRect, const TRect& srcRect, const TPixelRows& dst, const TPixelRows& src, int maskOffset,
              TCopySpan& span)
{
    span = TCopySpan{dstRect.Left, dstRect.Top, srcRect.Left, srcRect.Top, 0, 0};
    span.Rows = std::min({srcRect.Height(), dstRect.Height(), dst.Height - dstRect.Top,
                          src.Height - srcRect.Top - maskOffset});
    span.Cols = std::min({srcRect.Width(), dstRect.Width(), dst.Width - dstRect.Left, src.Width - srcRect.Left});
    const int left = std::max({0, -span.DstX, -span.SrcX});
    span.DstX += left;
    span.SrcX += left;
    span.Cols -= left;
    const int top = std::max({0, -span.DstY, -span.SrcY});
    span.DstY += top;
    span.SrcY += top;
    span.Rows -= top;
    return span.Cols >= 1 && span.Rows >= 1;
}

// Limits an inclusive rectangle to a bitmap of the given size.
TRect ClampInclusive(TRect r, int width, int height)
{
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, width - 1);
    r.Bottom = std::min(r.Bottom, height - 1);
    return r;
}

void BlendThroughMask(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m)
{
    for (int k = 0; k < 3; ++k)
        d[k] = MaskBlend(d[k], s[k], m[k]);
}

// Border widths fitted to a target size: when the two borders do not fit, both give up half the
// excess, and the far one gives one more pixel on an odd size.
void FitBorders(int size, int& nearBorder, int& farBorder)
{
    nearBorder = std::max(nearBorder, 0);
    farBorder = std::max(farBorder, 0);
    if (size >= nearBorder + farBorder)
        return;
    const int cut = (nearBorder + farBorder - size) / 2;
    nearBorder = std::max(nearBorder - cut, 0);
    farBorder -= cut;
    if (size % 2 != 0)
        farBorder -= 1;
    farBorder = std::max(farBorder, 0);
}

// The nine pieces of one state frame of a skin image over a target rectangle.
struct TFrameGeometry {
    int WL, WT, WR, WB; // border widths fitted to the target
    int CW, CH;         // the centre piece's size in the source
    int FH;             // the frame's height
    int SX, SY;         // the frame's top-left in the source
    TRect Target;

    // Piece (column, row) of the source: 0 left/top border, 1 middle, 2 right/bottom border.
    TRect Source(int col, int row) const
    {
        const int x[4] = {SX, SX + WL, SX + WL + CW, SX + WL + CW + WR};
        const int yTop[3] = {SY, SY + WT, SY + FH - WB};
        const int yBottom[3] = {SY + WT, SY + WT + CH, SY + FH};
        return TRect{x[col], yTop[row], x[col + 1], yBottom[row]};
    }
    // The same piece's place in the target.
    TRect Dest(int col, int row) const
    {
        const TRect& r = Target;
        const int x[4] = {r.Left, r.Left + WL, r.Right - WR, r.Right};
        const int y[4] = {r.Top, r.Top + WT, r.Bottom - WB, r.Bottom};
        return TRect{x[col], y[row], x[col + 1], y[row + 1]};
    }
};

// Valid only for a mask with ImageCount > 0 and MaskType >= 0.
TFrameGeometry FrameGeometry(const TsMaskData& md, const TRect& target, int stateOffset)
{
    TFrameGeometry g{};
    g.Target = target;
    g.WL = md.WL;
    g.WR = md.WR;
    g.WT = md.WT;
    g.WB = md.WB;
    FitBorders(target.Width(), g.WL, g.WR);
    FitBorders(target.Height(), g.WT, g.WB);
    const int fw = RectWidth(md.R) / md.ImageCount;
    g.FH = RectHeight(md.R) / (md.MaskType + 1);
    g.CW = std::max(fw - g.WL - g.WR, 0);
    g.CH = std::max(g.FH - g.WT - g.WB, 0);
    g.SX = md.R.left + stateOffset;
    g.SY = md.R.top;
    return g;
}

// Pieces of size Piece from Pos while a whole one fits before the far border, then one piece cut to
// end at the far border. A piece size below 1 leaves only the cut piece.
template <class Put>
void TileAlong(int pos, int piece, int farEnd, int farBorder, Put put)
{
    if (piece >= 1)
        for (; pos < farEnd - piece - farBorder; pos += piece)
            put(pos, piece);
    if (pos < farEnd - farBorder)
        put(pos, farEnd - farBorder - pos);
}

bool CanPaintFrame(TBitmap* bmp, const TRect& r, const TsMaskData& md)
{
    return bmp && r.Width() > 1 && r.Height() > 1 && md.Manager && md.ImageCount > 0 && md.MaskType >= 0 &&
           MaskSource(md);
}

void DrawMaskedFrame(TBitmap* bmp, const TFrameGeometry& g, bool filling, const TCacheInfo& ci, const TsMaskData& md)
{
    TBitmap* src = MaskSource(md);
    const TRect& r = g.Target;
    auto corner = [&](int col, int row) { CopyByMask(g.Dest(col, row), g.Source(col, row), bmp, src, ci, true, md); };
    auto piece = [&](const TRect& dst, int col, int row) {
        CopyByMask(dst, g.Source(col, row), bmp, src, EmptyCacheInfo, false, md);
    };
    auto vertical = [&](int col, int left, int right) {
        TileAlong(r.Top + g.WT, g.CH, r.Bottom, g.WB, [&](int y, int h) { piece(TRect{left, y, right, y + h}, col, 1); });
    };
    auto horizontal = [&](int row, int top, int bottom) {
        TileAlong(r.Left + g.WL, g.CW, r.Right, g.WR, [&](int x, int w) { piece(TRect{x, top, x + w, bottom}, 1, row); });
    };
    corner(0, 0);
    vertical(0, r.Left, r.Left + g.WL);
    horizontal(0, r.Top, r.Top + g.WT);
    corner(0, 2);
    horizontal(2, r.Bottom - g.WB, r.Bottom);
    corner(2, 2);
    corner(2, 0);
    vertical(2, r.Right - g.WR, r.Right);
    if (filling)
        TileAlong(r.Top + g.WT, g.CH, r.Bottom, g.WB, [&](int y, int h) { horizontal(1, y, y + h); });
}

// Sides and centre of a plain image are copied by GDI: one stretch over the whole piece, or tiles.
class TPlainPieceCopier {
public:
    TPlainPieceCopier(TBitmap* dst, TBitmap* src, bool stretch)
        : dc_(dst->Canvas()->Handle()), srcDc_(src->Canvas()->Handle()), stretch_(stretch),
          oldMode_(SetStretchBltMode(dc_, COLORONCOLOR))
    {
    }
    ~TPlainPieceCopier() { SetStretchBltMode(dc_, oldMode_); }
    TPlainPieceCopier(const TPlainPieceCopier&) = delete;
    TPlainPieceCopier& operator=(const TPlainPieceCopier&) = delete;

    void Stretch(const TRect& dst, const TRect& src) const
    {
        if (dst.Width() > 0 && dst.Height() > 0 && src.Width() > 0 && src.Height() > 0)
            StretchBlt(dc_, dst.Left, dst.Top, dst.Width(), dst.Height(), srcDc_, src.Left, src.Top, src.Width(),
                       src.Height(), SRCCOPY);
    }
    void Copy(int x, int y, int w, int h, const TRect& src) const
    {
        BitBlt(dc_, x, y, w, h, srcDc_, src.Left, src.Top, SRCCOPY);
    }
    bool Stretching() const { return stretch_; }

private:
    HDC dc_;    // borrowed from the target's canvas
    HDC srcDc_; // borrowed from the source's canvas
    bool stretch_;
    int oldMode_;
};

void DrawPlainFrame(TBitmap* bmp, const TFrameGeometry& g, bool filling, const TCacheInfo& ci, const TsMaskData& md,
                    bool updateCorners)
{
    TBitmap* src = MaskSource(md);
    const TRect& r = g.Target;
    auto corner = [&](int col, int row) {
        const TRect s = g.Source(col, row);
        const TRect d = g.Dest(col, row);
        CopyByMask24(bmp, src, d.Left, d.Top, TRect{s.Left, s.Top, s.Right - 1, s.Bottom - 1}, clFuchsia, ci,
                     updateCorners);
    };
    const TPlainPieceCopier copier(bmp, src, md.StretchMode != 0);
    auto vertical = [&](int col) {
        const TRect d = g.Dest(col, 1);
        if (copier.Stretching())
            copier.Stretch(d, g.Source(col, 1));
        else if (g.CH > 0)
            TileAlong(d.Top, g.CH, r.Bottom, g.WB, [&](int y, int h) { copier.Copy(d.Left, y, d.Width(), h, g.Source(col, 1)); });
    };
    auto horizontal = [&](int row, int top, int height) {
        if (g.CW >= 1)
            TileAlong(r.Left + g.WL, g.CW, r.Right, g.WR, [&](int x, int w) { copier.Copy(x, top, w, height, g.Source(1, row)); });
    };
    auto side = [&](int row) {
        const TRect d = g.Dest(1, row);
        if (copier.Stretching())
            copier.Stretch(d, g.Source(1, row));
        else
            horizontal(row, d.Top, d.Height());
    };
    corner(0, 0);
    vertical(0);
    side(0);
    corner(0, 2);
    side(2);
    corner(2, 2);
    corner(2, 0);
    vertical(2);
    if (!filling || md.BorderWidth != 0)
        return;
    if (copier.Stretching())
        copier.Stretch(g.Dest(1, 1), g.Source(1, 1));
    else if (g.CH > 0)
        TileAlong(r.Top + g.WT, g.CH, r.Bottom, g.WB, [&](int y, int h) { horizontal(1, y, h); });
}

} // namespace

void DrawSkinRect(TBitmap* bmp, const TRect& r, bool filling, const TCacheInfo& ci, const TsMaskData& md, int state,
                  bool updateCorners)
{
    if (!CanPaintFrame(bmp, r, md))
        return;
    state = std::clamp(state, 0, md.ImageCount - 1);
    const TFrameGeometry g = FrameGeometry(md, r, state * (RectWidth(md.R) / md.ImageCount));
    if (md.MaskType != 0)
        DrawMaskedFrame(bmp, g, filling, ci, md);
    else
        DrawPlainFrame(bmp, g, filling, ci, md, updateCorners);
}

void RepaintCacheCorners(TBitmap* cache, TsMaskData md, int state, int corners, const TCacheInfo& ci,
                         TColor parentColor)
{
    TPixelRows c, s, parent;
    if (!BindPixelRows(cache, pf24bit, c) || c.Width <= 1 || c.Height <= 1)
        return;
    if (md.ImageCount == 0 && md.Bmp) {
        md.MaskType = 1;
        md.ImageCount = 3;
        md.R = RECT{0, 0, md.Bmp->Width(), md.Bmp->Height()};
    }
    if (md.ImageCount <= 0 || md.MaskType < 0 || !BindPixelRows(MaskSource(md), pf24bit, s))
        return;
    state = std::clamp(state, 0, md.ImageCount - 1);
    const TFrameGeometry g = FrameGeometry(md, TRect{0, 0, c.Width, c.Height}, state * RectWidth(md.R) / md.ImageCount);
    const bool fromParent = parentColor == sNoColor && ci.Ready && BindCache24(ci.Bmp, parent);
    const struct {
        int Bit, Col, Row;
    } kCorners[] = {{kCornerTopLeft, 0, 0}, {kCornerBottomLeft, 0, 2}, {kCornerBottomRight, 2, 2}, {kCornerTopRight, 2, 0}};
    for (const auto& k : kCorners) {
        if (!(corners & k.Bit))
            continue;
        const TRect src = g.Source(k.Col, k.Row);
        const TRect dst = g.Dest(k.Col, k.Row);
        for (int row = 0; row < src.Height(); ++row)
            for (int col = 0; col < src.Width(); ++col) {
                const int dx = dst.Left + col;
                const int dy = dst.Top + row;
                if (!s.Contains(src.Left + col, src.Top + row) || !c.Contains(dx, dy) ||
                    !IsKeyPixel(s.At(src.Left + col, src.Top + row)))
                    continue;
                if (fromParent)
                    PutCachePixel(c.At(dx, dy), parent, ci.X + dx, ci.Y + dy);
                else
                    PutColor(c.At(dx, dy), parentColor);
            }
    }
}

TBitmap* MaskSource(const TsMaskData& md)
{
    if (md.Bmp)
        return md.Bmp.get();
    return md.Manager ? md.Manager->MasterBitmap.get() : nullptr;
}

void CopyByMask(TRect dstRect, TRect srcRect, TBitmap* dst, TBitmap* src, const TCacheInfo& ci, bool updateTrans,
                const TsMaskData& md)
{
    try {
        TPixelRows d, s, cache;
        const int maskOffset = RectHeight(md.R) / 2;
        TCopySpan span;
        if (!BindPixelRows(dst, pf24bit, d) || !BindPixelRows(src, pf24bit, s) ||
            !ClipCopy(dstRect, srcRect, d, s, maskOffset, span))
            return;
        const bool fromCache = ci.Ready && updateTrans;
        if (fromCache && !BindCache(ci.Bmp, cache))
            return;
        for (int row = 0; row < span.Rows; ++row) {
            const int dy = span.DstY + row;
            for (int col = 0; col < span.Cols; ++col) {
                const int dx = span.DstX + col;
                const std::uint8_t* sp = s.At(span.SrcX + col, span.SrcY + row);
                std::uint8_t* dp = d.At(dx, dy);
                if (updateTrans && IsKeyPixel(sp)) {
                    if (fromCache)
                        PutCachePixel(dp, cache, ci.X + dx, ci.Y + dy);
                    else if (TransFillColor != sNoColor)
                        PutColor(dp, TransFillColor);
                    else
                        std::copy_n(sp, 3, dp);
                } else {
                    BlendThroughMask(dp, sp, s.At(span.SrcX + col, span.SrcY + row + maskOffset));
                }
            }
        }
    } catch (...) {
        // Painting fails quietly: the frame is left as far as it got.
    }
}

void CopyByMask24(TBitmap* dst, TBitmap* src, int x, int y, TRect srcRect, TColor transColor, const TCacheInfo& ci,
                  bool updateTrans)
{
    TPixelRows d, s, cache;
    if (!BindPixelRows(dst, pf24bit, d) || !BindPixelRows(src, pf24bit, s))
        return;
    srcRect = ClampInclusive(srcRect, s.Width, s.Height);
    const bool fromCache = updateTrans && ci.Ready && ci.Bmp && BindCache24(ci.Bmp, cache);
    for (int row = 0; row <= srcRect.Bottom - srcRect.Top; ++row) {
        const int dy = y + row;
        if (dy < 0 || dy >= d.Height)
            continue;
        for (int col = 0; col <= srcRect.Right - srcRect.Left; ++col) {
            const int dx = x + col;
            if (dx < 0 || dx >= d.Width)
                continue;
            const std::uint8_t* sp = s.At(srcRect.Left + col, srcRect.Top + row);
            if (PixelColor(sp) != transColor)
                std::copy_n(sp, 3, d.At(dx, dy));
            else if (fromCache)
                PutCachePixel(d.At(dx, dy), cache, ci.X + dx, ci.Y + dy);
        }
    }
}

void CopyMaskedHalf(TBitmap* dst, TBitmap* src, int x, int y, TRect srcRect, TColor transColor)
{
    try {
        CopyByMask24(dst, src, x, y, srcRect, transColor, EmptyCacheInfo, false);
    } catch (...) {
        // As every copy here: a failure paints less, never more.
    }
}

void CopyTransBitmaps(TBitmap* dst, TBitmap* src, int x, int y, TColor transColor)
{
    if (src)
        CopyMaskedHalf(dst, src, x, y, TRect{0, 0, src->Width() - 1, src->Height() - 1}, transColor);
}

void CopyMasterRect(TRect dstRect, TRect srcRect, TBitmap* dst, const TsMaskData& md, const TCacheInfo& ci)
{
    if (!md.Manager)
        return;
    TPixelRows d, s, cache;
    const int maskOffset = RectHeight(md.R) / 2;
    TCopySpan span;
    if (!BindPixelRows(dst, pf24bit, d) || !BindPixelRows(md.Manager->MasterBitmap.get(), pf24bit, s) ||
        !ClipCopy(dstRect, srcRect, d, s, maskOffset, span))
        return;
    if (ci.Ready && !BindCache24(ci.Bmp, cache))
        return;
    for (int row = 0; row < span.Rows; ++row) {
        const int dy = span.DstY + row;
        for (int col = 0; col < span.Cols; ++col) {
            const int dx = span.DstX + col;
            const std::uint8_t* sp = s.At(span.SrcX + col, span.SrcY + row);
            std::uint8_t* dp = d.At(dx, dy);
            if (!IsKeyPixel(sp))
                BlendThroughMask(dp, sp, s.At(span.SrcX + col, span.SrcY + row + maskOffset));
            else if (TransFillColor != sNoColor)
                PutColor(dp, TransFillColor);
            else if (ci.Ready)
                PutCachePixel(dp, cache, ci.X + dx, ci.Y + dy);
        }
    }
}

void DrawMaskedGlyph(TRect dstRect, TRect srcRect, TBitmap* bmp, const TsMaskData& md, int mode, TBitmap* src)
{
    try {
        if (md.MaskType == 0) {
            CopyMaskedHalf(bmp, src, dstRect.Left, dstRect.Top, srcRect, clFuchsia);
            return;
        }
        TPixelRows d, s;
        if (md.MaskType < 0 || !BindPixelRows(bmp, pf24bit, d) || !BindPixelRows(src, pf24bit, s))
            return;
        const int fh = RectHeight(md.R) / (md.MaskType + 1);
        // Inclusive counts: the last row and column offsets to paint.
        const int rows = std::min({srcRect.Bottom - srcRect.Top, dstRect.Bottom - dstRect.Top, d.Height - dstRect.Top - 1});
        const int cols = std::min({srcRect.Right - srcRect.Left, dstRect.Right - dstRect.Left, d.Width - dstRect.Left - 1});
        if (srcRect.Top + rows + fh >= s.Height)
            return;
        for (int row = 0; row <= rows; ++row) {
            const int sy = srcRect.Top + row;
            const int dy = dstRect.Top + row;
            if (sy < 0 || dy < 0)
                continue;
            for (int col = 0; col <= cols; ++col) {
                const int sx = srcRect.Left + col;
                const int dx = dstRect.Left + col;
                if (sx < 0 || sx >= s.Width || dx < 0)
                    continue;
                const std::uint8_t* sp = s.At(sx, sy);
                if (IsKeyPixel(sp))
                    continue;
                const std::uint8_t* mp = s.At(sx, sy + fh);
                std::uint8_t* dp = d.At(dx, dy);
                if (mode == 1) {
                    BlendThroughMask(dp, sp, mp);
                } else {
                    for (int k = 0; k < 3; ++k)
                        dp[k] = MaskBlend(dp[k], sp[k], static_cast<std::uint8_t>(std::min(mp[k] + 100, 255)));
                }
            }
        }
    } catch (...) {
        // A glyph that cannot be read is not drawn.
    }
}

void DrawSkinGlyph(TBitmap* bmp, TPoint p, int state, const TsMaskData& md, int mode)
{
    if (!bmp || md.ImageCount <= 0 || md.MaskType < 0)
        return;
    const int fw = RectWidth(md.R) / md.ImageCount;
    const int fh = RectHeight(md.R) / (md.MaskType + 1);
    const int offset = fw * std::clamp(state, 0, md.ImageCount - 1);
    const int dx = p.X < 0 ? -p.X : 0;
    const int dy = p.Y < 0 ? -p.Y : 0;
    // A glyph partly off the top or left loses those rows and columns; its far edges stay where they
    // are, so nothing of the neighbouring state frame shows.
    const TRect src{md.R.left + offset + dx, md.R.top + dy, md.R.left + offset + fw - 1, md.R.top + fh - 1};
    const TRect dst{p.X + dx, p.Y + dy, p.X + fw - 1, p.Y + fh - 1};
    if (md.Bmp) {
        DrawMaskedGlyph(dst, src, bmp, md, mode, md.Bmp.get());
        return;
    }
    TBitmap* master = md.Manager ? md.Manager->MasterBitmap.get() : nullptr;
    if (!master)
        return;
    if (md.MaskType > 0)
        DrawMaskedGlyph(dst, src, bmp, md, mode, master);
    else if (mode == 1)
        CopyByMask24(bmp, master, dst.Left, dst.Top, src, clFuchsia, EmptyCacheInfo, true);
    else
        BlendTransBitmap(bmp, dst.Left, dst.Top, clFuchsia, 0.5, src, master);
}
