// The element painter: a skin section's background, border mask and corner images in a control's bitmap,
// painted through the percentages, transparency and textures of the section's state.
#include "skin/core/sItemPainter.h"

#include "framework/DCScopes.h"
#include "framework/Forms.h"
#include "framework/Jpeg.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sGradient.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>

namespace {

constexpr TRect kDone{-1, -1, -1, -1};

// The two colours one paint lends to the mask copies go back to "none" when it ends, also when an
// exception passes: a later paint must never pick up this one's parent colour.
class TPaintColoursReset {
public:
    TPaintColoursReset() = default;
    ~TPaintColoursReset() { Reset(); }
    TPaintColoursReset(const TPaintColoursReset&) = delete;
    TPaintColoursReset& operator=(const TPaintColoursReset&) = delete;
    static void Reset()
    {
        TransFillColor = sNoColor;
        ParentBgColor = sNoColor;
    }
};

TsSkinManager* ManagerOrDefault(TsSkinManager* manager) { return manager ? manager : DefaultManager(); }

bool LiesInside(const TRect& r, TBitmap* bmp)
{
    return r.Left >= 0 && r.Top >= 0 && r.Right <= bmp->Width() && r.Bottom <= bmp->Height();
}

TRect Inclusive(const TRect& r) { return TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1}; }

TCacheInfo Shifted(TCacheInfo ci, TPoint offset)
{
    ci.X += offset.X;
    ci.Y += offset.Y;
    return ci;
}

// A skin image usable as a state strip: at least one frame and a sane row count.
bool HasFrames(const TsMaskData& md) { return md.ImageCount > 0 && md.MaskType >= 0; }
int FrameWidth(const TsMaskData& md) { return RectWidth(md.R) / md.ImageCount; }
int FrameHeight(const TsMaskData& md) { return RectHeight(md.R) / (md.MaskType + 1); }

// A texture's StretchMode names one of the fifteen draw modes as it is; a value outside them tiles
// the whole rectangle, the plainest of the modes.
int DrawModeOf(const TsMaskData& md) { return md.StretchMode >= 0 && md.StretchMode <= 14 ? md.StretchMode : 0; }

const TsMaskData* MaskAt(TsSkinManager* sm, int index)
{
    return IsValidMaskIndex(sm, index) ? &sm->Masks[static_cast<size_t>(index)] : nullptr;
}

// What one state of a section looks like.
struct TBgLook {
    TColor Color = sNoColor;
    int ImgPercent = 0;
    int GradPercent = 0;
    const TsGradArray* Stops = nullptr;
    int Transparency = 0;
};

TBgLook LookOf(const TsGeneralData& gd, int state, TColor customColor)
{
    TBgLook look;
    const bool hot = state != 0;
    look.Color = customColor != sNoColor ? customColor : static_cast<TColor>(hot ? gd.HotColor : gd.Color);
    look.ImgPercent = hot ? gd.HotImagePercent : gd.ImagePercent;
    look.GradPercent = hot ? gd.HotGradientPercent : gd.GradientPercent;
    if (look.GradPercent != 0)
        look.Stops = hot ? &gd.HotGradientArray : &gd.GradientArray;
    look.Transparency = hot ? gd.HotTransparency : gd.Transparency;
    return look;
}

// The texture a background is painted with: a skin image, a JPEG pattern, or neither.
struct TBgTexture {
    const TsMaskData* Mask = nullptr;
    TGraphic* Pattern = nullptr;
};

void FillRectIn(TBitmap* bmp, const TRect& r, TColor color)
{
    if (!r.IsEmpty())
        FillDC(bmp->Canvas()->Handle(), r, color);
}

// The gradient of the look over R, or its colour when the section has no usable gradient.
void PaintGradientOrColor(TBitmap* bmp, const TRect& r, const TBgLook& look)
{
    const bool usable = look.Stops && !look.Stops->empty() && (*look.Stops)[0].Mode >= 0 && (*look.Stops)[0].Mode <= 2;
    if (usable)
        PaintGradient(bmp, r, *look.Stops);
    else
        FillRectIn(bmp, r, look.Color);
}

// Paints the texture into R; True when it drew anything. What it left undone is filled with Color.
bool PaintTextureOrColor(TBitmap* bmp, const TRect& r, const TBgLook& look, const TBgTexture& texture,
                         const TCacheInfo& ci)
{
    TRect rest = r;
    if (texture.Pattern) {
        PaintTexture(bmp->Canvas(), rest, texture.Pattern, 0, TsMaskData{});
    } else if (texture.Mask) {
        const TsMaskData& md = *texture.Mask;
        if (md.MaskType != 0)
            PaintMaskedPattern(bmp, rest, ci, DrawModeOf(md), md);
        else
            PaintTexture(bmp->Canvas(), rest, md.Bmp.get(), DrawModeOf(md), md);
    }
    const bool drawn = !(rest == r);
    if (!(rest == kDone))
        FillRectIn(bmp, rest, look.Color);
    return drawn;
}

// The last step of both painters: what the percentages leave of Color.
void FinishWithColor(TBitmap* bmp, const TRect& r, const TBgLook& look, int sum)
{
    if (sum <= 0)
        FillRectIn(bmp, r, ParentBgColor != sNoColor && look.Transparency != 0 ? ParentBgColor : look.Color);
    else if (sum < 100)
        BlendColorRect(bmp, Inclusive(r), static_cast<std::uint8_t>(sum), look.Color);
}

// The section's own look (texture, gradient, colour) in R of Bmp. The texture keeps TextureWeight of
// 255 against a gradient painted over it.
void PaintBackground(TBitmap* bmp, const TRect& r, const TBgLook& look, const TBgTexture& texture, const TCacheInfo& ci,
                     std::uint8_t textureWeight)
{
    bool textured = false;
    if (look.ImgPercent > 0)
        textured = PaintTextureOrColor(bmp, r, look, texture, ci);
    if (look.GradPercent > 0) {
        if (textured) {
            const int w = r.Width(), h = r.Height();
            auto gradient = CreateBmp24(w, h);
            PaintGradientOrColor(gradient.get(), TRect{0, 0, w, h}, look);
            // The last column keeps the texture alone: the mix stops one column short.
            SumBitmapsByRect(bmp, gradient.get(), textureWeight, r.TopLeft(), TRect{0, 0, w - 1, h});
        } else {
            PaintGradientOrColor(bmp, r, look);
        }
    }
    FinishWithColor(bmp, r, look, look.GradPercent + look.ImgPercent);
}

// The parent's background in R of Bmp: its reported colour when there is one (only when UseColour),
// else a copy from the parent's cache, unless Bmp is that cache itself.
void PutParent(TBitmap* bmp, const TRect& r, const TCacheInfo& ci, TPoint offset, bool useColour)
{
    if (useColour && ParentBgColor != sNoColor) {
        FillRectIn(bmp, r, ParentBgColor);
        return;
    }
    if (!ci.Bmp || ci.Bmp == bmp)
        return;
    BitBlt(bmp->Canvas()->Handle(), r.Left, r.Top, r.Width(), r.Height(), ci.Bmp->Canvas()->Handle(), ci.X + offset.X,
           ci.Y + offset.Y, SRCCOPY);
}

// The background against the parent: painted straight, the parent alone, or the two mixed with the
// parent keeping Transparency percent.
template <class Paint>
void PaintAgainstParent(TBitmap* bmp, const TRect& r, const TCacheInfo& ci, TPoint offset, int transparency,
                        bool useParentColour, Paint paint)
{
    if (!ci.Ready || transparency <= 0) {
        paint(bmp, r);
        return;
    }
    if (transparency >= 100) {
        PutParent(bmp, r, ci, offset, useParentColour);
        return;
    }
    const int w = r.Width(), h = r.Height();
    auto element = CreateBmp24(w, h);
    paint(element.get(), TRect{0, 0, w, h});
    PutParent(bmp, r, ci, offset, useParentColour);
    const std::uint8_t a = ClampToByte(transparency * 255 / 100);
    SumBitmapsByRect(bmp, element.get(), RGBToColor(a, a, a), r.TopLeft(), TRect{0, 0, w, h});
}

TBgTexture ChooseTexture(TsSkinManager* sm, int skinIndex, const std::wstring& skinSection, int texture, int hotTexture,
                         int state)
{
    TBgTexture chosen;
    const std::wstring key = state == 0 ? L"PATTERN" : L"HOTPATTERN";
    const int passed = state == 0 ? texture : hotTexture;
    int index = -1;
    if (passed == -1)
        index = FindMaskIndex(sm, skinIndex, skinSection, key);
    else if (const TsMaskData* md = MaskAt(sm, passed); md && md->MaskType == 0)
        index = passed;
    chosen.Mask = MaskAt(sm, index);
    if (!chosen.Mask) {
        const int pattern = FindPatternIndex(sm, skinIndex, skinSection, key);
        if (pattern >= 0 && static_cast<size_t>(pattern) < sm->Patterns.size())
            chosen.Pattern = sm->Patterns[static_cast<size_t>(pattern)].Img.get();
    }
    return chosen;
}

// A masked texture in draw mode 10 passed for the normal state is laid over the finished background
// once more, so its whole tiles and the parent's strips show whatever the percentages did.
void RepeatMaskedTexture(TsSkinManager* sm, TBitmap* bmp, TRect r, const TCacheInfo& ci, int texture, int hotTexture)
{
    const TsMaskData* md = MaskAt(sm, texture);
    if (!md || md->MaskType == 0)
        md = MaskAt(sm, hotTexture);
    if (md && md->MaskType > 0 && DrawModeOf(*md) == 10)
        PaintMaskedPattern(bmp, r, ci, 10, *md);
}

TColor OwnerColor(TsCommonData* commonData)
{
    TPersistent* owner = commonData->OwnerObject();
    if (owner && owner->ClassName() == L"TsSkinProvider") {
        if (TCustomForm* form = GetOwnerForm(dynamic_cast<TComponent*>(owner)))
            return ColorToRGB(form->Color());
        return sNoColor;
    }
    if (TControl* control = commonData->OwnerControl())
        return ColorToRGB(control->Color());
    return sNoColor;
}

void DrawCornerImages(TsCommonData* commonData, TsSkinManager* sm, TBitmap* bmp, const TRect& r, int state)
{
    struct TCorner {
        const wchar_t* Name;
        bool Right;
        bool Bottom;
    };
    static const TCorner kCorners[] = {{L"IMGTOPLEFT", false, false},
                                       {L"IMGTOPRIGHT", true, false},
                                       {L"IMGBTMLEFT", false, true},
                                       {L"IMGBTMRIGHT", true, true}};
    for (const TCorner& corner : kCorners) {
        const TsMaskData* md =
            MaskAt(sm, FindMaskIndex(sm, commonData->SkinIndex, commonData->SkinSection(), corner.Name));
        if (!md || !HasFrames(*md))
            continue;
        // Corner images sit at the corners of R, wherever R lies in the bitmap.
        const TPoint p{corner.Right ? r.Right - FrameWidth(*md) : r.Left,
                       corner.Bottom ? r.Bottom - FrameHeight(*md) : r.Top};
        DrawSkinGlyph(bmp, p, state, *md, 1);
    }
}

} // namespace

// ---- Work bitmaps and the solid fill ----

namespace {

std::unique_ptr<TBitmap> CreateBmp(int width, int height, TPixelFormat format)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(format);
    bmp->SetHandleType(bmDIB);
    bmp->SetSize(std::max(width, 0), std::max(height, 0));
    return bmp;
}

} // namespace

std::unique_ptr<TBitmap> CreateBmp24(int width, int height) { return CreateBmp(width, height, pf24bit); }

std::unique_ptr<TBitmap> CreateBmp32(int width, int height) { return CreateBmp(width, height, pf32bit); }

std::unique_ptr<TBitmap> CreateBmpLike(TGraphic* graphic)
{
    return graphic ? CreateBmp24(graphic->Width(), graphic->Height()) : CreateBmp24(0, 0);
}

void FillDC(HDC dc, const TRect& r, TColor color)
{
    TSavedDC saved(dc);
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToColorRef(ColorToRGB(color))));
    RECT rect = r.ToRECT();
    FillRect(dc, &rect, brush.Get());
}

// ---- The painters ----

void PaintItem(TsCommonData* commonData, TCacheInfo ci, bool filling, bool updateCorners, TBitmap* bmp, TPoint offset,
               TRect r, int state)
{
    if (!bmp || !commonData)
        return;
    TsSkinManager* sm = commonData->GetSkinManager();
    if (!sm || !IsValidSectionIndex(sm, commonData->SkinIndex) || !LiesInside(r, bmp))
        return;
    TPaintColoursReset reset;
    ParentBgColor = sNoColor;
    TControl* owner = commonData->OwnerControl();
    TWinControl* parent = owner ? owner->Parent() : nullptr;
    if (!ci.Ready && parent) {
        TransFillColor = ColorToRGB(parent->Color());
        ParentBgColor = TransFillColor;
    }
    if (ci.Ready && parent && !commonData->NeedsParentBg() && ParentBgColor == sNoColor)
        GetParentBgColor(parent);

    const TColor customColor = commonData->CustomColor() ? OwnerColor(commonData) : sNoColor;
    PaintItemBg(commonData->SkinIndex, commonData->SkinSection(), ci, customColor, commonData->Texture,
                commonData->HotTexture, sm, bmp, offset, r, state);

    const TCacheInfo border = Shifted(ci, offset);
    // A menu item shows its border only while it is selected.
    const bool bordered = !(commonData->SkinSection() == L"MENUITEM" && state == 0);
    if (const TsMaskData* md = MaskAt(sm, commonData->BorderIndex); md && bordered)
        DrawSkinRect(bmp, r, filling, border, *md, state, updateCorners);
    TPaintColoursReset::Reset();

    DrawCornerImages(commonData, sm, bmp, r, state);
}

void PaintItemByIndex(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, int texture, int hotTexture,
                      TsSkinManager* manager, TBitmap* bmp, TPoint offset, TRect r, int state, bool filling)
{
    TsSkinManager* sm = ManagerOrDefault(manager);
    if (!bmp || r.IsEmpty() || !IsValidSectionIndex(sm, skinIndex) || !LiesInside(r, bmp))
        return;
    PaintItemBg(skinIndex, skinSection, ci, sNoColor, texture, hotTexture, sm, bmp, offset, r, state);
    if (const TsMaskData* md = MaskAt(sm, FindMaskIndex(sm, skinIndex, skinSection, L"BORDERSMASK")))
        DrawSkinRect(bmp, r, filling, Shifted(ci, offset), *md, state, true);
}

void PaintItemFast(int skinIndex, int borderIndex, int texture, int hotTexture, TsSkinManager* manager, TBitmap* bmp,
                   TPoint offset, TRect r, int state, bool filling, TCacheInfo ci, const std::wstring& skinSection)
{
    TsSkinManager* sm = ManagerOrDefault(manager);
    if (!bmp || !IsValidSectionIndex(sm, skinIndex) || !LiesInside(r, bmp))
        return;
    PaintItemBgFast(skinIndex, texture, hotTexture, sm, bmp, offset, r, state, ci, skinSection);
    if (const TsMaskData* md = MaskAt(sm, borderIndex))
        DrawSkinRect(bmp, r, filling, Shifted(ci, offset), *md, state, true);
}

void PaintItemBg(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, TColor customColor, int texture,
                 int hotTexture, TsSkinManager* manager, TBitmap* bmp, TPoint offset, TRect r, int state)
{
    TsSkinManager* sm = ManagerOrDefault(manager);
    if (!DefaultManager() || !IsValidSectionIndex(sm, skinIndex) || !bmp || r.IsEmpty())
        return;
    const TBgLook look = LookOf(sm->Sections[static_cast<size_t>(skinIndex)], state, customColor);
    const TBgTexture chosen =
        look.ImgPercent > 0 ? ChooseTexture(sm, skinIndex, skinSection, texture, hotTexture, state) : TBgTexture{};
    const TCacheInfo element = Shifted(ci, offset);
    const std::uint8_t textureWeight = ClampToByte(look.ImgPercent * 255 / 100);
    PaintAgainstParent(bmp, r, ci, offset, look.Transparency, true, [&](TBitmap* target, const TRect& where) {
        PaintBackground(target, where, look, chosen, element, textureWeight);
    });
    if (state == 0)
        RepeatMaskedTexture(sm, bmp, r, element, texture, hotTexture);
}

void PaintItemBgFast(int skinIndex, int texture, int hotTexture, TsSkinManager* manager, TBitmap* bmp, TPoint offset,
                     TRect r, int state, TCacheInfo ci, const std::wstring&)
{
    TsSkinManager* sm = ManagerOrDefault(manager);
    if (!DefaultManager() || !IsValidSectionIndex(sm, skinIndex) || !bmp || r.IsEmpty())
        return;
    const TBgLook look = LookOf(sm->Sections[static_cast<size_t>(skinIndex)], state, sNoColor);
    TBgTexture chosen;
    if (look.ImgPercent > 0)
        chosen.Mask = MaskAt(sm, state == 0 ? texture : hotTexture);
    const TCacheInfo element = Shifted(ci, offset);
    // ImgPercent x 256 / 100 reaches 256 at 100 %; taken as a byte that would hand the texture's
    // whole weight to the gradient, so it stops at 255.
    const std::uint8_t textureWeight = ClampToByte(look.ImgPercent * 256 / 100);
    PaintAgainstParent(bmp, r, ci, offset, look.Transparency, false, [&](TBitmap* target, const TRect& where) {
        PaintBackground(target, where, look, chosen, element, textureWeight);
    });
}

void PaintItemToDC(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, TsSkinManager* manager, HDC dc,
                   TPoint offset, TRect r, int state, bool filling)
{
    TsSkinManager* sm = ManagerOrDefault(manager);
    if (!dc || !IsValidSectionIndex(sm, skinIndex) || r.Left < 0 || r.Top < 0 || r.Width() < 1 || r.Height() < 1)
        return;
    TSavedDC saved(dc);
    const int w = r.Width(), h = r.Height();
    auto work = CreateBmp24(w, h);
    PaintItemByIndex(skinIndex, skinSection, ci, -1, -1, sm, work.get(), offset, TRect{0, 0, w, h}, state, filling);
    BitBlt(dc, r.Left, r.Top, w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
}
