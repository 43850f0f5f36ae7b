// The skinned status bar: one cache bitmap holds the bar's whole look (background, frame, panels,
// grip, texts) and is rebuilt only when something changed; every paint copies it around the windowed
// children and paints the windowless ones (the rating stars) over it.
#include "skin/controls/sStatusBar.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <commctrl.h>

namespace {

bool OwnManager(const TMessage& m, const TsCommonData* data)
{
    return m.LParam == reinterpret_cast<LPARAM>(data->GetSkinManager());
}

TRect Shrunk(const TRect& r, int by)
{
    return TRect{r.Left + by, r.Top + by, r.Right - by, r.Bottom - by};
}

} // namespace

TsStatusBar::TsStatusBar(TComponent* owner) : TStatusBar(owner), skinData_(std::make_unique<TsCommonData>(this, true))
{
    skinData_->COC = COC_TsStatusBar;
    ControlStyle.Include(csAcceptsControls).Include(csOpaque);
}

TsStatusBar::~TsStatusBar() = default;

void TsStatusBar::AfterConstruction()
{
    TStatusBar::AfterConstruction();
    skinData_->Loaded();
}

void TsStatusBar::Loaded()
{
    TStatusBar::Loaded();
    skinData_->Loaded();
}

int TsStatusBar::PanelLeft(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < Panels()->Count(); ++i)
        left += Panels()->Items(i)->Width() + 1;
    return left;
}

int TsStatusBar::PanelRight(int index) const
{
    if (index >= Panels()->Count() - 1)
        return Width();
    return PanelLeft(index) + Panels()->Items(index)->Width() + 1;
}

void TsStatusBar::PrepareCache()
{
    TsCommonData* data = skinData_.get();
    bool due = data->BGChanged || data->PartlyHidden;
    if (!due && Parent())
        due = QuerySkinCmd(Parent(), SkinCmdGetPartlyHidden);
    if (Parent()) {
        // A bar flush with its parent's right and bottom edges is wholly visible.
        const TRect client = Parent()->ClientRect();
        const bool inside = Left() >= client.Left && Top() >= client.Top && Left() + Width() <= client.Right &&
                            Top() + Height() <= client.Bottom;
        data->PartlyHidden = !inside;
    }
    if (!due || data->ParentBgForced)
        return;
    TCacheInfo ci;
    data->GetParentCache(ci);
    data->InitCacheBmp();
    PaintItem(data, ci, true, true, data->CacheBmp(), Point(Left(), Top()), Rect(0, 0, Width(), Height()), 0);
    DrawPanels();
    if (SizeGrip())
        PaintGrip();
    data->BGChanged = false;
}

void TsStatusBar::DrawPanels()
{
    if (SimplePanel()) {
        DrawPanel(nullptr, SimpleText(), Rect(0, 1, Width() - 1, Height() - 1));
        return;
    }
    HDC cacheDC = skinData_->CacheBmp()->Canvas()->Handle();
    for (int i = 0; i < Panels()->Count(); ++i) {
        const TRect r = Shrunk(Rect(PanelLeft(i), 0, PanelRight(i), Height()), 1);
        const int oldMode = GetBkMode(cacheDC);
        {
            TCanvasDCBinding bind(Canvas(), cacheDC);
            // An owner-drawn panel writes over the skin in the bar's background mode, set once the
            // canvas has taken its brush (which brings a mode of its own); the cache keeps its mode.
            if (canvasBkMode_)
                SetBkMode(Canvas()->Handle(), canvasBkMode_);
            DrawPanel(Panels()->Items(i), L"", r);
        }
        SetBkMode(cacheDC, oldMode);
    }
}

void TsStatusBar::DrawPanel(TStatusPanel* panel, const std::wstring& text, const TRect& r)
{
    TsCommonData* data = skinData_.get();
    TsSkinManager* sm = data->GetSkinManager();
    TRect t = Shrunk(r, 1);
    if (sm && IsValidSectionIndex(sm, data->SkinIndex)) {
        const int m = FindMaskIndex(sm, data->SkinIndex, data->SkinSection(), L"STATUSPANELMASK");
        if (IsValidMaskIndex(sm, m)) {
            const TRect area = SimplePanel() ? Rect(0, 0, Width(), Height()) : r;
            DrawSkinRect(data->CacheBmp(), area, true, EmptyCacheInfo, sm->Masks[static_cast<size_t>(m)], 0, true);
        } else if (!SimplePanel() && panel && panel->Index() < Panels()->Count() - 1) {
            DrawDivider(r);
        }
    }
    if (panel && panel->Style() == psOwnerDraw && OnDrawPanel) {
        OnDrawPanel(this, panel, r);
        return;
    }
    t.Bottom -= 1;
    t.Left += 2;
    t.Right -= 4;
    TCanvas* canvas = data->CacheBmp()->Canvas();
    canvas->Font()->Assign(Font());
    const std::wstring shown = CutText(canvas, panel ? panel->Text() : text, t.Width());
    DrawPanelText(shown, t, GetTextFlags(this, panel ? panel->Alignment() : taLeftJustify));
}

void TsStatusBar::DrawDivider(const TRect& r)
{
    TsCommonData* data = skinData_.get();
    TsSkinManager* sm = data->GetSkinManager();
    const int divider = FindSectionIndex(sm, L"DIVIDER");
    const int mask = FindMaskIndex(sm, divider, L"DIVIDER", L"BORDERSMASK");
    if (divider < 0 || !IsValidMaskIndex(sm, mask))
        return;
    const int w = GetMaskFrameSize(sm, mask).x - 1;
    const int h = Height() - 2;
    if (w <= 0 || h <= 0)
        return;
    TBitmap* cache = data->CacheBmp();
    std::unique_ptr<TBitmap> work = CreateBmp24(w, h);
    if (!work)
        return;
    BitBlt(work->Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), r.Right - w, r.Top, SRCCOPY);
    TransFillColor = sNoColor;
    ParentBgColor = sNoColor;
    PaintItemByIndex(divider, L"DIVIDER", MakeCacheInfo(cache, 0, 0), -1, -1, sm, work.get(), Point(r.Right - w, 1),
                     Rect(0, 0, w, h), 0, true);
    BitBlt(cache->Canvas()->Handle(), r.Right - w, 1, w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsStatusBar::DrawPanelText(const std::wstring& text, const TRect& r, UINT flags)
{
    TCanvas* canvas = skinData_->CacheBmp()->Canvas();
    canvas->Font()->Assign(Font());
    // The flags come from GetTextFlags, already in the bar's reading order: swapping left and right a
    // second time would put right-to-left text back on the left.
    WriteTextByData(canvas, text.c_str(), Enabled(), skinData_->CtrlSkinState() > 0, skinData_.get(),
                    flags | DrawTextBiDiModeFlagsReadingOnly() | DT_SINGLELINE | DT_VCENTER, r);
}

void TsStatusBar::PaintGrip()
{
    TsCommonData* data = skinData_.get();
    TsSkinManager* sm = data->GetSkinManager();
    int g = FindMaskIndex(sm, sm->ConstData.GlobalInfo, L"GLOBALINFO", L"GRIPIMAGE");
    if (g < 0)
        g = FindMaskIndex(sm, data->SkinIndex, L"FORM", L"GRIPIMAGE");
    if (!IsValidMaskIndex(sm, g))
        return;
    const TsMaskData& md = sm->Masks[static_cast<size_t>(g)];
    TPoint p;
    if (md.Bmp) {
        p = Point(Width() - md.Bmp->Width() / 3 - BorderWidth(), Height() - md.Bmp->Height() / 2 - BorderWidth());
    } else {
        p = Point(Width() - RectWidth(md.R) / MaskFrames(md) - BorderWidth(),
                  Height() - RectHeight(md.R) / MaskRows(md) - BorderWidth());
    }
    DrawSkinGlyph(data->CacheBmp(), p, 0, md, 1);
}

void TsStatusBar::CopyCache(HDC dc)
{
    const TRect all = Rect(0, 0, Width(), Height());
    CopyWinControlCache(this, skinData_.get(), Rect(BorderWidth(), BorderWidth(), Width(), Height()), 0, 0, true, dc,
                        all);
    ::PaintControls(dc, this, Point(0, 0));
}

void TsStatusBar::PaintSkinned(HDC dc)
{
    if (!HandleAllocated())
        return;
    TPaintScope paint(Handle(), dc == nullptr);
    // A DC of the window when none was given, with its state restored afterwards.
    TScreenDC scope(Handle(), dc);
    TSavedDC saved(scope.Get());
    TsCommonData* data = skinData_.get();
    data->FUpdating = data->Updating();
    if (data->FUpdating)
        return;
    PrepareCache();
    CopyCache(scope.Get());
    RefreshChildControls(this);
    data->BGChanged = false;
}

void TsStatusBar::PaintWindow(HDC dc)
{
    TStatusBar::PaintWindow(dc);
    // The framework paints the window this way too when the bar holds windowless children; without a
    // skin there is no cache to show.
    if (skinData_->Skinned())
        PaintSkinned(dc);
}

bool TsStatusBar::SkinCommand(TMessage& m)
{
    TsCommonData* data = skinData_.get();
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinChanged:
    case SkinCmdRefresh:
        if (!OwnManager(m, data))
            return false;
        SetCanvasBkMode(TRANSPARENT);
        BroadcastToChildren(this, m);
        CommonMessage(m, data);
        Repaint();
        Perform(WM_NCPAINT, 0, 0);
        return true;
    case SkinCmdSkinRemoved:
        if (!OwnManager(m, data))
            return false;
        SetCanvasBkMode(OPAQUE);
        CommonMessage(m, data);
        RecreateWnd();
        BroadcastToChildren(this, m);
        return true;
    case SkinCmdEndParentUpdate:
        if (!data->Updating())
            return false;
        data->FUpdating = false;
        Repaint();
        Perform(WM_NCPAINT, 0, 0);
        return true;
    default:
        return false;
    }
}

void TsStatusBar::SetCanvasBkMode(int mode)
{
    canvasBkMode_ = mode;
    if (Canvas()->HandleAllocated())
        SetBkMode(Canvas()->Handle(), mode);
}

void TsStatusBar::EraseBackground(TMessage& m)
{
    m.Result = 1;
    if (skinData_->BGChanged || !m.WParam)
        return;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    CopyCache(dc);
}

void TsStatusBar::PaintFrame()
{
    if (BorderWidth() == 0 || !Visible())
        return;
    TsCommonData* data = skinData_.get();
    data->FUpdating = data->Updating();
    if (data->FUpdating)
        return;
    PrepareCache();
    TWindowDC windowDC(Handle());
    HDC dc = windowDC.Get();
    CopyFrame(dc, 0, 0, Width(), Height(), data->CacheBmp()->Canvas()->Handle(), 0, 0, BorderWidth());
}

void TsStatusBar::Print(TMessage& m)
{
    TsCommonData* data = skinData_.get();
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!Visible() || !dc)
        return;
    data->FUpdating = data->Updating();
    if (data->FUpdating)
        return;
    PrepareCache();
    TSavedDC saved(dc);
    if (BorderWidth() > 0)
        CopyFrame(dc, 0, 0, Width(), Height(), data->CacheBmp()->Canvas()->Handle(), 0, 0, BorderWidth());
    OffsetViewportOrgEx(dc, BorderWidth(), BorderWidth(), nullptr);
    IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
    PaintSkinned(dc);
}

void TsStatusBar::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD && (AnswerCommonSkinCmd(m) || SkinCommand(m)))
        return;
    if (!ControlIsReady(this) || !skinData_->Skinned()) {
        TStatusBar::WndProc(m);
        return;
    }
    TsCommonData* data = skinData_.get();
    switch (m.Msg) {
    case WM_MOVE:
        if (const TsGeneralData* s = data->Section(); s && (s->Transparency >= 1 || s->HotTransparency >= 1))
            data->BGChanged = true;
        break;
    case WM_PAINT:
        ControlState.Include(csCustomPaint);
        PaintSkinned(reinterpret_cast<HDC>(m.WParam));
        if (!CommonMessage(m, data))
            TStatusBar::WndProc(m);
        ControlState.Exclude(csCustomPaint);
        return;
    case WM_ERASEBKGND:
        EraseBackground(m);
        return;
    case WM_NCPAINT:
        PaintFrame();
        return;
    case WM_PRINT:
        Print(m);
        return;
    default:
        break;
    }
    if (CommonMessage(m, data))
        return;
    TStatusBar::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
        if (Visible() && BorderWidth() > 0)
            Perform(WM_NCPAINT, 0, 0);
        break;
    case SB_SETTEXTW:
    case SB_SIMPLE:
    case SB_GETRECT:
        data->BGChanged = true;
        break;
    default:
        break;
    }
}

void RegisterSkinStatusBarClasses()
{
    RegisterCommonDataClass();
    RegisterClass<TsStatusBar>(L"TsStatusBar", L"TStatusBar").Object(L"SkinData", &TsStatusBar::SkinData);
}
