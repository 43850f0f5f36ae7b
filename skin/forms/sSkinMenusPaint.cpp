#include "skin/forms/sSkinMenusPaint.h"

#include "framework/WinApi.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sSkinManager.h"

#include <algorithm>

namespace menupaint {

namespace {

// The section's plain colour for the state, or the parent's pixels for a section that shows its parent.
void PaintBackground(const TsGeneralData& gd, const TCacheInfo& ci, TBitmap* bmp, TPoint offset, const TRect& r,
                     int state)
{
    const int transparency = state == 0 ? gd.Transparency : gd.HotTransparency;
    HDC dc = bmp->Canvas()->Handle();
    if (transparency >= 100 && ci.Ready && ci.Bmp && ci.Bmp != bmp) {
        BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), ci.Bmp->Canvas()->Handle(), ci.X + offset.X + r.Left,
               ci.Y + offset.Y + r.Top, SRCCOPY);
        return;
    }
    const TColor color = static_cast<TColor>(state == 0 ? gd.Color : gd.HotColor);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    RECT rr = r.ToRECT();
    FillRect(dc, &rr, brush);
    DeleteObject(brush);
}

} // namespace

std::unique_ptr<TBitmap> Bmp24(int width, int height)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetHandleType(bmDIB);
    bmp->SetSize(width, height);
    return bmp;
}

void PaintSection(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, TBitmap* bmp,
                  TPoint offset, TRect r, int state)
{
    if (!sm)
        sm = DefaultManager();
    if (!sm || !bmp || r.IsEmpty() || !IsValidSectionIndex(sm, skinIndex))
        return;
    if (r.Left < 0 || r.Top < 0 || r.Right > bmp->Width() || r.Bottom > bmp->Height())
        return;
    PaintBackground(sm->gd[static_cast<size_t>(skinIndex)], ci, bmp, offset, r, state);
    // A menu item shows its border only in its hot look.
    if (section == L"MENUITEM" && state == 0)
        return;
    const int mask = FindMaskIndex(sm, skinIndex, section, L"BORDERSMASK");
    if (!IsValidMaskIndex(sm, mask))
        return;
    ci.X += offset.X;
    ci.Y += offset.Y;
    DrawSkinRect(bmp, r, true, ci, sm->ma[static_cast<size_t>(mask)], state, true);
}

void PaintSectionToDC(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, HDC dc,
                      TPoint offset, TRect r, int state)
{
    if (r.Left < 0 || r.Top < 0 || r.Width() < 1 || r.Height() < 1)
        return;
    auto bmp = Bmp24(r.Width(), r.Height());
    PaintSection(sm, skinIndex, section, ci, bmp.get(), offset, TRect{0, 0, r.Width(), r.Height()}, state);
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void AddCornerRuns(std::vector<TRect>& rects, int width, const TsMaskData& md, bool bottom, int y)
{
    if (!md.Manager || md.ImageCount <= 0)
        return;
    TBitmap* src = MaskSource(md);
    if (!src)
        return;
    const int frameWidth = (md.R.right - md.R.left) / md.ImageCount;
    const int frameHeight = (md.R.bottom - md.R.top) / (md.MaskType + 1);
    const int rows = bottom ? md.WB : md.WT;
    const int firstRow = md.R.top + (bottom ? frameHeight - md.WB : 0);
    if (rows <= 0 || firstRow < 0 || src->Height() < firstRow + rows || src->Width() < md.R.left + frameWidth)
        return;
    TCanvas* canvas = src->Canvas();
    auto scan = [&](int fromColumn, int toColumn, int shift) {
        for (int i = 0; i < rows; ++i) {
            int runStart = -1;
            for (int c = fromColumn; c < toColumn; ++c) {
                const bool key = canvas->Pixels(md.R.left + c, firstRow + i) == clFuchsia;
                if (key && runStart < 0)
                    runStart = c;
                if (!key && runStart >= 0) {
                    rects.push_back(TRect{runStart + shift, y + i, c + shift, y + i + 1});
                    runStart = -1;
                }
            }
            if (runStart >= 0)
                rects.push_back(TRect{runStart + shift, y + i, toColumn + shift, y + i + 1});
        }
    };
    scan(0, std::min<int>(md.WL, frameWidth), 0);
    scan(std::max(0, frameWidth - md.WR), frameWidth, width - frameWidth);
}

} // namespace menupaint
