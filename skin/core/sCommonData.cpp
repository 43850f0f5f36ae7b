#include "skin/core/sCommonData.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "framework/SysUtils.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>

namespace {

struct TSectionRange {
    int From, To;
    const wchar_t* Section;
};

constexpr TSectionRange kDefaultSections[] = {
    {2, 8, L"EDIT"}, {10, 10, L"EDIT"}, {41, 41, L"EDIT"}, {76, 76, L"EDIT"}, {78, 78, L"EDIT"},
    {83, 84, L"EDIT"}, {96, 97, L"EDIT"}, {131, 131, L"EDIT"}, {140, 140, L"EDIT"}, {227, 227, L"EDIT"},
    {11, 18, L"COMBOBOX"}, {81, 82, L"COMBOBOX"}, {19, 19, L"BAR"}, {20, 20, L"BARTITLE"},
    {32, 32, L"CHECKBOX"}, {152, 152, L"CHECKBOX"}, {33, 33, L"RADIOBUTTON"}, {51, 51, L"PANEL"},
    {59, 59, L"PANEL"}, {68, 68, L"PANEL"}, {73, 73, L"PANEL"}, {52, 52, L"PANEL_LOW"}, {58, 58, L"PANEL_LOW"},
    {53, 54, L"TOOLBAR"}, {60, 60, L"TOOLBAR"}, {56, 56, L"DRAGBAR"}, {57, 57, L"TABSHEET"},
    {74, 74, L"GROUPBOX"}, {226, 226, L"GROUPBOX"}, {75, 75, L"SPLITTER"}, {92, 92, L"SPEEDBUTTON"},
    {95, 95, L"SPEEDBUTTON"}, {93, 94, L"BUTTON"}, {98, 98, L"TOOLBUTTON"}, {141, 141, L"PAGECONTROL"},
    {143, 143, L"PAGECONTROL"}, {151, 151, L"STATUSBAR"}, {161, 161, L"GAUGE"}, {165, 165, L"TRACKBAR"},
};

bool IsDestroying(const TPersistent* p)
{
    auto* c = dynamic_cast<const TComponent*>(p);
    return c && c->HasState(csDestroying);
}

bool IsLoading(const TControl* c) { return c && c->HasState(csLoading); }

} // namespace

std::wstring DefaultSectionOfCOC(int coc)
{
    for (const auto& r : kDefaultSections)
        if (r.From <= coc && coc <= r.To)
            return r.Section;
    return {};
}

bool IsNoHoverCOC(int coc)
{
    return (coc >= 51 && coc <= 74) || coc == 110 || (coc >= 141 && coc <= 161);
}

bool IsEditControl(const TControl* control)
{
    if (!control)
        return false;
    // The edit family of the framework; their colours follow the skin's section.
    static const wchar_t* const kEdits[] = {L"TCustomEdit", L"TEdit", L"TCustomMemo", L"TMemo",
                                            L"TCustomRichEdit", L"TRichEdit"};
    const std::wstring name = control->ClassName();
    return std::any_of(std::begin(kEdits), std::end(kEdits), [&](const wchar_t* n) { return name == n; });
}

TsCommonData::TsCommonData(TPersistent* owner, bool createCacheBmp)
    : FOwnerControl(dynamic_cast<TControl*>(owner)), FOwnerObj(owner)
{
    if (createCacheBmp) {
        FCacheBmp = std::make_unique<TBitmap>();
        FCacheBmp->SetPixelFormat(pf24bit);
        FCacheBmp->SetHandleType(bmDIB);
    }
}

TsCommonData::~TsCommonData()
{
    SkinIndex = Texture = HotTexture = -1;
    FOwnerControl = nullptr;
    FOwnerObj = nullptr;
    skinManager_ = nullptr;
}

TsSkinManager* TsCommonData::GetSkinManager() const
{
    return skinManager_ ? skinManager_ : DefaultManager();
}

bool TsCommonData::OwnerDestroying() const
{
    return IsDestroying(FOwnerControl);
}

bool TsCommonData::OwnerIsProvider() const
{
    return FOwnerObj && FOwnerObj->ClassName() == L"TsSkinProvider";
}

const TsGeneralData* TsCommonData::Section() const
{
    TsSkinManager* sm = GetSkinManager();
    if (!IsValidSectionIndex(sm, SkinIndex))
        return nullptr;
    return &sm->Sections[static_cast<std::size_t>(SkinIndex)];
}

void TsCommonData::NotifyOwnerOfSkin(TsSkinManager* manager)
{
    if (OwnerIsProvider() || !FOwnerControl || !FOwnerControl->Parent() || OwnerDestroying())
        return;
    const bool valid = manager && !manager->Sections.empty() && IsValidSectionIndex(manager, SkinIndex);
    try {
        FOwnerControl->Perform(SM_SKINCMD, SkinCmdWParam(valid ? SkinCmdRefresh : SkinCmdSkinRemoved),
                               reinterpret_cast<LPARAM>(manager));
    } catch (...) {
        // The owner repaints at its next paint; a failing refresh must not break the assignment.
    }
}

void TsCommonData::SetSkinManager(TsSkinManager* value)
{
    if (value == skinManager_)
        return;
    skinManager_ = value == DefaultManager() ? nullptr : value;
    if (IsLoading(FOwnerControl))
        return;
    if (value && !value->Sections.empty())
        UpdateIndexes();
    else
        SkinIndex = -1;
    NotifyOwnerOfSkin(value);
}

void TsCommonData::SetSkinSection(const std::wstring& value)
{
    if (value == skinSection_)
        return;
    skinSection_ = value.empty() ? L"UNKNOWN" : UpperCase(value);
    TsSkinManager* sm = GetSkinManager();
    if (!sm || sm->Sections.empty())
        SkinIndex = -1;
    else
        UpdateIndexes();
    NotifyOwnerOfSkin(sm);
}

void TsCommonData::TakeSectionColors()
{
    const TsGeneralData* s = Section();
    if (!s || !FOwnerControl)
        return;
    if (!customColor_ && FOwnerControl->Color() != s->Color)
        FOwnerControl->SetColor(s->Color);
    if (!customFont_ && FOwnerControl->Font()->Color() != s->FontColor)
        FOwnerControl->Font()->SetColor(s->FontColor);
}

void TsCommonData::SetCustomColor(bool value)
{
    if (value == customColor_)
        return;
    customColor_ = value;
    if (Skinned(false) && IsEditControl(FOwnerControl) && !IsLoading(FOwnerControl)) {
        TakeSectionColors();
        Invalidate();
    }
}

void TsCommonData::SetCustomFont(bool value)
{
    if (value == customFont_)
        return;
    customFont_ = value;
    Invalidate();
}

bool TsCommonData::Skinned(bool checkActive) const
{
    if (IsDestroying(FOwnerObj))
        return false;
    TsSkinManager* sm = GetSkinManager();
    if (!sm || sm->HasState(csDestroying) || (checkActive && !sm->SkinData()->Active))
        return false;
    return IsValidSectionIndex(sm, SkinIndex);
}

void TsCommonData::UpdateIndexes()
{
    BGChanged = true;
    TsSkinManager* sm = GetSkinManager();
    SkinIndex = sm ? FindSectionIndex(sm, skinSection_) : -1;
    if (SkinIndex < 0) {
        Texture = HotTexture = -1;
        return;
    }
    BorderIndex = FindMaskIndex(sm, SkinIndex, skinSection_, L"BORDERSMASK");
    Texture = FindTextureIndex(sm, SkinIndex, skinSection_, L"PATTERN");
    HotTexture = FindTextureIndex(sm, SkinIndex, skinSection_, L"HOTPATTERN");
}

void TsCommonData::SetDefaultSection()
{
    if (!skinSection_.empty()) {
        UpdateIndexes();
        return;
    }
    std::wstring section = DefaultSectionOfCOC(COC);
    if (section.empty() && FOwnerObj)
        section = FOwnerObj->ClassName();
    SetSkinSection(section);
}

void TsCommonData::Loaded()
{
    SetDefaultSection();
    if (FOwnerControl && !Skinned() && ThemesActive())
        FOwnerControl->ControlStyle.Exclude(csParentBackground);
    if (!Skinned() || !FOwnerControl || !FOwnerControl->Parent() || IsLoading(FOwnerControl))
        return;
    if (dynamic_cast<TWinControl*>(FOwnerControl))
        NotifyParentForm(FOwnerControl);
    if (IsEditControl(FOwnerControl) || COC == COC_TsMemo)
        TakeSectionColors();
}

bool TsCommonData::Updating() const
{
    TsSkinManager* sm = GetSkinManager();
    if (!sm || !sm->SkinData()->Active)
        return true;
    if (FUpdating)
        return true;
    if (!FOwnerControl || OwnerDestroying())
        return FUpdating;
    if (!FOwnerControl->Parent())
        return true;
    return QuerySkinCmd(FOwnerControl->Parent(), SkinCmdIsBgChanged);
}

void TsCommonData::BeginSkinUpdate()
{
    FUpdating = true;
    if (OwnerIsProvider()) {
        if (TCustomForm* form = GetOwnerForm(dynamic_cast<TComponent*>(FOwnerObj)))
            SendSkinCmd(form->Handle(), SkinCmdBeginUpdate, 0);
    } else if (FOwnerControl) {
        FOwnerControl->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdBeginUpdate), 0);
    }
}

void TsCommonData::EndSkinUpdate()
{
    FUpdating = false;
    if (OwnerIsProvider()) {
        if (TCustomForm* form = GetOwnerForm(dynamic_cast<TComponent*>(FOwnerObj)))
            SendSkinCmd(form->Handle(), SkinCmdEndUpdate, 0);
    } else if (FOwnerControl) {
        FOwnerControl->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdEndUpdate), 0);
    }
}

void TsCommonData::InitCacheBmp()
{
    if (!FCacheBmp)
        FCacheBmp = std::make_unique<TBitmap>();
    if (FCacheBmp->PixelFormat() != pf24bit)
        FCacheBmp->SetPixelFormat(pf24bit);
    if (FCacheBmp->HandleType() != bmDIB)
        FCacheBmp->SetHandleType(bmDIB);
    if (!FOwnerControl)
        return;
    const int w = std::max(0, FOwnerControl->Width());
    const int h = std::max(0, FOwnerControl->Height());
    if (FCacheBmp->Width() != w || FCacheBmp->Height() != h)
        FCacheBmp->SetSize(w, h);
}

void TsCommonData::Invalidate()
{
    if (!FOwnerControl || IsLoading(FOwnerControl) || OwnerDestroying())
        return;
    BGChanged = true;
    if (ControlIsReady(FOwnerControl))
        FOwnerControl->Invalidate();
}

bool TsCommonData::IsTransparent() const
{
    const TsGeneralData* s = Section();
    return SkinIndex >= 0 && s && s->Transparency > 0;
}

bool TsCommonData::ParentBgTransparent() const
{
    if (!FOwnerControl || !FOwnerControl->Parent() || !FOwnerControl->Parent()->HandleAllocated())
        return false;
    return QuerySkinCmd(FOwnerControl->Parent(), SkinCmdIsBgPainted);
}

bool TsCommonData::NeedsParentBg() const
{
    if (ParentBgForced || !Skinned() || !FOwnerControl || FOwnerControl->ControlState.Contains(csCreating) ||
        !FOwnerControl->Visible())
        return true;
    const TsGeneralData* s = Section();
    if (!s)
        return false;
    bool result = !FOwnerControl->Enabled() || s->Transparency > 0;
    if (result && FOwnerControl->Parent() && FOwnerControl->Parent()->HandleAllocated())
        result = QuerySkinCmd(FOwnerControl->Parent(), SkinCmdIsBgPainted);
    return result;
}

int TsCommonData::CtrlSkinState() const
{
    if (!FOwnerControl || OwnerDestroying() || !FOwnerControl->Enabled() || FOwnerControl->HasState(csDesigning))
        return 0;
    auto* win = dynamic_cast<TWinControl*>(FOwnerControl);
    if (FFocused || (win && win->HandleAllocated() && win->Focused()))
        return 1;
    return FMouseAbove && !IsNoHoverCOC(COC) ? 1 : 0;
}

void TsCommonData::GetParentCache(TCacheInfo& info) const
{
    info = TCacheInfo{nullptr, 0, 0, false};
    CacheReply.Ready = false;
    if (!FOwnerControl || !FOwnerControl->Parent())
        return;
    try {
        SendSkinCmdToControl(FOwnerControl->Parent(), SkinCmdGetCache, 0);
    } catch (...) {
        info = CacheReply;
        throw;
    }
    info = CacheReply;
}

void TsCommonData::GetParentCacheHwnd(HWND wnd, TCacheInfo& info)
{
    info = TCacheInfo{nullptr, 0, 0, false};
    CacheReply.Ready = false;
    HWND parent = GetParent(wnd);
    if (!parent)
        return;
    try {
        SendSkinCmd(parent, SkinCmdGetCache, 0);
    } catch (...) {
        info = CacheReply;
        throw;
    }
    info = CacheReply;
}

TColor TsCommonData::BgColor() const
{
    if (!Skinned())
        return FOwnerControl ? ColorToRGB(FOwnerControl->Color()) : sNoColor;
    const TsGeneralData* s = Section();
    const int t = s->Transparency;
    if (t == 0)
        return customColor_ && FOwnerControl ? FOwnerControl->Color() : s->Color;
    // The parent's colour: its own answer, else its Color; without a parent the owner's.
    TColor parent = sNoColor;
    TWinControl* p = FOwnerControl ? FOwnerControl->Parent() : nullptr;
    if (p) {
        ParentBgColor = sNoColor;
        SendSkinCmdToControl(p, SkinCmdGetBgColor, 0);
        parent = ParentBgColor != sNoColor ? ParentBgColor : ColorToRGB(p->Color());
    } else if (FOwnerControl) {
        parent = ColorToRGB(FOwnerControl->Color());
    }
    if (t >= 100)
        return parent;
    const TColor own = ColorToRGB(s->Color);
    auto mix = [t](int p, int o) { return ClampToByte((t * (p - o) + o * 256) >> 8); };
    return RGBToColor(mix(ColorRed(parent), ColorRed(own)), mix(ColorGreen(parent), ColorGreen(own)),
                      mix(ColorBlue(parent), ColorBlue(own)));
}

namespace {

bool SkinCommandOfManager(const TMessage& m, const TsCommonData* data)
{
    return reinterpret_cast<LPARAM>(data->GetSkinManager()) == m.LParam;
}

void RestoreStandardColors(TsCommonData* data)
{
    TControl* c = data->FOwnerControl;
    if (!IsEditControl(c))
        return;
    if (!data->CustomColor())
        c->SetColor(clWindow);
    if (!data->CustomFont())
        c->Font()->SetColor(clWindowText);
}

void ForwardParentMoved(TWinControl* owner, bool (*include)(TControl*))
{
    for (int i = 0; i < owner->ControlCount(); ++i) {
        TControl* child = owner->Controls(i);
        if (!child->HasState(csDestroying) && include(child))
            SendSkinCmdToControl(child, SkinCmdParentMoved, 0);
    }
}

void ParentMoved(TsCommonData* data, WORD arg)
{
    const bool needs = data->NeedsParentBg();
    data->BGChanged = data->BGChanged || needs;
    auto* win = dynamic_cast<TWinControl*>(data->FOwnerControl);
    if (!win)
        return;
    if (arg == 1 && win->HandleAllocated())
        RedrawWindow(win->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
    if (needs)
        ForwardParentMoved(win, [](TControl*) { return true; });
}

} // namespace

bool CommonSkinCommand(TMessage& m, TsCommonData* data)
{
    if (!data || m.Msg != SM_SKINCMD)
        return false;
    if (SkinCmdOf(m.WParam) == SkinCmdGetApplication) {
        // Answered, yet not taken: the control's own procedure still sees the command, which is why
        // every skinned control answers it itself first.
        m.Result = reinterpret_cast<LRESULT>(Application);
        return false;
    }
    if (AnswerCommonSkinCmd(m))
        return true;
    const WORD arg = SkinCmdArgOf(m.WParam);
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinChanged:
        if (SkinCommandOfManager(m, data)) {
            data->FUpdating = true;
            data->UpdateIndexes();
            ClearSkinChanging();
        }
        return false;
    case SkinCmdSkinRemoved:
        if (SkinCommandOfManager(m, data)) {
            // A manager on its way out must not stay referenced by controls that outlive it.
            if (data->GetSkinManager() && data->GetSkinManager()->HasState(csDestroying))
                data->SetSkinManagerField(nullptr);
            data->BorderIndex = data->SkinIndex = data->Texture = data->HotTexture = -1;
            data->FUpdating = true;
            if (data->FCacheBmp)
                data->FCacheBmp->SetSize(0, 0);
            RestoreStandardColors(data);
        }
        return false;
    case SkinCmdRefresh:
        if (SkinCommandOfManager(m, data)) {
            data->BGChanged = true;
            data->FUpdating = false;
            if (data->Skinned() && data->FOwnerControl) {
                if (IsEditControl(data->FOwnerControl))
                    data->TakeSectionColors();
                if (dynamic_cast<TWinControl*>(data->FOwnerControl))
                    NotifyParentForm(data->FOwnerControl);
            }
        }
        return false;
    case SkinCmdGetCache:
        CacheReply.Ready = false;
        if (data->FCacheBmp)
            CacheReply = MakeCacheInfo(data->FCacheBmp.get(), 0, 0);
        return false;
    case SkinCmdSetUpdating: data->FUpdating = arg == 1; return false;
    case SkinCmdSetFlag: data->ParentBgForced = arg == 1; return false;
    case SkinCmdIsBgChanged: m.LParam = data->BGChanged || data->Updating(); return true;
    case SkinCmdGetPartlyHidden: m.LParam = data->PartlyHidden; return true;
    case SkinCmdTransparentChanged:
        if (data->IsTransparent() && arg == 1)
            data->BGChanged = true;
        return false;
    case SkinCmdSectionRenamed:
        if (UpperCase(data->SkinSection()) == ChangedSectionName) {
            ClearSkinChanging();
            data->Invalidate();
        }
        return false;
    case SkinCmdSetHeldObject: data->HeldObject = reinterpret_cast<void*>(m.LParam); return false;
    case SkinCmdSetBgChanged: data->BGChanged = true; return false;
    case SkinCmdIsBgPainted: {
        if (data->SkinIndex < 0)
            return false;
        const TsGeneralData* s = data->Section();
        if (s && s->Transparency == 100 && data->FOwnerControl && data->FOwnerControl->Parent())
            m.LParam = data->ParentBgTransparent();
        else
            m.LParam = (s && s->GradientPercent + s->ImagePercent > 0) || data->NeedsParentBg();
        m.Result = m.LParam;
        return true;
    }
    case SkinCmdParentMoved: ParentMoved(data, arg); return false;
    case SkinCmdGetBgColor: ParentBgColor = data->BgColor(); return true;
    case SkinCmdSetPartlyHidden: data->PartlyHidden = true; return false;
    default: return false;
    }
}

bool CommonMessage(TMessage& m, TsCommonData* data)
{
    if (!data)
        return false;
    if (m.Msg == SM_SKINCMD)
        return CommonSkinCommand(m, data);
    TControl* owner = data->FOwnerControl;
    auto* win = dynamic_cast<TWinControl*>(owner);
    switch (m.Msg) {
    case WM_MOVE:
        if (owner && data->NeedsParentBg())
            owner->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdParentMoved, 1), 0);
        break;
    case WM_SIZE:
        if (data->Skinned()) {
            data->BGChanged = true;
            const TsGeneralData* s = data->Section();
            if (win && s && s->GradientPercent >= 1)
                for (int i = 0; i < win->ControlCount(); ++i) {
                    TControl* child = win->Controls(i);
                    if (!child->HasState(csDestroying) && !child->Anchors().Contains(akRight) &&
                        !child->Anchors().Contains(akBottom))
                        child->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdParentMoved, 1), 0);
                }
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (win && win->CanFocus() && win->TabStop()) {
            data->BGChanged = true;
            data->FFocused = m.Msg == WM_SETFOCUS;
        }
        break;
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
        data->FMouseAbove = false;
        data->FFocused = false;
        break;
    case WM_UPDATEUISTATE:
        if (data->Skinned())
            return true;
        if (win && win->HandleAllocated() && ThemesActive() && ThemeApi().SetWindowTheme)
            ThemeApi().SetWindowTheme(win->Handle(), nullptr, nullptr);
        break;
    case WM_PARENTNOTIFY:
        if (win && LOWORD(m.WParam) == WM_CREATE)
            NotifyParentForm(win);
        break;
    case CM_MOUSEENTER:
        if (owner && owner->HasState(csDesigning))
            break;
        if (!IsNoHoverCOC(data->COC))
            data->FMouseAbove = true;
        if (win && win->HandleAllocated() && DefaultManager())
            DefaultManager()->SetActiveControl(win->Handle());
        break;
    case CM_MOUSELEAVE:
        if (owner && owner->HasState(csDesigning))
            break;
        if (!IsNoHoverCOC(data->COC))
            data->FMouseAbove = false;
        break;
    default: break;
    }
    return false;
}

void UpdateCorners(TsCommonData* data, int state, int corners)
{
    if (!data)
        return;
    TsSkinManager* sm = data->GetSkinManager();
    TControl* owner = data->FOwnerControl;
    if (!sm || !IsValidMaskIndex(sm, data->BorderIndex) || !data->FCacheBmp || !owner || owner->Width() <= 1 ||
        owner->Height() <= 1)
        return;
    TCacheInfo ci;
    data->GetParentCache(ci);
    TWinControl* parent = owner->Parent();
    if (!parent)
        ParentBgColor = sNoColor;
    else if (!ci.Ready)
        ParentBgColor = ColorToRGB(parent->Color());
    else if (data->ParentBgTransparent())
        ParentBgColor = sNoColor;
    else {
        ParentBgColor = sNoColor;
        SendSkinCmdToControl(parent, SkinCmdGetBgColor, 0);
    }
    if (ParentBgColor == sNoColor) {
        ci.X += owner->Left();
        ci.Y += owner->Top();
    }
    RepaintCacheCorners(data->FCacheBmp.get(), sm->Masks[static_cast<std::size_t>(data->BorderIndex)], state, corners,
                        ci, ParentBgColor);
    ParentBgColor = sNoColor;
}

void UpdateCacheBorder(TsCommonData* data, int state)
{
    UpdateCorners(data, state, kAllCorners);
}

namespace {

void BlitCache(TsCommonData* data, const TRect& src, HDC dc, const TRect& dest)
{
    BitBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), data->FCacheBmp->Canvas()->Handle(), src.Left,
           src.Top, SRCCOPY);
}

} // namespace

void CopyWinControlCache(TWinControl* control, TsCommonData* data, const TRect& src, int offsetY, int offsetX,
                         bool updateBorder, HDC dc, const TRect& dest)
{
    if (!control || !data || !data->FCacheBmp || !dc)
        return;
    if (updateBorder)
        UpdateCacheBorder(data, 0);
    TSavedDC saved(dc);
    IntersectClipRect(dc, dest.Left, dest.Top, dest.Right, dest.Bottom);
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* c = control->Controls(i);
        if (!c->Visible() || !(c->Left() < dest.Right && c->Top() < dest.Bottom && dest.Left < c->Left() + c->Width() &&
                               dest.Top < c->Top() + c->Height()))
            continue;
        if (c->ControlStyle.Contains(csOpaque) || dynamic_cast<TGraphicControl*>(c) || control->HasState(csDesigning))
            ExcludeClipRect(dc, c->Left() + offsetX, c->Top() + offsetY, c->Left() + c->Width() + offsetX,
                            c->Top() + c->Height() + offsetY);
    }
    BlitCache(data, src, dc, dest);
}

void CopyHwndCache(HWND wnd, TsCommonData* data, const TRect& src, int offsetY, int offsetX, bool updateBorder,
                   HDC dc, const TRect& dest)
{
    if (!wnd || !data || !data->FCacheBmp || !dc)
        return;
    if (updateBorder)
        UpdateCacheBorder(data, 0);
    TSavedDC saved(dc);
    IntersectClipRect(dc, dest.Left, dest.Top, dest.Right, dest.Bottom);
    RECT own{};
    GetWindowRect(wnd, &own);
    TsSkinManager* sm = DefaultManager();
    for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        OffsetRect(&r, -own.left + offsetX, -own.top + offsetY);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & 7) == BS_GROUPBOX && sm) {
            const int mask = FindMaskIndex(sm, FindSectionIndex(sm, L"GROUPBOX"), L"GROUPBOX", L"BORDERSMASK");
            const int band = static_cast<int>(SendSkinCmd(child, SkinCmdGetTopBand, 0));
            const int left = GetMaskBorderLeft(sm, mask), right = GetMaskBorderRight(sm, mask);
            const int bottom = GetMaskBorderBottom(sm, mask);
            ExcludeClipRect(dc, r.left, r.top, r.right, r.top + band);
            ExcludeClipRect(dc, r.left, r.top, r.left + left, r.bottom);
            ExcludeClipRect(dc, r.right - right, r.top, r.right, r.bottom);
            ExcludeClipRect(dc, r.left, r.bottom - bottom, r.right, r.bottom);
        } else {
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
    }
    BlitCache(data, src, dc, dest);
}

void RegisterCommonDataClass()
{
    RegisterClass<TPersistent>(L"TPersistent", L"");
    RegisterClass<TsCommonData>(L"TsCommonData", L"TPersistent")
        .String(L"SkinSection", &TsCommonData::SetSkinSection)
        .Bool(L"CustomColor", &TsCommonData::SetCustomColor)
        .Bool(L"CustomFont", &TsCommonData::SetCustomFont)
        .Reference(L"SkinManager", &TsCommonData::SetSkinManager);
}
