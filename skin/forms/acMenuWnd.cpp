#include "skin/forms/acMenuWnd.h"

#include "framework/Forms.h"
#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinMenusPaint.h"

namespace {

// Width of the outer frame copied on WM_NCPAINT: wide enough for any skin's menu border.
constexpr int kFrameWidth = 18;

} // namespace

TacMnuWnd::TacMnuWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
                     TsCommonData* commonData)
    : TacScrollWnd(wnd, repaint, skinSection, skinManager, commonData)
{
}

TacMnuWnd::~TacMnuWnd()
{
    // The hook's list never keeps an adapter whose window is gone.
    ForgetMenuWnd(this);
}

TacMnuWnd* AdaptMenuWindow(HWND wnd, TsSkinManager* skinManager)
{
    if (!wnd || !IsWindow(wnd) || AdapterOfWindow(wnd))
        return nullptr;
    auto* adapter = new TacMnuWnd(wnd, false, L"MAINMENU", skinManager, nullptr);
    adapter->Create();
    return adapter;
}

void TacMnuWnd::PrepareCache()
{
    GetWndPosInfo(this);
    if (!SkinData->BGChanged)
        return;
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache || WndSize.cx <= 0 || WndSize.cy <= 0)
        return;
    cache->SetSize(WndSize.cx, WndSize.cy);
    TsSkinManager* sm = Manager();
    menupaint::PaintSection(sm, SkinData->SkinIndex, SkinData->SkinSection(), EmptyCacheInfo, cache, TPoint{0, 0},
                            TRect{0, 0, WndSize.cx, WndSize.cy}, 0);
    PaintTransparentCorners(SkinData, 0, this);
    SkinData->BGChanged = false;
}

void TacMnuWnd::EraseBackground(TMessage& message)
{
    PrepareCache();
    TBitmap* cache = SkinData->CacheBmp();
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (cache && dc) {
        RECT client;
        GetClientRect(AdaptedWnd, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, cache->Canvas()->Handle(), 3, 3, SRCCOPY);
    }
    MenuFlag = 0;
    message.Result = 1;
}

void TacMnuWnd::PaintFrame()
{
    if (!IsNTFamily())
        return;
    PrepareCache();
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache)
        return;
    TWindowDC windowDC(AdaptedWnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    CopyFrame(dc, 0, 0, WndSize.cx, WndSize.cy, cache->Canvas()->Handle(), 0, 0, kFrameWidth);
}

void TacMnuWnd::AnswerSkinCommand(TMessage& message)
{
    if (AnswerCommonSkinCmd(message, true))
        return;
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdSetUpdating:
        // Answered in LParam only: the menu painter reads the result and shapes the window each time.
        message.LParam = MenuFlag;
        break;
    case SkinCmdMenuVisible:
        if (IsWindowVisible(AdaptedWnd))
            MenuFlag = 1;
        break;
    default:
        break;
    }
}

void TacMnuWnd::WindowGoes(TMessage& message)
{
    MenuFlag = 0;
    const HWND wnd = AdaptedWnd;
    message.Result = CallPrevWndProc(wnd, message.Msg, message.WParam, message.LParam);
    if (!Detached && !Released) {
        TacMainWnd* self = this;
        // Nobody else owns this adapter: it goes with its window (once its messages have returned).
        UnhookScrollWnd(wnd, true, false, self);
    }
    ClearMenuCache();
    SetSkinnedPopupOpen(false);
}

void TacMnuWnd::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        WindowGoes(message);
        return;
    case SM_SKINCMD:
        AnswerSkinCommand(message);
        return;
    case WM_ERASEBKGND:
        if (SkinnedPopupOpen()) {
            EraseBackground(message);
            return;
        }
        break;
    case WM_NCPAINT:
        if (SkinnedPopupOpen()) {
            PaintFrame();
            return;
        }
        break;
    default:
        break;
    }
    TacScrollWnd::WndProc(message);
}
