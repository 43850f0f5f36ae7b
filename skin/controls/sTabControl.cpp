// The skinned tab strip: the tab list over the system's control, the properties, the tab index and its
// change notices, the layout of the painted tabs, and the mouse, keys and skin commands.
#include "skin/controls/sTabControl.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/controls/sUpDown.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"

#include <algorithm>
#include <cstdlib>

#include <commctrl.h>

namespace {

constexpr int kTextBufferLength = 4096;

bool IsAccelerator(wchar_t ch, const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t a = caption[i + 1];
        wchar_t b = ch;
        CharUpperBuffW(&a, 1);
        CharUpperBuffW(&b, 1);
        return a == b;
    }
    return false;
}

} // namespace

// ---- TsTabStrings ----

HWND TsTabStrings::Wnd() const
{
    return control_->Handle();
}

UINT TsTabStrings::ReadingFlag() const
{
    return control_->UseRightToLeftReading() ? TCIF_RTLREADING : 0;
}

int TsTabStrings::GetCount() const
{
    if (!control_->HandleAllocated())
        return 0;
    return static_cast<int>(SendMessageW(control_->Handle(), TCM_GETITEMCOUNT, 0, 0));
}

std::wstring TsTabStrings::Get(int index) const
{
    std::wstring buffer(kTextBufferLength, L'\0');
    TCITEMW item{};
    item.mask = TCIF_TEXT | ReadingFlag();
    item.pszText = buffer.data();
    item.cchTextMax = kTextBufferLength;
    if (!SendMessageW(Wnd(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(L"Failed to retrieve tab at index " + IntToStr(index));
    // The control may answer with a pointer of its own instead of filling the buffer.
    return std::wstring(item.pszText ? item.pszText : L"");
}

TObject* TsTabStrings::GetObject(int index) const
{
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageW(Wnd(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(L"Failed to get object at index " + IntToStr(index));
    return reinterpret_cast<TObject*>(item.lParam);
}

void TsTabStrings::Put(int index, const std::wstring& s)
{
    std::wstring text = s;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | ReadingFlag();
    item.pszText = text.data();
    item.iImage = control_->GetImageIndex(index);
    if (!SendMessageW(Wnd(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(L"Failed to set tab \"" + s + L"\" at index " + IntToStr(index));
    Changed();
}

void TsTabStrings::PutObject(int index, TObject* object)
{
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    item.lParam = reinterpret_cast<LPARAM>(object);
    if (!SendMessageW(Wnd(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(L"Failed to set object at index " + IntToStr(index));
}

void TsTabStrings::Insert(int index, const std::wstring& s)
{
    std::wstring text = s;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | ReadingFlag();
    item.pszText = text.data();
    item.iImage = control_->GetImageIndex(index);
    if (SendMessageW(Wnd(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) < 0)
        throw EListError(L"Failed to set tab \"" + s + L"\" at index " + IntToStr(index));
    Changed();
}

void TsTabStrings::Delete(int index)
{
    if (!SendMessageW(Wnd(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0))
        throw EListError(L"Failed to delete tab at index " + IntToStr(index));
    Changed();
}

void TsTabStrings::Clear()
{
    if (!SendMessageW(Wnd(), TCM_DELETEALLITEMS, 0, 0))
        throw EListError(L"Failed to clear tab control");
    Changed();
}

void TsTabStrings::SetUpdateState(bool updating)
{
    control_->updating_ = updating;
    if (updating)
        return;
    control_->SkinData()->Invalidate();
    control_->TabsChanged();
}

void TsTabStrings::Changed() const
{
    const bool skinned = control_->Skinned();
    if (skinned)
        control_->layouting_ = true;
    try {
        control_->TabsChanged();
    } catch (...) {
        control_->layouting_ = false;
        throw;
    }
    control_->layouting_ = false;
}

// ---- TsCustomTabControl: life and window ----

TsCustomTabControl::TsCustomTabControl(TComponent* owner)
    : TWinControl(owner), skinData_(std::make_unique<TsCommonData>(this, true)),
      canvas_(std::make_unique<TControlCanvas>()), imagesLink_(std::make_unique<TChangeLink>()),
      tabs_(std::make_unique<TsTabStrings>(this))
{
    skinData_->COC = COC_TsTabControl;
    canvas_->SetControl(this);
    imagesLink_->OnChange = TNotifyEvent(this, &TsCustomTabControl::ImageListChange);
    ControlStyle = {csAcceptsControls, csDoubleClicks};
    SetBounds(0, 0, 289, 100);
    SetTabStop(true);
}

TsCustomTabControl::~TsCustomTabControl()
{
    imagesLink_->Link(nullptr);
}

void TsCustomTabControl::AfterConstruction()
{
    TWinControl::AfterConstruction();
    skinData_->Loaded();
}

void TsCustomTabControl::Loaded()
{
    TWinControl::Loaded();
    // The index was only stored while the form was read, perhaps before the tabs came: the system's
    // selection follows it now, quietly.
    if (HandleAllocated() && storedTabIndex_ >= 0 && storedTabIndex_ < tabs_->GetCount())
        SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(storedTabIndex_), 0);
    skinData_->Loaded();
    if (Images() && HandleAllocated())
        for (int i = 0; i < tabs_->GetCount(); ++i)
            tabs_->Put(i, tabs_->Get(i));
    if (Skinned())
        TabsChanged();
}

void TsCustomTabControl::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == scroller_)
        scroller_ = nullptr;
}

bool TsCustomTabControl::Reading() const
{
    return HasState(csReading) || HasState(csLoading);
}

bool TsCustomTabControl::Skinned() const
{
    return skinData_ && skinData_->Skinned();
}

TCanvas* TsCustomTabControl::Canvas() const
{
    return canvas_.get();
}

void TsCustomTabControl::CreateParams(TCreateParams& params)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLW);
    params.Style |= WS_CLIPCHILDREN;
    switch (TabSide()) {
    case tpBottom: params.Style |= TCS_BOTTOM; break;
    case tpLeft: params.Style |= TCS_VERTICAL; break;
    case tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT; break;
    default: break;
    }
    if (style_ == tsButtons)
        params.Style |= TCS_BUTTONS;
    else if (style_ == tsFlatButtons)
        params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (raggedRight_)
        params.Style |= TCS_RAGGEDRIGHT;
    if (!TabStop())
        params.Style |= TCS_FOCUSNEVER;
    if (multiLine_)
        params.Style |= TCS_MULTILINE;
    if (multiSelect_)
        params.Style |= TCS_MULTISELECT;
    if (ownerDraw_)
        params.Style |= TCS_OWNERDRAWFIXED;
    if (tabWidth_ != 0)
        params.Style |= TCS_FIXEDWIDTH;
    if (hotTrack_ && !HasState(csDesigning))
        params.Style |= TCS_HOTTRACK;
    if (scrollOpposite_)
        params.Style |= TCS_SCROLLOPPOSITE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
    params.WindowClass.style |= CS_DBLCLKS;
}

void TsCustomTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SendImageList();
    if (tabWidth_ != 0 || tabHeight_ != 0)
        SendItemSize();
    if (savedTabs_) {
        std::unique_ptr<TStringList> saved = std::move(savedTabs_);
        for (int i = 0; i < saved->GetCount(); ++i)
            tabs_->InsertObject(i, saved->Get(i), saved->GetObject(i));
        if (savedTabIndex_ >= 0 && savedTabIndex_ < tabs_->GetCount())
            SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(savedTabIndex_), 0);
    }
}

void TsCustomTabControl::DestroyWnd()
{
    if (!HasState(csDestroying) && tabs_->GetCount() > 0) {
        auto saved = std::make_unique<TStringList>();
        for (int i = 0; i < tabs_->GetCount(); ++i)
            saved->AddObject(tabs_->Get(i), tabs_->GetObject(i));
        savedTabIndex_ = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
        savedTabs_ = std::move(saved);
    }
    if (handle_ && GetFocus() == handle_)
        ::SetFocus(nullptr);
    TWinControl::DestroyWnd();
}

TStrings* TsCustomTabControl::GetTabs() const
{
    // Without a window the tabs wait in the saved list until one can be made.
    if (!savedTabs_ && !HandleAllocated() && !Parent() && !ParentWindow())
        savedTabs_ = std::make_unique<TStringList>();
    if (savedTabs_)
        return savedTabs_.get();
    return tabs_.get();
}

void TsCustomTabControl::SetTabs(TStrings* value)
{
    GetTabs()->Assign(value);
}

// ---- Tab index ----

int TsCustomTabControl::GetTabIndex()
{
    if (Skinned())
        return GetTabs()->GetCount() > 0 ? storedTabIndex_ : 0;
    if (!HandleAllocated())
        return savedTabs_ && savedTabIndex_ < savedTabs_->GetCount() ? savedTabIndex_ : -1;
    return static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
}

void TsCustomTabControl::ApplyTabIndex(int index)
{
    if (HasState(csReading)) {
        storedTabIndex_ = index;
        savedTabIndex_ = index;
        return;
    }
    if (Skinned()) {
        const int count = GetTabs()->GetCount();
        const int corrected = index < 0 || index >= count ? 0 : index;
        if (corrected == storedTabIndex_) {
            // Rebuilt tabs lose the system's selection while the stored index stays: the selection
            // follows it quietly.
            if (HandleAllocated() && index == corrected && SendMessageW(handle_, TCM_GETCURSEL, 0, 0) != index)
                SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
            return;
        }
        storedTabIndex_ = corrected;
        if (HasState(csLoading))
            return;
        UpdateTabInfos();
        skinData_->BGChanged = true;
        Change();
        if (HandleAllocated())
            SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        // The cache is repainted by the next paint, which clears the flag itself: a control that is
        // not on the screen now still shows the new tab when it appears.
        Repaint();
        return;
    }
    if (!HandleAllocated()) {
        storedTabIndex_ = index;
        savedTabIndex_ = index;
        return;
    }
    // The system's selection follows the stored index silently when only it lags behind (after the
    // tabs were rebuilt): the change notice is for a new index only.
    if (index == storedTabIndex_) {
        if (SendMessageW(handle_, TCM_GETCURSEL, 0, 0) != index)
            SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        return;
    }
    storedTabIndex_ = index;
    SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (!HasState(csLoading))
        Change();
}

int TsCustomTabControl::TabIndexAtPoint(int x, int y)
{
    if (!HandleAllocated() || !ClientRect().Contains(TPoint{x, y}))
        return -1;
    TCHITTESTINFO info{};
    info.pt = POINT{x, y};
    return static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

bool TsCustomTabControl::CanShowTab(int)
{
    return true;
}

bool TsCustomTabControl::CanScrollTab(int)
{
    return true;
}

void TsCustomTabControl::DrawTab(int index, const TRect& rect, bool active)
{
    if (OnDrawTab) {
        OnDrawTab(this, index, rect, active);
        return;
    }
    canvas_->FillRect(rect);
}

int TsCustomTabControl::GetImageIndex(int index)
{
    int result = index;
    OnGetImageIndex(this, index, result);
    return result;
}

bool TsCustomTabControl::CanChange()
{
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TsCustomTabControl::Change()
{
    if (HasState(csDestroying))
        return;
    OnChange(this);
    if (scroller_ && Skinned())
        UpdateScroller();
}

// ---- Properties ----

void TsCustomTabControl::SetTabPosition(TTabPosition value)
{
    if (value == tabPosition_)
        return;
    if (value != tpTop && style_ != tsTabs)
        throw EInvalidOperation(L"Позиция tab несовместима с текущим стилем tab");
    tabPosition_ = value;
    if (SideTabs())
        multiLine_ = true;
    if (HandleAllocated())
        RecreateWnd();
}

TTabPosition TsCustomTabControl::TabSide() const
{
    if (!SideTabs() || !UseRightToLeftAlignment())
        return tabPosition_;
    return tabPosition_ == tpLeft ? tpRight : tpLeft;
}

void TsCustomTabControl::SetStyle(TTabStyle value)
{
    if (value == style_)
        return;
    if (value != tsTabs && tabPosition_ != tpTop)
        throw EInvalidOperation(L"Cтиль tab несовместим с текущей позицией tab");
    style_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetMultiLine(bool value)
{
    if (value == multiLine_)
        return;
    if (!value && SideTabs())
        throw EListError(L"MultiLine must be True when TabPosition is tpLeft or tpRight");
    multiLine_ = value;
    if (!value)
        scrollOpposite_ = false;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetScrollOpposite(bool value)
{
    if (value == scrollOpposite_)
        return;
    scrollOpposite_ = value;
    if (value)
        multiLine_ = true;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetRaggedRight(bool value)
{
    if (value == raggedRight_)
        return;
    raggedRight_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetOwnerDraw(bool value)
{
    if (value == ownerDraw_)
        return;
    ownerDraw_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetHotTrack(bool value)
{
    if (value == hotTrack_)
        return;
    hotTrack_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TsCustomTabControl::SetTabHeight(int value)
{
    if (value < 0)
        throw EInvalidOperation(L"Свойство " + ClassName() + L" вышло за границы");
    if (value == tabHeight_)
        return;
    tabHeight_ = value;
    SendItemSize();
    TabsChanged();
}

void TsCustomTabControl::SetTabWidth(int value)
{
    if (value < 0)
        throw EInvalidOperation(L"Свойство " + ClassName() + L" вышло за границы");
    if (value == tabWidth_)
        return;
    const bool onlySize = value != 0 && tabWidth_ != 0;
    tabWidth_ = value;
    if (onlySize) {
        SendItemSize();
        TabsChanged();
    } else if (HandleAllocated()) {
        RecreateWnd();
    }
}

void TsCustomTabControl::SendItemSize()
{
    if (HandleAllocated())
        SendMessageW(handle_, TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
}

TCustomImageList* TsCustomTabControl::Images() const
{
    return imagesLink_->Sender();
}

void TsCustomTabControl::SetImages(TCustomImageList* value)
{
    // The change link follows the list: a list that goes clears it.
    if (!imagesLink_->Link(value))
        return;
    SendImageList();
    if (!HasState(csDestroying)) {
        skinData_->Invalidate();
        TabsChanged();
    }
}

void TsCustomTabControl::SendImageList()
{
    if (!HandleAllocated())
        return;
    TCustomImageList* images = Images();
    SendMessageW(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TsCustomTabControl::ImageListChange(TObject*)
{
    SendImageList();
    skinData_->Invalidate();
    // Images of another size (or a list whose handle was replaced) change the tabs' widths: the row
    // is laid out again, and its own arrows come or go with it.
    TabsChanged();
    Invalidate();
}

// ---- Layout ----

void TsCustomTabControl::TabsChanged()
{
    if (HasState(csDestroying) || updating_ || Reading())
        return;
    UpdateTabInfos();
    if (HandleAllocated())
        SendMessageW(handle_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(), Height()));
    Realign();
    if (multiLine_)
        FreeScroller();
}

void TsCustomTabControl::UpdateTabInfos()
{
    if (Reading() || HasState(csDestroying) || !HandleAllocated())
        return;
    const int count = tabs_->GetCount();
    tabInfos_.assign(static_cast<size_t>(std::max(0, count)), TsTabInfo{});
    for (int i = 0; i < count; ++i) {
        TsTabInfo& info = tabInfos_[static_cast<size_t>(i)];
        info.Caption = tabs_->Get(i);
        info.TabIndex = i;
        info.ImageIndex = GetImageIndex(i);
        RECT r{};
        SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        info.R = TRect::FromRECT(r);
        info.Width = info.R.Width();
        info.Height = info.R.Height();
        info.Placed = false;
    }
    RestackRows();
}

// The system stacks its rows in its own way; the painted rows lie one above the other from the edge of
// the control, and the current one is drawn last, nearest the page.
void TsCustomTabControl::RestackRows()
{
    const int rows = std::max(1, static_cast<int>(SendMessageW(handle_, TCM_GETROWCOUNT, 0, 0)));
    const TTabPosition side = TabSide();
    const bool vertical = SideTabs();
    int number = rows;
    for (size_t i = 0; i < tabInfos_.size(); ++i) {
        if (tabInfos_[i].Placed)
            continue;
        const int edge = vertical ? tabInfos_[i].R.Left : tabInfos_[i].R.Top;
        const int row = number--;
        for (size_t j = i; j < tabInfos_.size(); ++j) {
            TsTabInfo& info = tabInfos_[j];
            const int nearEdge = vertical ? info.R.Left : info.R.Top;
            if (info.Placed || std::abs(nearEdge - edge) > 2)
                continue;
            info.Placed = true;
            info.Row = row;
            const int h = info.Height, w = info.Width;
            switch (side) {
            case tpTop:
                info.R.Top = h * (rows - row) + 1;
                info.R.Bottom = info.R.Top + h;
                break;
            case tpBottom:
                info.R.Bottom = Height() - (h * (rows - row) + 1);
                info.R.Top = info.R.Bottom - h;
                break;
            case tpLeft:
                info.R.Left = w * (rows - row) + 1;
                info.R.Right = info.R.Left + w;
                break;
            case tpRight:
                info.R.Right = Width() - (w * (rows - row) + 1);
                info.R.Left = info.R.Right - w;
                break;
            }
        }
    }
    const int current = CurrentPosition();
    if (current < 0 || tabInfos_[static_cast<size_t>(current)].Row == 1)
        return;
    const int row = tabInfos_[static_cast<size_t>(current)].Row;
    std::stable_partition(tabInfos_.begin(), tabInfos_.end(), [row](const TsTabInfo& info) { return info.Row != row; });
    for (TsTabInfo& info : tabInfos_)
        if (info.Row == row)
            info.Row = 1;
}

int TsCustomTabControl::CurrentPosition() const
{
    for (size_t i = 0; i < tabInfos_.size(); ++i)
        if (tabInfos_[i].TabIndex == storedTabIndex_)
            return static_cast<int>(i);
    return -1;
}

TRect TsCustomTabControl::GetTabRect(int position) const
{
    if (position < 0 || position >= static_cast<int>(tabInfos_.size()))
        return TRect{0, 0, 0, 0};
    TRect r = tabInfos_[static_cast<size_t>(position)].R;
    if (style_ != tsTabs)
        return r;
    const bool current = position == CurrentPosition();
    if (current) {
        r.Bottom -= 1;
    } else {
        r.Bottom += 3;
        r.Right -= 1;
    }
    auto inflate = [&r](int dx, int dy) {
        r.Left -= dx;
        r.Right += dx;
        r.Top -= dy;
        r.Bottom += dy;
    };
    switch (TabSide()) {
    case tpTop:
        if (current)
            inflate(2, 1);
        r.Bottom += 2;
        break;
    case tpBottom:
        if (current)
            inflate(2, 1);
        r.Top -= 2;
        r.Bottom += current ? 1 : -3;
        break;
    case tpLeft:
        inflate(0, 1);
        r.Right += 2;
        if (current) {
            inflate(1, 1);
        } else {
            r.Bottom -= 4;
            r.Right += 2;
        }
        break;
    case tpRight:
        inflate(1, 0);
        r.Left -= 1;
        r.Right -= 1;
        r.Top -= 1;
        r.Bottom -= 1;
        if (current) {
            inflate(1, 1);
            r.Bottom += 3;
        } else {
            r.Bottom -= 2;
        }
        break;
    }
    return r;
}

// ---- Messages ----

void TsCustomTabControl::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD) {
        SkinCommand(m);
        return;
    }
    if (CommonMessage(m, skinData_.get()))
        return;
    switch (m.Msg) {
    case CN_NOTIFY:
        CNNotify(m);
        return;
    case WM_NOTIFYFORMAT:
        m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
        return;
    case WM_SIZE:
        WMSize(m);
        return;
    case WM_HSCROLL:
        WMHScroll(m);
        return;
    case WM_PRINT:
        // Printed like a paint into the given surface, skinned or not.
        if (!Skinned()) {
            Perform(WM_ERASEBKGND, m.WParam, 0);
            Perform(WM_PAINT, m.WParam, 0);
            return;
        }
        break;
    case CM_TABSTOPCHANGED:
        // The system's control learns whether it may take the focus only when it is made.
        TWinControl::WndProc(m);
        if (HandleAllocated() && !Reading())
            RecreateWnd();
        return;
    case CM_DIALOGCHAR:
        if (SelectByAccelerator(static_cast<wchar_t>(m.WParam))) {
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    if (Skinned() && SkinnedMessage(m))
        return;
    TWinControl::WndProc(m);
}

void TsCustomTabControl::SkinCommand(TMessage& m)
{
    const bool own = m.LParam == reinterpret_cast<LPARAM>(skinData_->GetSkinManager()) && m.LParam != 0;
    if (AnswerCommonSkinCmd(m))
        return;
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinChanged:
        if (!own)
            break;
        BroadcastToChildren(this, m);
        CommonSkinCommand(m, skinData_.get());
        return;
    case SkinCmdSkinRemoved:
        if (!own)
            break;
        CommonSkinCommand(m, skinData_.get());
        tabInfos_.clear();
        UpdateScroller();
        BroadcastToChildren(this, m);
        if (HandleAllocated())
            SendMessageW(handle_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(), Height()));
        RedrawAll(true);
        return;
    case SkinCmdRefresh:
        if (!own)
            break;
        CommonSkinCommand(m, skinData_.get());
        UpdateTabInfos();
        UpdateScroller();
        RedrawAll(true);
        if (scroller_)
            scroller_->Repaint();
        BroadcastToChildren(this, m);
        return;
    case SkinCmdEndParentUpdate:
        if (skinData_->FUpdating) {
            skinData_->FUpdating = false;
            RedrawAll(false);
        }
        return;
    case SkinCmdIsBgChanged:
        m.LParam = skinData_->BGChanged || skinData_->Updating() ? 1 : 0;
        return;
    default:
        break;
    }
    CommonSkinCommand(m, skinData_.get());
}

void TsCustomTabControl::RedrawAll(bool withFrame)
{
    if (!HandleAllocated())
        return;
    skinData_->BGChanged = true;
    // A form that holds its paints repaints the whole of itself when it lets them go.
    if (PaintsHeldFor(handle_))
        return;
    UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
    if (withFrame)
        flags |= RDW_FRAME;
    RedrawWindow(handle_, nullptr, nullptr, flags);
}

void TsCustomTabControl::CNNotify(TMessage& m)
{
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (!header)
        return;
    if (header->code == TCN_SELCHANGING) {
        // While skinned the control moves the selection itself, after its change notice.
        m.Result = Skinned() || !CanChange() ? TRUE : FALSE;
    } else if (header->code == TCN_SELCHANGE) {
        storedTabIndex_ = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
        Change();
    }
}

void TsCustomTabControl::WMSize(TMessage& m)
{
    if (!Skinned()) {
        TWinControl::WndProc(m);
        FreeScroller();
        return;
    }
    if (sizing_)
        return;
    sizing_ = true;
    layouting_ = true;
    try {
        TWinControl::WndProc(m);
        if (!Reading()) {
            UpdateTabInfos();
            TBitmap* cache = skinData_->CacheBmp();
            if (!cache || cache->Width() != Width() || cache->Height() != Height())
                skinData_->BGChanged = true;
            if (CurrentPosition() >= 0)
                UpdateScroller();
        }
    } catch (...) {
        sizing_ = false;
        layouting_ = false;
        throw;
    }
    sizing_ = false;
    layouting_ = false;
    if (HandleAllocated())
        RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void TsCustomTabControl::WMHScroll(TMessage& m)
{
    TWinControl::WndProc(m);
    if (m.LParam == 0 && Skinned()) {
        UpdateTabInfos();
        skinData_->Invalidate();
    }
}

// Window messages that a skinned control answers itself; True when answered.
bool TsCustomTabControl::SkinnedMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        if (HasState(csLoading) || (Parent() && Parent()->HasState(csDestroying)))
            return false;
        if (m.WParam) {
            PaintSkinned(reinterpret_cast<HDC>(m.WParam));
        } else {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(handle_, &ps);
            try {
                PaintSkinned(dc);
            } catch (...) {
                EndPaint(handle_, &ps);
                throw;
            }
            EndPaint(handle_, &ps);
        }
        return true;
    case WM_PRINT:
        UpdateScroller();
        PaintSkinned(reinterpret_cast<HDC>(m.WParam));
        return true;
    case WM_ERASEBKGND:
        m.Result = 1;
        return true;
    case WM_NCPAINT:
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        WMLButtonDown(m);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENTER:
    case CM_EXIT:
        TWinControl::WndProc(m);
        if (TabStop()) {
            skinData_->FFocused = m.Msg == WM_SETFOCUS || m.Msg == CM_ENTER;
            skinData_->FMouseAbove = false;
            RedrawAll(true);
        }
        return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // A focused strip is hot already; the pointer changes nothing then.
        TWinControl::WndProc(m);
        if (!Focused() && !HasState(csDesigning))
            skinData_->FMouseAbove = m.Msg == CM_MOUSEENTER;
        return true;
    case CM_MOUSEWHEEL:
    case WM_MOUSEWHEEL:
    case CM_VISIBLECHANGED:
    case CM_FONTCHANGED:
    case WM_MOVE:
        TWinControl::WndProc(m);
        RedrawAll(true);
        return true;
    case WM_SYSCOLORCHANGE:
        if (!HasState(csLoading))
            TWinControl::WndProc(m);
        return true;
    default:
        return false;
    }
}

void TsCustomTabControl::WMLButtonDown(TMessage& m)
{
    const int x = m.XPos(), y = m.YPos();
    OnMouseDown(this, mbLeft, TShiftState{}, x, y);
    const int tab = TabAtPaintedPoint(TPoint{x, y});
    if (tab >= 0 && tab != GetTabIndex() && CanChange())
        ApplyTabIndex(tab);
    if (TabStop() && CanFocus())
        SetFocus();
}

int TsCustomTabControl::TabAtPaintedPoint(const TPoint& p) const
{
    for (size_t i = 0; i < tabInfos_.size(); ++i)
        if (GetTabRect(static_cast<int>(i)).Contains(p))
            return tabInfos_[i].TabIndex;
    return -1;
}

void TsCustomTabControl::KeyDown(WORD& key, TShiftState shift)
{
    if (Skinned() && shift.Empty() && GetTabs()->GetCount() > 0 && SelectByKey(key)) {
        key = 0;
        return;
    }
    TWinControl::KeyDown(key, shift);
}

bool TsCustomTabControl::SelectByKey(WORD key)
{
    const int count = GetTabs()->GetCount();
    const int current = GetTabIndex();
    const bool side = SideTabs();
    const int rows = static_cast<int>(SendMessageW(handle_, TCM_GETROWCOUNT, 0, 0));
    const TRect r = GetTabRect(CurrentPosition());
    const TPoint centre{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    const int previous = current <= 0 ? count - 1 : current - 1;
    const int next = current + 1 >= count ? 0 : current + 1;
    int target = -1;
    switch (key) {
    case VK_END: target = count - 1; break;
    case VK_HOME: target = 0; break;
    case VK_LEFT:
    case VK_RIGHT:
        if (!side)
            target = key == VK_LEFT ? previous : next;
        else if (rows >= 2)
            target = TabAtPaintedPoint(TPoint{centre.X + (key == VK_LEFT ? -r.Width() : r.Width()), centre.Y});
        else
            return false;
        break;
    case VK_UP:
    case VK_DOWN:
        if (side)
            target = key == VK_UP ? previous : next;
        else if (rows >= 2)
            target = TabAtPaintedPoint(TPoint{centre.X, centre.Y + (key == VK_UP ? -r.Height() : r.Height())});
        else
            return false;
        break;
    default: return false;
    }
    if (target >= 0 && target < count && target != current && CanChange())
        ApplyTabIndex(target);
    return true;
}

bool TsCustomTabControl::SelectByAccelerator(wchar_t ch)
{
    if (!HandleAllocated() || !CanFocus())
        return false;
    const int count = tabs_->GetCount();
    for (int i = 0; i < count; ++i) {
        if (!IsAccelerator(ch, tabs_->Get(i)) || !CanShowTab(i))
            continue;
        if (i != GetTabIndex() && CanChange())
            ApplyTabIndex(i);
        return true;
    }
    return false;
}

// ---- Form data ----

void RegisterTabControlClasses()
{
    RegisterCommonDataClass();
    RegisterClass<TsCustomTabControl>(L"TsCustomTabControl", L"TWinControl")
        .Object(L"Tabs", &TsCustomTabControl::GetTabs)
        .Int(L"TabIndex", &TsCustomTabControl::SetTabIndex)
        .Enum(L"TabPosition", &TsCustomTabControl::SetTabPosition,
              {{L"tpTop", tpTop}, {L"tpBottom", tpBottom}, {L"tpLeft", tpLeft}, {L"tpRight", tpRight}})
        .Enum(L"Style", &TsCustomTabControl::SetStyle,
              {{L"tsTabs", tsTabs}, {L"tsButtons", tsButtons}, {L"tsFlatButtons", tsFlatButtons}})
        .Bool(L"MultiLine", &TsCustomTabControl::SetMultiLine)
        .Bool(L"ScrollOpposite", &TsCustomTabControl::SetScrollOpposite)
        .Bool(L"OwnerDraw", &TsCustomTabControl::SetOwnerDraw)
        .Bool(L"HotTrack", &TsCustomTabControl::SetHotTrack)
        .Int(L"TabHeight", &TsCustomTabControl::SetTabHeight)
        .Int(L"TabWidth", &TsCustomTabControl::SetTabWidth)
        .Reference(L"Images", &TsCustomTabControl::SetImages)
        .Object(L"SkinData", &TsCustomTabControl::SkinData)
        .Event(L"OnChange", &TsCustomTabControl::OnChange)
        .Event(L"OnChanging", &TsCustomTabControl::OnChanging)
        .Event(L"OnDrawTab", &TsCustomTabControl::OnDrawTab)
        .Event(L"OnGetImageIndex", &TsCustomTabControl::OnGetImageIndex);
    RegisterClass<TsTabControl>(L"TsTabControl", L"TsCustomTabControl");
}
