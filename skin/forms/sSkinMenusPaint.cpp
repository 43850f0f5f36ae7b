#include "skin/forms/sSkinMenusPaint.h"

#include "skin/core/sItemPainter.h"

namespace menupaint {

std::unique_ptr<TBitmap> Bmp24(int width, int height)
{
    return CreateBmp24(width, height);
}

void PaintSection(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, TBitmap* bmp,
                  TPoint offset, TRect r, int state)
{
    PaintItemByIndex(skinIndex, section, ci, -1, -1, sm, bmp, offset, r, state, true);
}

void PaintSectionToDC(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, HDC dc,
                      TPoint offset, TRect r, int state)
{
    PaintItemToDC(skinIndex, section, ci, sm, dc, offset, r, state, true);
}

void AddCornerRuns(std::vector<TRect>& rects, int width, const TsMaskData& md, bool bottom, int y)
{
    AddRgnFromMask(rects, width, md, bottom, y);
}

} // namespace menupaint
