#include "skin/forms/acSBUtils.h"

#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sItemPainter.h"

#include <algorithm>

bool AdaptingDialog = false;

namespace {

bool gAdaptersBeingRemoved = false;

bool IsProviderObject(const TPersistent* object)
{
    return object && object->ClassName() == L"TsSkinProvider";
}

// The framework control whose WindowProc an adapter with this common data chains through, or nil for
// direct subclassing.
TWinControl* FrameworkTarget(const TsCommonData* data)
{
    if (!data)
        return nullptr;
    if (IsProviderObject(data->OwnerObject()))
        return GetOwnerForm(dynamic_cast<TComponent*>(data->OwnerObject()));
    return dynamic_cast<TWinControl*>(data->OwnerControl());
}

} // namespace

void CallFlatSB(const char* name, HWND wnd)
{
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl)
        return;
    using TFlatSBProc = BOOL(WINAPI*)(HWND);
    if (auto proc = reinterpret_cast<TFlatSBProc>(reinterpret_cast<void*>(GetProcAddress(comctl, name))))
        proc(wnd);
}

bool AdaptersBeingRemoved() { return gAdaptersBeingRemoved; }
void SetAdaptersBeingRemoved(bool value) { gAdaptersBeingRemoved = value; }

std::wstring GetWndText(HWND wnd)
{
    const int length = GetWindowTextLengthW(wnd);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(wnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

void SetWindowThemeOff(HWND wnd)
{
    if (ThemeApi().SetWindowTheme)
        ThemeApi().SetWindowTheme(wnd, L" ", L" ");
}

void SetWindowThemeDefault(HWND wnd)
{
    if (ThemeApi().SetWindowTheme)
        ThemeApi().SetWindowTheme(wnd, nullptr, nullptr);
}

// ---- TacMainWnd ----

TacMainWnd::TacMainWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
                       TsCommonData* commonData)
    : CreateRepaint(repaint), CreateSection(skinSection), AdaptedWnd(wnd), SkinManager(skinManager),
      SkinData(commonData)
{
}

TacMainWnd::~TacMainWnd()
{
    // Free runs Destroy first; an adapter deleted some other way still gives its window back.
    if (!Released)
        RestoreWindowProc();
}

void TacMainWnd::Create()
{
    if (CreateSection != L"DIALOG" && AdaptedWnd && ThemeOffAtCreate())
        SetWindowThemeOff(AdaptedWnd);
    subclassed_ = false;
    Released = false;
    if (SkinData) {
        if (!SkinManager)
            SkinManager = SkinData->SkinManager();
    } else {
        OwnsSkinData = true;
        ownSkinData_ = std::make_unique<TsCommonData>(nullptr, true);
        SkinData = ownSkinData_.get();
        if (SkinManager)
            SkinData->SetSkinManager(SkinManager);
    }
    if (SkinData->SkinSection().empty())
        SkinData->SetSkinSection(CreateSection);
    InDialog = AdaptingDialog;
    StoreWindowParams();
    SkinParamsSet = false;
    savedWindowProc_ = nullptr;
    previousWndProc_ = nullptr;
    if (!AdaptedWnd)
        return;
    Caption = GetWndText(AdaptedWnd);
    AttachWindow();
}

TsSkinManager* TacMainWnd::Manager() const
{
    if (SkinManager)
        return SkinManager;
    return SkinData ? SkinData->GetSkinManager() : nullptr;
}

bool TacMainWnd::SkinActive() const
{
    TsSkinManager* sm = SkinData ? SkinData->GetSkinManager() : nullptr;
    return sm && sm->Active();
}

TWinControl* TacMainWnd::HookedControl() const { return hookedControl_; }

TacMainWnd* TacMainWnd::AdapterAbove(bool subclassedOnly) const
{
    // Walked from the top down: the last one met before this adapter is the nearest above it.
    TacMainWnd* found = nullptr;
    for (TacMainWnd* a = AdapterOfWindow(AdaptedWnd); a; a = a->previousAdapter_) {
        if (a == this)
            return found;
        if (!subclassedOnly || a->subclassed_)
            found = a;
    }
    return nullptr;
}

void TacMainWnd::RestoreWindowProc()
{
    const bool live = AdaptedWnd && IsWindow(AdaptedWnd);
    if (savedWindowProc_) {
        // Only when the control still runs through us: someone may have chained on top since.
        if (hookedControl_ && hookedControl_->WindowProc == Method())
            hookedControl_->WindowProc = savedWindowProc_;
    } else if (previousWndProc_ && live) {
        // An adapter below on the same window keeps the shared procedure; one above that still runs
        // through it takes over the procedure this one replaced.
        if (subclassed_ && !previousAdapter_) {
            TacMainWnd* above = AdapterAbove(true);
            if (above && above->previousWndProc_ == &TacMainWnd::AdapterWndProc)
                above->previousWndProc_ = previousWndProc_;
            else
                GiveBackWindowProc(AdaptedWnd, TWindowRole::Adapter, &TacMainWnd::AdapterWndProc, previousWndProc_);
        }
        subclassed_ = false;
    }
    if (!live)
        return;
    // Out of the window's chain of adapters, wherever this one sits in it: nothing is left pointing here.
    if (TacMainWnd* above = AdapterAbove(false))
        above->previousAdapter_ = previousAdapter_;
    else if (AdapterOfWindow(AdaptedWnd) == this)
        BindWindow(AdaptedWnd, TWindowRole::Adapter, previousAdapter_);
}

void TacMainWnd::Destroy()
{
    if (!Released && !Detached && AdaptedWnd) {
        // While a whole form's adapters go at once (outside a skin removal) only the procedures are
        // given back: the windows are about to go, but a window left running through a freed adapter
        // would crash at its next message.
        const bool restoreLook = !(AdaptersBeingRemoved() && !SkinRemoving());
        if (restoreLook && IsWindow(AdaptedWnd))
            SetWindowThemeDefault(AdaptedWnd);
        RestoreWindowProc();
        if (restoreLook)
            RestoreWindowParams();
    }
    Released = true;
}

void TacMainWnd::Free()
{
    if (!Released)
        Destroy();
    if (depth_.DeleteNowOrLater())
        delete this;
}

LRESULT TacMainWnd::CallPrevWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM& lParam)
{
    if (savedWindowProc_) {
        TMessage message{msg, wParam, lParam, 0};
        const TWndMethod proc = savedWindowProc_;
        proc(message);
        lParam = message.LParam;
        return message.Result;
    }
    if (previousWndProc_) {
        if (previousWndProc_ == &TacMainWnd::AdapterWndProc) {
            // A second adapter on the same window: the first one handles the message next.
            if (!previousAdapter_)
                return DefWindowProcW(wnd, msg, wParam, lParam);
            TMessage message{msg, wParam, lParam, 0};
            previousAdapter_->MainWndProc(message);
            lParam = message.LParam;
            return message.Result;
        }
        return CallWindowProcW(previousWndProc_, wnd, msg, wParam, lParam);
    }
    return 0;
}

void TacMainWnd::MainWndProc(TMessage& message)
{
    // The refresh of a skin change reaches an adapted control from its form's adapter and again from
    // the broadcast to the form's children: it is carried out once.
    if (message.Msg == SM_SKINCMD && SkinCmdOf(message.WParam) == SkinCmdRefresh) {
        TsSkinManager* sm = Manager();
        if (sm && message.LParam == reinterpret_cast<LPARAM>(sm) && sm->RefreshRound() != 0) {
            if (refreshRound_ == sm->RefreshRound()) {
                message.Result = 0;
                return;
            }
            refreshRound_ = sm->RefreshRound();
        }
    }
    depth_.Enter();
    try {
        WndProc(message);
    } catch (...) {
        if (Application)
            Application->HandleException(this);
    }
    if (depth_.Leave())
        delete this;
}

LRESULT CALLBACK TacMainWnd::AdapterWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TacMainWnd* adapter = AdapterOfWindow(wnd);
    // The property may belong to a later adapter that chains through a framework control: the window's
    // own procedure belongs to the topmost adapter that subclassed it directly.
    while (adapter && !adapter->subclassed_)
        adapter = adapter->previousAdapter_;
    if (!adapter) {
        // Every adapter let go while someone else's procedure sat on top of ours.
        WNDPROC first = OriginalWindowProc(wnd, TWindowRole::Adapter);
        return first ? CallWindowProcW(first, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
    }
    if (msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_ERASEBKGND) {
        LRESULT held = 0;
        if (DropHeldPaint(wnd, msg, wParam, held))
            return held;
    }
    TMessage message{msg, wParam, lParam, 0};
    adapter->MainWndProc(message);
    return message.Result;
}

bool TacMainWnd::HandleSkinCommand(TMessage& message)
{
    TsSkinManager* own = Manager();
    const bool mine = message.LParam == reinterpret_cast<LPARAM>(own);
    if (AnswerCommonSkinCmd(message, true))
        return true;
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdSkinChanged:
        if (mine) {
            SkinData->UpdateIndexes();
            SkinData->BGChanged = true;
        }
        return false;
    case SkinCmdSkinRemoved:
        if (mine)
            RestoreWindowParams();
        return false;
    case SkinCmdRefresh:
        if (!mine)
            return false;
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
        // A window that cannot be seen now, or whose form holds its paints during a skin change, is
        // painted when it shows again; painting it here would only build a cache that is built again then.
        if (PaintsShown(AdaptedWnd))
            SendMessageW(AdaptedWnd, WM_PAINT, 0, 0);
        message.Result = 0;
        return true;
    case SkinCmdGetCache:
        CacheReply = TCacheInfo{SkinData->CacheBmp(), 0, 0, true};
        return true;
    case SkinCmdEndParentUpdate:
        if (!SkinData->Updating())
            return false;
        SkinData->SetUpdating(false);
        RedrawWindow(AdaptedWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return true;
    case SkinCmdIsBgChanged:
        message.LParam = (SkinData->BGChanged || SkinData->Updating()) ? 1 : 0;
        return false;
    case SkinCmdIsBgPainted:
    case SkinCmdGetBgColor:
        return SkinData->OwnerControl() && CommonSkinCommand(message, SkinData);
    case SkinCmdPaintToDC:
        PaintAdapterCache(SkinData, AdaptedWnd, false);
        return false;
    default:
        return false;
    }
}

void TacMainWnd::PassPrintOn(TMessage& message, LPARAM painted)
{
    LPARAM rest = message.LParam & ~painted;
    message.Result = CallPrevWndProc(AdaptedWnd, WM_PRINT, message.WParam, rest);
}

void TacMainWnd::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        if (Hooked()) {
            TacMainWnd* self = this;
            UnhookWindow(AdaptedWnd, false, false, self);
        }
        message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        return;
    case WM_UPDATEUISTATE:
        message.Result = 0;
        return;
    case WM_PRINT:
        message.Result = SendMessageW(AdaptedWnd, WM_PAINT, message.WParam, message.LParam);
        return;
    case WM_SETTEXT:
        message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        Caption = GetWndText(AdaptedWnd);
        return;
    case WM_MOUSEMOVE:
        if (TsSkinManager* sm = DefaultManager())
            if (!sm->HasState(csDesigning) && IsWindowEnabled(AdaptedWnd) && sm->ActiveControl() != AdaptedWnd)
                sm->SetActiveControl(AdaptedWnd);
        break;
    default:
        break;
    }
    if (message.Msg == SM_SKINCMD && SkinData && SkinActive() && HandleSkinCommand(message))
        return;
    message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
}

// ---- Attaching and detaching ----

TacMainWnd* AdapterOfWindow(HWND wnd)
{
    return WindowObjectAs<TacMainWnd>(wnd, TWindowRole::Adapter);
}

void HookWindow(TacMainWnd* adapter, HWND wnd)
{
    if (!adapter || !wnd)
        return;
    adapter->Detached = false;
    adapter->AdaptedWnd = wnd;
    TacMainWnd* previous = AdapterOfWindow(wnd);
    adapter->previousAdapter_ = previous != adapter ? previous : nullptr;
    BindWindow(wnd, TWindowRole::Adapter, adapter);
    if (TWinControl* target = FrameworkTarget(adapter->SkinData)) {
        adapter->hookedControl_ = target;
        adapter->savedWindowProc_ = target->WindowProc;
        target->WindowProc = adapter->Method();
        return;
    }
    adapter->previousWndProc_ = TakeOverWindowProc(wnd, TWindowRole::Adapter, &TacMainWnd::AdapterWndProc);
    adapter->subclassed_ = true;
}

void UnhookWindow(HWND wnd, bool freeIt, bool frameMode, TacMainWnd*& adapter)
{
    if (!adapter)
        return;
    if (!adapter->Detached) {
        adapter->RestoreWindowProc();
        adapter->RestoreWindowParams();
        if (wnd && IsWindowVisible(wnd))
            RefreshFrame(wnd, frameMode);
        adapter->Detached = true;
    }
    if (freeIt) {
        adapter->previousWndProc_ = nullptr;
        adapter->savedWindowProc_ = nullptr;
        adapter->Free();
        adapter = nullptr;
    }
}

void RefreshFrame(HWND wnd, bool frameMode)
{
    if (frameMode)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
        SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

void GetWndPosInfo(HWND wnd, HWND& parentHandle, TRect& windowBounds, TPoint& offset, TSize& size,
                   TRect& parentRect)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    windowBounds = TRect::FromRECT(r);
    parentHandle = GetParent(wnd);
    RECT p{};
    if (parentHandle)
        GetWindowRect(parentHandle, &p);
    parentRect = TRect::FromRECT(p);
    size = TSize{windowBounds.Width(), windowBounds.Height()};
    offset = TPoint{windowBounds.Left - parentRect.Left, windowBounds.Top - parentRect.Top};
}

void GetWndPosInfo(TacMainWnd* adapter)
{
    GetWndPosInfo(adapter->AdaptedWnd, adapter->ParentHandle, adapter->WindowBounds, adapter->ParentOffset,
                  adapter->WndSize, adapter->ParentRect);
}

void RepaintAdapterCache(TacMainWnd* adapter)
{
    GetWndPosInfo(adapter);
    adapter->SkinData->BGChanged = true;
    SendMessageW(adapter->AdaptedWnd, SM_SKINCMD, SkinCmdWParam(SkinCmdPaintToDC), 0);
}

// ---- Shared painting ----

void GetParentCacheOfWindow(HWND wnd, TCacheInfo& ci)
{
    TsCommonData::GetParentCacheHwnd(wnd, ci);
    if (ci.Ready)
        ci.X = ci.Y = 0;
}

void PaintAdapterCache(TsCommonData* commonData, HWND wnd, bool borderMode)
{
    if (!commonData || !commonData->BGChanged || !wnd)
        return;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    TCacheInfo ci;
    GetParentCacheOfWindow(wnd, ci);
    commonData->InitCacheBmp();
    TBitmap* cache = commonData->CacheBmp();
    cache->SetSize(wr.right - wr.left, wr.bottom - wr.top);
    TsSkinManager* sm = commonData->GetSkinManager();
    TsSkinManager* def = DefaultManager();
    const TColor borderColor = def ? def->SkinData()->BorderColor : sNoColor;
    if (borderMode && def && borderColor != sNoColor) {
        RECT all{0, 0, cache->Width(), cache->Height()};
        HDC dc = cache->Canvas()->Handle();
        FillDC(dc, TRect::FromRECT(all), clWindow);
        GdiObject<HBRUSH> frame(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(borderColor))));
        FrameRect(dc, &all, frame.Get());
    } else {
        RECT pr{};
        if (HWND parent = GetParent(wnd))
            GetWindowRect(parent, &pr);
        const TPoint offset{wr.left - pr.left, wr.top - pr.top};
        if (sm && IsValidSectionIndex(sm, commonData->SkinIndex))
            PaintItem(commonData, ci, true, true, cache, offset, TRect{0, 0, cache->Width(), cache->Height()}, 0);
    }
    if (auto* control = dynamic_cast<TWinControl*>(commonData->OwnerControl()); control && !control->Enabled()) {
        RECT pr{};
        if (HWND parent = GetParent(wnd))
            GetWindowRect(parent, &pr);
        PaintDisabledEffect(cache, 1, control, TPoint{wr.left - pr.left, wr.top - pr.top}, ci);
    }
    commonData->BGChanged = false;
}

void PaintTransparentCorners(TsCommonData* commonData, int state, TacMainWnd* adapter)
{
    if (!commonData || !adapter)
        return;
    TsSkinManager* sm = commonData->GetSkinManager();
    if (!sm || !IsValidMaskIndex(sm, commonData->BorderIndex) || !commonData->CacheBmp() ||
        adapter->WndSize.cx <= 1 || adapter->WndSize.cy <= 1)
        return;
    HWND wnd = adapter->AdaptedWnd;
    TCacheInfo ci;
    GetParentCacheOfWindow(wnd, ci);
    TColor parentColor = sNoColor;
    HWND parent = GetParent(wnd);
    if (parent && QuerySkinCmdHwnd(parent, SkinCmdIsBgPainted)) {
        parentColor = sNoColor;
    } else if (parent) {
        ParentBgColor = sNoColor;
        SendSkinCmd(parent, SkinCmdGetBgColor, 0);
        parentColor = ParentBgColor == sNoColor ? sNoColor : ColorToRGB(ParentBgColor);
    }
    if (ci.Ready) {
        ci.X += adapter->ParentOffset.X;
        ci.Y += adapter->ParentOffset.Y;
    }
    RepaintCacheCorners(commonData->CacheBmp(), sm->Masks[static_cast<std::size_t>(commonData->BorderIndex)], state,
                        kAllCorners, ci, parentColor);
    ParentBgColor = sNoColor;
}

void PaintAdapterElement(TsSkinManager* sm, int skinIndex, int borderIndex, TBitmap* bmp, TPoint offset, TRect r,
                         int state, TCacheInfo ci, int texture, int hotTexture)
{
    if (!bmp || !IsValidSectionIndex(sm, skinIndex) || r.IsEmpty())
        return;
    PaintItemFast(skinIndex, borderIndex, texture, hotTexture, sm, bmp, offset, r, state, true, ci,
                  sm->Sections[static_cast<std::size_t>(skinIndex)].ClassName);
}
