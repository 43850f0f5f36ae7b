#include "skin/core/sMessages.h"

#include "framework/Forms.h"
#include "framework/Startup.h"

namespace {

void RegisterSkinMessage()
{
    // The registered number is not used: handlers everywhere compare with the constant.
    RegisterWindowMessageW(kSkinCmdMessageName);
}

} // namespace

void AddSkinMessageStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::SkinCommand, L"Skin command message", RegisterSkinMessage, nullptr);
}

bool AnswerCommonSkinCmd(TMessage& message, bool alsoResult)
{
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdIsSkinned:
        message.LParam = 1;
        if (alsoResult)
            message.Result = 1;
        return true;
    case SkinCmdGetApplication:
        message.Result = reinterpret_cast<LRESULT>(Application);
        return true;
    default:
        return false;
    }
}

LRESULT SendSkinCmd(HWND wnd, WORD cmd, LPARAM lParam)
{
    return SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(cmd), lParam);
}

bool QuerySkinCmdHwnd(HWND wnd, WORD cmd)
{
    return SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(cmd), 0) == 1;
}

bool QuerySkinCmdThrough(const TWndMethod& windowProc, HWND wnd, WORD cmd)
{
    TMessage m{SM_SKINCMD, SkinCmdWParam(cmd), 0, 0};
    // A copy, so a handler that replaces the procedure while it runs does not pull it from under us.
    const TWndMethod proc = windowProc;
    if (proc)
        proc(m);
    if (m.LParam == 1)
        return true;
    if (!wnd)
        return false;
    return SendMessageW(wnd, m.Msg, m.WParam, m.LParam) == 1;
}

void RefreshChildWindows(HWND wnd)
{
    for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)
            SendSkinCmd(child, SkinCmdEndParentUpdate, 0);
}

void GetWorkArea(RECT& r)
{
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
}

void GetClientRectOffset(HWND wnd, RECT& r)
{
    GetClientRect(wnd, &r);
    RECT window{};
    GetWindowRect(wnd, &window);
    POINT corner{window.left, window.top};
    MapWindowPoints(nullptr, wnd, &corner, 1);
    OffsetRect(&r, -corner.x, -corner.y);
}
