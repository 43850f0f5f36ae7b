#include "skin/forms/acMDIWnd.h"

#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sMessages.h"
#include "skin/core/sTextColors.h"
#include "skin/forms/sMDIForm.h"
#include "skin/forms/sSkinProvider.h"

namespace {

constexpr int kClientFrame = 2;
constexpr UINT kMDIRefreshMenu = 0x3F; // sent by the system when the MDI client's children change

// Holds the client adapter for the MDI form support, which keeps plain objects: the adapter itself
// must go through Free, never a bare delete.
class TacMDIClientHolder : public TObject {
public:
    explicit TacMDIClientHolder(TacAdapterPtr<TacMDIWnd> adapter) : Adapter(std::move(adapter)) {}
    std::wstring ClassName() const override { return L"TacMDIClientHolder"; }
    TacAdapterPtr<TacMDIWnd> Adapter;
};

} // namespace

std::unique_ptr<TObject> MakeMDIClientAdapter(HWND client, TsSkinProvider* provider)
{
    if (!client || !provider)
        return nullptr;
    auto adapter = MakeAdapter<TacMDIWnd>(client, true, L"CHECKBOX", provider->SkinData()->GetSkinManager(), nullptr);
    adapter->Form = provider->Form();
    adapter->FormData = provider->SkinData();
    adapter->FormProvider = provider;
    return std::make_unique<TacMDIClientHolder>(std::move(adapter));
}

void TacMDIWnd::Destroy()
{
    Form = nullptr;
    FormData = nullptr;
    FormProvider = nullptr;
    TacBaseWnd::Destroy();
}

bool TacMDIWnd::Attached() const
{
    // The bars raise Detached around each scroll message they send; the client is still adapted then,
    // and turning its drawing on again redraws it before the flag comes down.
    return !Detached || AdapterOfWindow(AdaptedWnd) == this;
}

bool TacMDIWnd::Painting() const
{
    return FormData && FormData->Skinned() && Form && Attached();
}

bool TacMDIWnd::ChildMaximized() const
{
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(SendMessageW(AdaptedWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return active && maximized;
}

TPoint TacMDIWnd::BarCacheOffset() const
{
    if (!Form || !Form->HandleAllocated())
        return TPoint{};
    RECT own{}, form{};
    GetWindowRect(AdaptedWnd, &own);
    GetWindowRect(Form->Handle(), &form);
    return TPoint{own.left - form.left, own.top - form.top};
}

void TacMDIWnd::PaintClientBackground(HDC dc, TPoint origin)
{
    if (!Painting() || !dc || (FormProvider && FormProvider->ShowAnimating()))
        return;
    TBitmap* cache = FormData->CacheBmp();
    if (!cache || cache->Width() <= 0)
        return;
    RECT client{};
    GetClientRect(AdaptedWnd, &client);
    POINT inForm{0, 0};
    ClientToScreen(AdaptedWnd, &inForm);
    RECT form{};
    GetWindowRect(Form->Handle(), &form);
    // The client area's place in the form's cache (the cache holds the whole form window) and in the
    // form's client area (where the form's controls have their coordinates).
    const TRect src{inForm.x - form.left, inForm.y - form.top, inForm.x - form.left + client.right,
                    inForm.y - form.top + client.bottom};
    POINT formClient{0, 0};
    ClientToScreen(Form->Handle(), &formClient);
    const TPoint shift{formClient.x - inForm.x, formClient.y - inForm.y};
    const TRect dest{origin.X, origin.Y, origin.X + client.right, origin.Y + client.bottom};
    CopyWinControlCache(Form, FormData, src, shift.Y + origin.Y, shift.X + origin.X, false, dc, dest);
    PaintControls(dc, Form, TPoint{shift.X + origin.X, shift.Y + origin.Y});
}

void TacMDIWnd::WMPaint(TMessage& message)
{
    if (ChildMaximized()) {
        for (int i = 0; i < Form->ControlCount(); ++i)
            if (auto* graphic = dynamic_cast<TGraphicControl*>(Form->Controls(i)); graphic && graphic->Visible())
                graphic->Invalidate();
        TacBaseWnd::WndProc(message);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(AdaptedWnd, &ps);
    PaintClientBackground(message.WParam ? reinterpret_cast<HDC>(message.WParam) : dc, TPoint{});
    EndPaint(AdaptedWnd, &ps);
    message.Result = 0;
}

void TacMDIWnd::WMNCPaint(TMessage& message)
{
    TWindowDC windowDC(AdaptedWnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    TBitmap* cache = FormData->CacheBmp();
    if (cache && cache->Width() > 0) {
        const TPoint at = BarCacheOffset();
        RECT own{};
        GetWindowRect(AdaptedWnd, &own);
        CopyFrame(dc, 0, 0, own.right - own.left, own.bottom - own.top, cache->Canvas()->Handle(), at.X, at.Y,
                  kClientFrame);
    }
    message.Result = NcPaintBars(this, AdaptedWnd, dc, kPartNone);
}

void TacMDIWnd::ResumePainting(WORD scrollCode)
{
    SendMessageW(AdaptedWnd, WM_SETREDRAW, TRUE, 0);
    // A dragged thumb keeps the frame and the mouse as they are until it is let go.
    if (scrollCode == SB_THUMBTRACK)
        return;
    RedrawWindow(AdaptedWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    UpdateScrollInfo(this, false);
    // A held arrow or track keeps the mouse it took for its repetition.
    if (!(ScrollBarPressed() && GetCapture() == AdaptedWnd))
        ReleaseCapture();
}

void TacMDIWnd::AfterBase(TMessage& message)
{
    if (!Attached())
        return;
    if (message.Msg == SM_SKINCMD) {
        const WORD command = SkinCmdOf(message.WParam);
        if (command == SkinCmdStopPainting)
            SendMessageW(AdaptedWnd, WM_SETREDRAW, FALSE, 0);
        else if (command == SkinCmdResumePainting)
            ResumePainting(LOWORD(message.LParam));
        return;
    }
    if (message.Msg == kMDIRefreshMenu || message.Msg == WM_PARENTNOTIFY) {
        const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
        if (VertBar)
            VertBar->Shown = (style & WS_VSCROLL) != 0;
        if (HorzBar)
            HorzBar->Shown = (style & WS_HSCROLL) != 0;
        UpdateScrollInfo(this, true);
    }
}

void TacMDIWnd::WndProc(TMessage& message)
{
    if (!Painting()) {
        TacBaseWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdGetCache) {
            message.Result = SendSkinCmdToControl(Form, SkinCmdGetCache, message.LParam);
            return;
        }
        break;
    case WM_PAINT:
        WMPaint(message);
        return;
    case WM_ERASEBKGND:
        if (message.WParam && !ChildMaximized()) {
            PaintClientBackground(reinterpret_cast<HDC>(message.WParam), TPoint{});
            message.Result = 0;
            return;
        }
        break;
    case WM_NCPAINT:
        if (!ChildMaximized()) {
            WMNCPaint(message);
            return;
        }
        break;
    case WM_PRINT:
        if (message.WParam) {
            message.Result = 0;
            if (!ChildMaximized()) {
                HDC dc = reinterpret_cast<HDC>(message.WParam);
                NcPaintBars(this, AdaptedWnd, dc, kPartNone);
                PaintClientBackground(dc, TPoint{kClientFrame, kClientFrame});
            }
            return;
        }
        break;
    default:
        break;
    }
    TacBaseWnd::WndProc(message);
    AfterBase(message);
}
