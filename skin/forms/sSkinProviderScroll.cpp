// The provider's part in a form's own scroll bars: the skinned scroll-bar adapter it puts on a scrolling
// form, and the room the bars and the form's border width take in the frame.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/sMessages.h"
#include "skin/forms/acScrollBars.h"

namespace {

// The scroll bars of a skinned form. The cache they share is the provider's frame, which only the
// provider paints: the bars never paint it as a plain section of their own, whatever asks them to.
class TacFormScrollWnd : public TacScrollWnd {
public:
    using TacScrollWnd::TacScrollWnd;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == SM_SKINCMD && SkinCmdOf(message.WParam) == SkinCmdPaintToDC) {
            message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
            return;
        }
        TacScrollWnd::WndProc(message);
    }
};

} // namespace

void TsSkinProvider::UpdateScrollAdapter()
{
    if (!form_ || !form_->HandleAllocated() || !form_->AutoScroll() || form_->HasState(csDestroying))
        return;
    HWND wnd = form_->Handle();
    if (skinData_->Skinned()) {
        CallFlatSB("UninitializeFlatSB", wnd);
        // An adapter whose window went (the form's window was made again) holds nothing any more.
        if (scrollWnd_ && (scrollWnd_->Released || scrollWnd_->AdaptedWnd != wnd))
            scrollWnd_.reset();
        if (!scrollWnd_)
            scrollWnd_ = MakeAdapter<TacFormScrollWnd>(wnd, true, std::wstring{}, Manager(), skinData_.get());
    } else {
        FreeScrollAdapter();
        CallFlatSB("InitializeFlatSB", wnd);
    }
}

void TsSkinProvider::FreeScrollAdapter()
{
    // The adapter sits on top of the provider in the form's chain: it goes first, so that the form's
    // procedure runs through the provider again.
    scrollWnd_.reset();
}

void TsSkinProvider::WMParentNotify(TMessage& message)
{
    DefaultHandling(message);
    if (form_->HasState(csLoading))
        return;
    const WORD event = LOWORD(message.WParam);
    if (event != WM_CREATE && event != WM_DESTROY)
        return;
    if (event == WM_CREATE && adapter_)
        adapter_->AddAllItems(nullptr);
    // A control that came or went may have changed how far the content reaches.
    if (scrollWnd_)
        UpdateScrollInfo(scrollWnd_.get(), true);
}

void TsSkinProvider::CMFloat(TMessage& message)
{
    DefaultHandling(message);
    FreeScrollAdapter();
    if (form_->HandleAllocated())
        SendSkinCmd(form_->Handle(), SkinCmdRefresh, reinterpret_cast<LPARAM>(Manager()));
}

int TsSkinProvider::HorzScrollBarHeight() const
{
    if (!scrollWnd_ || !scrollWnd_->HorzBar || !scrollWnd_->HorzBar->Shown || !skinData_->Skinned())
        return 0;
    return GetScrollMetric(scrollWnd_->HorzBar.get(), 1, false);
}

int TsSkinProvider::VertScrollBarWidth() const
{
    if (!scrollWnd_ || !scrollWnd_->VertBar || !scrollWnd_->VertBar->Shown || !skinData_->Skinned())
        return 0;
    return GetScrollMetric(scrollWnd_->VertBar.get(), 1, false);
}

int TsSkinProvider::FormBorderWidth() const
{
    return form_ ? form_->BorderWidth() : 0;
}
