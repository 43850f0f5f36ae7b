// The skinned up-down control: painting of both arrows from the scroll-button sections, and the hover
// and pressed state the control keeps itself.
#include "skin/controls/sUpDown.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

namespace {

// The manager's cached scroll-button slot (TOP, BOTTOM, LEFT, RIGHT) of each button number.
constexpr int kCachedSlot[4] = {0, 2, 1, 3};
const wchar_t* const kButtonSections[4] = {L"SCROLLBTNTOP", L"SCROLLBTNLEFT", L"SCROLLBTNBOTTOM", L"SCROLLBTNRIGHT"};

struct TButtonIndexes {
    int Section = -1;
    int Border = -1;
    int Texture = -1;
    int HotTexture = -1;
    std::wstring Name;
};

TCacheInfo ParentCacheOf(TControl* control)
{
    TCacheInfo ci;
    ci.Ready = false;
    if (control->Parent()) {
        CacheReply.Ready = false;
        SendSkinCmdToControl(control->Parent(), SkinCmdGetCache, 0);
        ci = CacheReply;
    }
    return ci;
}

} // namespace

TsUpDown::TsUpDown(TComponent* owner) : TCustomUpDown(owner)
{
    ControlStyle.Exclude(csDoubleClicks);
}

void TsUpDown::SetDrawingState(std::uint8_t value)
{
    if (value == drawingState_)
        return;
    drawingState_ = value;
    Repaint();
}

void TsUpDown::SetShowInaccessibility(bool value)
{
    if (value == showInaccessibility_)
        return;
    showInaccessibility_ = value;
    Repaint();
}

void TsUpDown::SetDisabledKind(TsDisabledKind value)
{
    if (value == disabledKind_)
        return;
    disabledKind_ = value;
    Repaint();
}

void TsUpDown::SetButtonSkin(const std::wstring& value)
{
    if (value == buttonSkin_)
        return;
    buttonSkin_ = value;
    Invalidate();
}

bool TsUpDown::SkinPainted() const
{
    TsSkinManager* sm = DefaultManager();
    if (!sm || !sm->SkinData()->Active)
        return false;
    const TacCachedIndexes& c = sm->ConstData;
    if (Orientation() == udVertical)
        return IsValidSectionIndex(sm, c.ScrollBtn[0]) && IsValidSectionIndex(sm, c.ScrollBtn[1]);
    return IsValidSectionIndex(sm, c.ScrollBtn[2]) && IsValidSectionIndex(sm, c.ScrollBtn[3]);
}

TRect TsUpDown::FirstHalf() const
{
    if (Orientation() == udVertical)
        return TRect{0, 0, Width(), Height() / 2};
    return TRect{0, 0, Width() / 2, Height()};
}

bool TsUpDown::AtLimit(int n)
{
    const int position = Position();
    return (n == 0 || n == 3) ? position == Max() : position == Min();
}

bool TsUpDown::FirstAtLimit()
{
    return AtLimit(Orientation() == udVertical ? 0 : 1);
}

bool TsUpDown::SecondAtLimit()
{
    return AtLimit(Orientation() == udVertical ? 2 : 3);
}

void TsUpDown::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case SM_SKINCMD:
        SkinCommand(m);
        return;
    case WM_PAINT:
        if (SkinPainted()) {
            WMPaint(m);
            return;
        }
        break;
    case WM_PRINT:
        Perform(WM_PAINT, m.WParam, m.LParam);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        if (DefaultManager() && DefaultManager()->Active())
            return;
        break;
    case WM_NCHITTEST:
        WMNCHitTest(m);
        return;
    case WM_LBUTTONDOWN:
        WMLButtonDown(m);
        return;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        TCustomUpDown::WndProc(m);
        pressed_ = true;
        PressHotArrow();
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(m);
        return;
    case CM_MOUSELEAVE:
        TCustomUpDown::WndProc(m);
        pressed_ = false;
        SetDrawingState(0);
        return;
    default:
        break;
    }
    TCustomUpDown::WndProc(m);
}

void TsUpDown::SkinCommand(TMessage& m)
{
    if (AnswerCommonSkinCmd(m))
        return;
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinRemoved:
    case SkinCmdRefresh:
        if (DefaultManager() && m.LParam == reinterpret_cast<LPARAM>(DefaultManager()))
            Repaint();
        break;
    default:
        break;
    }
}

// Each arrow looks pressed only while it can still move the position: the first arrow is measured
// against its own limit in both orientations.
void TsUpDown::PressHotArrow()
{
    if (drawingState_ == 1 && !FirstAtLimit())
        SetDrawingState(3);
    else if (drawingState_ == 2 && !SecondAtLimit())
        SetDrawingState(4);
}

void TsUpDown::WMNCHitTest(TMessage& m)
{
    TCustomUpDown::WndProc(m);
    if (!HandleAllocated())
        return;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    std::uint8_t state = 0;
    if (FirstHalf().Contains(TPoint{p.x, p.y})) {
        if (!(showInaccessibility_ && FirstAtLimit()))
            state = 1;
    } else if (!(showInaccessibility_ && SecondAtLimit())) {
        state = 2;
    }
    if (state == 0) {
        SetDrawingState(0);
        return;
    }
    // The arrow under the pointer is painted again even when it keeps its state: its limit may have
    // been reached or left since the last paint.
    if (state != drawingState_ && !pressed_)
        drawingState_ = state;
    Repaint();
}

void TsUpDown::WMLButtonDown(TMessage& m)
{
    TCustomUpDown::WndProc(m);
    pressed_ = true;
    PressHotArrow();
    m.Result = 1;
}

void TsUpDown::WMLButtonUp(TMessage& m)
{
    TCustomUpDown::WndProc(m);
    if (!pressed_)
        return;
    pressed_ = false;
    if (drawingState_ == 3) {
        if (!(showInaccessibility_ && FirstAtLimit()))
            SetDrawingState(1);
    } else if (!(showInaccessibility_ && SecondAtLimit())) {
        SetDrawingState(2);
    }
    m.Result = 1;
}

void TsUpDown::WMPaint(TMessage& m)
{
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool began = dc == nullptr;
    if (began)
        dc = BeginPaint(handle_, &ps);
    try {
        TSavedDC saved(dc);
        const TRect first = FirstHalf();
        if (auto bmp = CreateBmp24(first.Width(), first.Height())) {
            const bool upright = Orientation() == udVertical;
            PaintButton(bmp.get(), upright ? 0 : 1);
            BitBlt(dc, 0, 0, bmp->Width(), bmp->Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
            PaintButton(bmp.get(), upright ? 2 : 3);
            BitBlt(dc, upright ? 0 : first.Width(), upright ? first.Height() : 0, bmp->Width(), bmp->Height(),
                   bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
    } catch (...) {
        if (began)
            EndPaint(handle_, &ps);
        throw;
    }
    if (began)
        EndPaint(handle_, &ps);
}

void TsUpDown::PaintButton(TBitmap* bmp, int n)
{
    TsSkinManager* sm = DefaultManager();
    if (!sm || !bmp)
        return;
    TCacheInfo ci = ParentCacheOf(this);

    TButtonIndexes ix;
    if (!buttonSkin_.empty()) {
        ix.Section = FindSectionIndex(sm, buttonSkin_);
        ix.Name = buttonSkin_;
        ix.Border = FindMaskIndex(sm, ix.Section, buttonSkin_, L"BORDERSMASK");
        ix.Texture = FindTextureIndex(sm, ix.Section, buttonSkin_, L"PATTERN");
        ix.HotTexture = FindTextureIndex(sm, ix.Section, buttonSkin_, L"HOTPATTERN");
    }
    const int slot = kCachedSlot[n];
    if (ix.Section < 0) {
        ix.Section = sm->ConstData.ScrollBtn[slot];
        ix.Border = sm->ConstData.ScrollBtnBorder[slot];
        ix.Texture = sm->ConstData.ScrollBtnPattern[slot];
        ix.HotTexture = sm->ConstData.ScrollBtnHotPattern[slot];
        ix.Name = kButtonSections[n];
    }
    const int glyph = sm->ConstData.ScrollBtnGlyph[slot];

    const int hot = n == 0 || n == 1 ? 1 : 2;
    const int state = drawingState_ == hot ? 1 : drawingState_ == hot + 2 ? 2 : 0;

    TPoint offset{0, 0};
    if (n == 2) {
        bmp->SetSize(bmp->Width(), Height() - bmp->Height());
        offset.Y = Height() - bmp->Height();
    } else if (n == 3) {
        bmp->SetSize(Width() - bmp->Width(), bmp->Height());
        offset.X = Width() - bmp->Width();
    }
    const TPoint place{Left() + offset.X, Top() + offset.Y};
    const TRect all{0, 0, bmp->Width(), bmp->Height()};

    PaintItemBgFast(ix.Section, ix.Texture, ix.HotTexture, sm, bmp, place, all, state, ci, ix.Name);
    ci = ParentCacheOf(this);
    ci.X += place.X;
    ci.Y += place.Y;
    if (IsValidMaskIndex(sm, ix.Border))
        DrawSkinRect(bmp, all, true, ci, sm->Masks[static_cast<std::size_t>(ix.Border)], state, true);

    if (IsValidMaskIndex(sm, glyph)) {
        const TsMaskData& md = sm->Masks[static_cast<std::size_t>(glyph)];
        TPoint p{0, 0};
        if (md.Bmp) {
            if (md.Bmp->Height() / 2 < bmp->Height())
                p = TPoint{(bmp->Width() - md.Bmp->Width() / 3) / 2, (bmp->Height() - md.Bmp->Height() / 2) / 2};
        } else if (md.ImageCount > 0) {
            p = TPoint{(bmp->Width() - RectWidth(md.R) / MaskFrames(md)) / 2,
                       (bmp->Height() - RectHeight(md.R) / MaskRows(md)) / 2};
        }
        if (p.X < 0 || p.Y < 0)
            return;
        DrawSkinGlyph(bmp, p, state, md, 1);
    }

    if (!Enabled() || (showInaccessibility_ && AtLimit(n))) {
        ci = ParentCacheOf(this);
        if (ci.Ready)
            PaintDisabledEffect(bmp, DisabledKindFlags(disabledKind_), Parent(), place, ci);
        else
            PaintShadowRect(bmp, TRect{0, 0, bmp->Width() + 1, bmp->Height() + 1}, 60, 0, 0,
                            ColorToRGB(Parent() ? Parent()->Color() : Color()));
    }
}

void RegisterUpDownClasses()
{
    RegisterClass<TsUpDown>(L"TsUpDown", L"TCustomUpDown")
        .Bool(L"ShowInaccessibility", &TsUpDown::SetShowInaccessibility)
        .String(L"ButtonSkin", &TsUpDown::SetButtonSkin)
        .Set<TsDisabledKind, TsDisabledKindItem>(L"DisabledKind", &TsUpDown::SetDisabledKind,
                                                 {{L"dkBlended", dkBlended}, {L"dkGrayed", dkGrayed}});
}
