// The tab strip over the system's tab control; its tabs are kept beside the window, so that a new
// window gets them back.
#include "framework/ComCtrls.h"

#include "framework/SysUtils.h"

#include <commctrl.h>

// ---- TTabStrings ----

void TTabStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error(L"List index out of bounds (%d)", index);
}

std::wstring TTabStrings::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].text;
}

TObject* TTabStrings::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TTabStrings::SendItem(int index, bool insert) const
{
    if (!control_->HandleAllocated())
        return;
    const Item& item = items_[static_cast<size_t>(index)];
    std::wstring text = item.text;
    TCITEMW tc{};
    tc.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    tc.pszText = text.data();
    tc.iImage = index;
    tc.lParam = reinterpret_cast<LPARAM>(item.object);
    HWND wnd = control_->Handle();
    if (insert) {
        if (SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc)) < 0)
            throw EListError(L"Failed to set tab \"" + item.text + L"\" at index " + IntToStr(index));
    } else if (!SendMessageW(wnd, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc))) {
        throw EListError(L"Failed to set tab \"" + item.text + L"\" at index " + IntToStr(index));
    }
}

void TTabStrings::Put(int index, const std::wstring& s)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)].text = s;
    SendItem(index, false);
}

void TTabStrings::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)].object = object;
    SendItem(index, false);
}

void TTabStrings::Insert(int index, const std::wstring& s)
{
    if (index < 0 || index > GetCount())
        Error(L"List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, Item{s, nullptr});
    try {
        SendItem(index, true);
    } catch (...) {
        items_.erase(items_.begin() + index);
        throw;
    }
    // Images follow the tab's position: the ones after it move on.
    for (int i = index + 1; i < GetCount(); ++i)
        SendItem(i, false);
}

void TTabStrings::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    if (control_->HandleAllocated()) {
        SendMessageW(control_->Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
        for (int i = index; i < GetCount(); ++i)
            SendItem(i, false);
    }
}

void TTabStrings::Clear()
{
    items_.clear();
    control_->tabIndex_ = -1;
    if (control_->HandleAllocated())
        SendMessageW(control_->Handle(), TCM_DELETEALLITEMS, 0, 0);
}

// ---- TTabControl ----

TTabControl::TTabControl(TComponent* owner)
    : TWinControl(owner), tabs_(std::make_unique<TTabStrings>(this)), imagesLink_(std::make_unique<TChangeLink>())
{
    imagesLink_->OnChange = TNotifyEvent(this, &TTabControl::ImageListChange);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TTabControl::~TTabControl() = default;

void TTabControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLW);
    params.Style |= WS_CLIPCHILDREN;
    switch (tabPosition_) {
    case tpBottom:
        params.Style |= TCS_BOTTOM;
        break;
    case tpLeft:
        params.Style |= TCS_VERTICAL;
        break;
    case tpRight:
        params.Style |= TCS_VERTICAL | TCS_RIGHT;
        break;
    default:
        break;
    }
    if (multiLine_)
        params.Style |= TCS_MULTILINE;
    if (!TabStop())
        params.Style |= TCS_FOCUSNEVER;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    if (TCustomImageList* images = Images())
        SendMessageW(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
    for (int i = 0; i < tabs_->GetCount(); ++i)
        tabs_->SendItem(i, true);
    if (tabIndex_ >= 0)
        SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TTabControl::DestroyWnd()
{
    tabIndex_ = TabIndex();
    TWinControl::DestroyWnd();
}

void TTabControl::Dispatch(TMessage& message)
{
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    TWinControl::Dispatch(message);
}

int TTabControl::TabIndex()
{
    if (!handle_)
        return tabIndex_ < tabs_->GetCount() ? tabIndex_ : -1;
    return static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetTabIndex(int value)
{
    // While the form is read the tabs may come after the index.
    if (HasState(csLoading)) {
        tabIndex_ = value;
        return;
    }
    if (value < -1 || value >= tabs_->GetCount())
        value = -1;
    tabIndex_ = value;
    if (handle_)
        SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TTabControl::SetTabPosition(TTabPosition value)
{
    if (value == tabPosition_)
        return;
    tabPosition_ = value;
    // Side tabs are laid out in rows only.
    if (value == tpLeft || value == tpRight)
        multiLine_ = true;
    RecreateWnd();
}

void TTabControl::SetMultiLine(bool value)
{
    if (value == multiLine_)
        return;
    if (!value && (tabPosition_ == tpLeft || tabPosition_ == tpRight))
        throw EListError(L"MultiLine must be True when TabPosition is tpLeft or tpRight");
    multiLine_ = value;
    RecreateWnd();
}

void TTabControl::SetImages(TCustomImageList* value)
{
    if (imagesLink_->Link(value))
        ImageListChange(nullptr);
}

void TTabControl::ImageListChange(TObject*)
{
    if (!handle_)
        return;
    TCustomImageList* images = Images();
    SendMessageW(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
    Invalidate();
}

int TTabControl::IndexOfTabAt(int x, int y)
{
    if (!handle_ || !ClientRect().Contains(Point(x, y)))
        return -1;
    TCHITTESTINFO info{};
    info.pt = POINT{x, y};
    return static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

TRect TTabControl::DisplayRect()
{
    RECT r = ClientRect().ToRECT();
    if (handle_)
        SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return TRect::FromRECT(r);
}

bool TTabControl::CanChange()
{
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TTabControl::Change()
{
    if (!HasState(csDestroying))
        OnChange(this);
}

void TTabControl::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code == TCN_SELCHANGING)
        m.Result = CanChange() ? FALSE : TRUE;
    else if (header->code == TCN_SELCHANGE) {
        tabIndex_ = TabIndex();
        Change();
    }
}
