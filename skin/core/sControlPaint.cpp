#include "skin/core/sControlPaint.h"

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"

#include <algorithm>
#include <memory>

namespace {

// The tool bar draws its buttons itself: of them only separators and dividers are painted here.
bool IsDrawnByItsBar(TControl* c)
{
    const auto* button = dynamic_cast<TToolButton*>(c);
    return button && (button->Style() == tbsButton || button->Style() == tbsCheck || button->Style() == tbsDropDown);
}

bool PassesPaintTest(TControl* c, HDC dc)
{
    if (!c->Visible() || !dynamic_cast<TGraphicControl*>(c) || c->Width() + c->Height() < 1 ||
        c->ControlStyle.Contains(csNoDesignVisible) || c->HasState(csDestroying) || IsDrawnByItsBar(c))
        return false;
    RECT r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    return RectVisible(dc, &r) && c->Width() > 0 && c->Height() > 0;
}

void FillUnder(HDC mem, TControl* c, const TCacheInfo& cache)
{
    if (c->ControlStyle.Contains(csOpaque)) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(c->Color())));
        RECT r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
        FillRect(mem, &r, brush.Get());
    } else {
        BitBlt(mem, c->Left(), c->Top(), c->Width(), c->Height(), cache.Bmp->Canvas()->Handle(),
               cache.X + c->Left(), cache.Y + c->Top(), SRCCOPY);
    }
}

} // namespace

TOutputWindow::TOutputWindow(TComponent* owner) : TCustomControl(owner)
{
    SetText(L"acOutputWindow");
    SetVisible(false);
    SetColor(static_cast<TColor>(0x800080));
}

void TOutputWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (Parent() || ParentWindow())
        return;
    params.Style = WS_POPUP;
    if (auto* owner = dynamic_cast<TWinControl*>(Owner());
        owner && owner->HandleAllocated() && (GetWindowLongPtrW(owner->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
        params.ExStyle |= WS_EX_TOPMOST;
    params.WndParent = Application ? Application->Handle() : nullptr;
}

void TOutputWindow::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    TCustomControl::WndProc(message);
}

void PaintControls(HDC dc, TWinControl* parent, TPoint offset)
{
    if (!parent || !parent->Visible() || parent->ControlCount() == 0)
        return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION || clip.right == clip.left || clip.bottom == clip.top) {
        SendSkinCmdToControl(parent, SkinCmdSetPartlyHidden, 0);
        return;
    }
    CacheReply.Ready = false;
    SendSkinCmdToControl(parent, SkinCmdGetCache, 0);
    const TCacheInfo cache = CacheReply;
    if (!cache.Ready || !cache.Bmp)
        return;
    auto* form = dynamic_cast<TCustomForm*>(parent);
    const bool mdiParent = form && form->FormStyle() == fsMDIForm;
    std::unique_ptr<TMemoryDC> mem;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!PassesPaintTest(c, dc))
            continue;
        if (mdiParent && c->Align() != alNone) {
            SendSkinCmdToControl(parent, SkinCmdSetHeldObject, reinterpret_cast<LPARAM>(c));
            c->Repaint();
            SendSkinCmdToControl(parent, SkinCmdSetHeldObject, 0);
        }
        if (!mem) {
            mem = std::make_unique<TMemoryDC>(dc, parent->Width(), parent->Height());
            for (int j = 0; j < parent->ControlCount(); ++j)
                if (PassesPaintTest(parent->Controls(j), dc))
                    FillUnder(mem->Get(), parent->Controls(j), cache);
        }
        RECT bounds{c->Left() + offset.X, c->Top() + offset.Y, c->Left() + offset.X + c->Width(),
                    c->Top() + offset.Y + c->Height()};
        if (!RectVisible(dc, &bounds))
            SendSkinCmdToControl(c, SkinCmdSetPartlyHidden, 0);
        TSavedDC saved(mem->Get());
        POINT old{};
        SetWindowOrgEx(mem->Get(), -c->Left(), -c->Top(), &old);
        IntersectClipRect(mem->Get(), 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(mem->Get()), 0);
        SetWindowOrgEx(mem->Get(), old.x, old.y, nullptr);
    }
    if (mem) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!PassesPaintTest(c, dc))
                continue;
            // A child whose image still holds the key colour where it starts painted nothing: the DC
            // keeps what it has there.
            if (GetPixel(mem->Get(), c->Left(), c->Top()) == static_cast<COLORREF>(ColorToRGB(sNoColor)))
                continue;
            BitBlt(dc, c->Left() + offset.X, c->Top() + offset.Y, c->Width(), c->Height(), mem->Get(), c->Left(),
                   c->Top(), SRCCOPY);
        }
    }
    CacheReply.Ready = false;
}

void PaintControlToBitmap(TBitmap* bitmap, TControl* control);

namespace {

// Where the client area of a window begins within the window itself: a child's Left/Top count from
// there, inside its parent's frame.
POINT ClientOrigin(HWND wnd)
{
    RECT client{};
    GetClientRectOffset(wnd, client);
    return POINT{client.left, client.top};
}

// The client area of a control that does not print itself, painted as the framework's PaintTo paints
// it but without its windowed children: those are printed one by one afterwards, each the way it
// prints (a skinned one by its own WM_PRINT), and PaintTo would have drawn them a first time.
void PaintOwnClient(TWinControl* win, HDC dc)
{
    const POINT origin = ClientOrigin(win->Handle());
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    const TRect client = win->ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    win->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    win->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

// Prints a child with the origin moved by Offset, the DC's state given back afterwards.
void PrintAt(TBitmap* bitmap, TWinControl* child, POINT offset)
{
    HDC dc = bitmap->Canvas()->Handle();
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, offset.x, offset.y, nullptr);
    PaintControlToBitmap(bitmap, child);
}

// The MDI children at their Left/Top in the MDI client, the bottom one first so that the active one
// ends on top.
void PrintMDIChildren(TBitmap* bitmap, TCustomForm* form)
{
    HWND client = form->ClientHandle();
    if (!client || !form->HandleAllocated())
        return;
    RECT formRect{};
    GetWindowRect(form->Handle(), &formRect);
    POINT origin{0, 0};
    ClientToScreen(client, &origin);
    for (int i = form->MDIChildCount() - 1; i >= 0; --i) {
        TCustomForm* child = form->MDIChildren(i);
        if (child->Visible())
            PrintAt(bitmap, child,
                    POINT{origin.x - formRect.left + child->Left(), origin.y - formRect.top + child->Top()});
    }
}

} // namespace

void PaintControlToBitmap(TBitmap* bitmap, TControl* control)
{
    if (!bitmap || !control)
        return;
    HDC dc = bitmap->Canvas()->Handle();
    TSavedDC saved(dc);
    IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) {
        control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
        return;
    }
    if (QuerySkinCmd(win, SkinCmdIsSkinned))
        win->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    else
        PaintOwnClient(win, dc);
    // After the form's own print, which fills its client area and would cover them.
    if (auto* form = dynamic_cast<TCustomForm*>(win); form && form->FormStyle() == fsMDIForm)
        PrintMDIChildren(bitmap, form);
    const POINT origin = ClientOrigin(win->Handle());
    for (int i = 0; i < win->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(win->Controls(i));
        if (!child || !child->Visible())
            continue;
        const bool parentlessForm = dynamic_cast<TCustomForm*>(child) && !child->Parent();
        PrintAt(bitmap, child,
                parentlessForm ? POINT{0, 0} : POINT{origin.x + child->Left(), origin.y + child->Top()});
    }
}

int FadeStepCount(std::uint16_t time)
{
    return time > 7 ? (time >> 3) + 1 : 0;
}

int FadeAlpha(std::uint16_t time, int step)
{
    const int steps = time >> 3;
    return 255 - step * (255 / steps);
}

void BlendFadeFrame(TBitmap* work, TBitmap* oldImage, TBitmap* newImage, int alpha)
{
    SumBitmaps(work, oldImage, newImage, nullptr, static_cast<std::uint16_t>(std::clamp(alpha, 0, 256)));
}

void AnimShowControl(TControl* control, std::uint16_t time)
{
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win || !win->HandleAllocated() || win->Width() <= 0 || win->Height() <= 0)
        return;
    HWND wnd = win->Handle();
    const int w = win->Width(), h = win->Height();
    SendMessageW(wnd, WM_SETREDRAW, 0, 0);
    RECT wr{};
    GetWindowRect(wnd, &wr);
    auto oldImage = CreateBmp24(w, h);
    {
        TWindowDC screen(GetDesktopWindow());
        BitBlt(oldImage->Canvas()->Handle(), 0, 0, w, h, screen.Get(), wr.left, wr.top, SRCCOPY);
    }
    auto output = std::make_unique<TOutputWindow>(win);
    if (win->Parent()) {
        output->SetParent(win->Parent());
        output->SetBounds(win->Left(), win->Top(), w, h);
        SetWindowPos(output->Handle(), wnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(output->Handle(), SW_SHOWNA);
    } else {
        output->SetBounds(wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
        HWND before = GetWindow(wnd, GW_HWNDPREV);
        SetWindowPos(output->Handle(), before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (!output->HandleAllocated()) {
        SendMessageW(wnd, WM_SETREDRAW, 1, 0);
        return;
    }
    auto newImage = CreateBmp24(w, h);
    newImage->Canvas()->Lock();
    PaintControlToBitmap(newImage.get(), win);
    newImage->Canvas()->Unlock();
    auto work = CreateBmp32(w, h);
    if (dynamic_cast<TCustomForm*>(win)) {
        const LRESULT provider = SendSkinCmd(wnd, SkinCmdGetProvider, 0);
        if (provider && SkinLinks().ProviderFadeRegion)
            if (HRGN rgn = SkinLinks().ProviderFadeRegion(provider))
                SetWindowRgn(output->Handle(), rgn, FALSE); // the window owns the region now
    }
    {
        // Given back before the output window goes.
        TWindowDC outDC(output->Handle());
        const int frames = FadeStepCount(time);
        for (int i = 0; i < frames; ++i) {
            BlendFadeFrame(work.get(), oldImage.get(), newImage.get(), FadeAlpha(time, i));
            BitBlt(outDC.Get(), 0, 0, w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
            if (i + 1 < frames)
                Sleep(8);
        }
        BitBlt(outDC.Get(), 0, 0, w, h, newImage->Canvas()->Handle(), 0, 0, SRCCOPY);
        const bool layeredForm =
            dynamic_cast<TCustomForm*>(win) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
        if (!layeredForm)
            SetWindowPos(output->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOCOPYBITS | SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE |
                             SWP_NOZORDER);
    }
    output.reset();
    SendMessageW(wnd, WM_SETREDRAW, 1, 0);
}

void PaintDisabledEffect(TBitmap* bmp, std::uint8_t flags, TWinControl* control, TPoint offset, const TCacheInfo& ci)
{
    PaintDisabledEffect(bmp, flags, control ? control->Color() : clBtnFace, offset, ci);
}

std::uint8_t DisabledKindFlags(TsDisabledKind kind)
{
    return static_cast<std::uint8_t>((kind.Contains(dkBlended) ? 1 : 0) | (kind.Contains(dkGrayed) ? 2 : 0));
}
