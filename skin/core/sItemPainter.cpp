#include "skin/core/sItemPainter.h"

std::unique_ptr<TBitmap> CreateBmp24(int, int) { return nullptr; }
std::unique_ptr<TBitmap> CreateBmp32(int, int) { return nullptr; }
std::unique_ptr<TBitmap> CreateBmpLike(TGraphic*) { return nullptr; }
void PaintItem(TsCommonData*, TCacheInfo, bool, bool, TBitmap*, TPoint, TRect, int) {}
void PaintItemByIndex(int, const std::wstring&, TCacheInfo, int, int, TsSkinManager*, TBitmap*, TPoint, TRect, int,
                      bool)
{
}
void PaintItemFast(int, int, int, int, TsSkinManager*, TBitmap*, TPoint, TRect, int, bool, TCacheInfo,
                   const std::wstring&)
{
}
void PaintItemBg(int, const std::wstring&, TCacheInfo, TColor, int, int, TsSkinManager*, TBitmap*, TPoint, TRect, int)
{
}
void PaintItemBgFast(int, int, int, TsSkinManager*, TBitmap*, TPoint, TRect, int, TCacheInfo, const std::wstring&) {}
void PaintItemToDC(int, const std::wstring&, TCacheInfo, TsSkinManager*, HDC, TPoint, TRect, int, bool) {}
void AddRgnFromMask(std::vector<TRect>&, int, const TsMaskData&, bool, int) {}
void TileGraphic(TCanvas*, const TRect&, TGraphic*) {}
void PaintTexture(TCanvas*, TRect&, TGraphic*, int, const TsMaskData&) {}
void PaintMaskedPattern(TBitmap*, TRect&, TCacheInfo, int, const TsMaskData&) {}
