// The list view over the system's list view: items kept beside the window (each system item carries
// its item object), columns, views, image lists, colours and the selection event.
#include "framework/ComCtrls.h"

#include "framework/SysUtils.h"

#include <algorithm>

#include <commctrl.h>

// ---- TListItem ----

TListView* TListItem::ListView() const
{
    return owner_->Owner();
}

int TListItem::Index() const
{
    return owner_->IndexOf(this);
}

void TListItem::ShowInView(UINT message, LVITEMW& item)
{
    TListView* view = ListView();
    if (!view->HandleAllocated() || owner_->IsPending(this))
        return;
    const int index = Index();
    if (view->ownerData_) {
        SendMessageW(view->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
        return;
    }
    item.iItem = index;
    // LVM_SETITEMTEXTW takes the index in wParam, LVM_SETITEMW in the record.
    const WPARAM at = message == LVM_SETITEMTEXTW ? static_cast<WPARAM>(index) : 0;
    SendMessageW(view->Handle(), message, at, reinterpret_cast<LPARAM>(&item));
}

void TListItem::SetCaption(const std::wstring& value)
{
    if (value == caption_)
        return;
    caption_ = value;
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = caption_.data();
    ShowInView(LVM_SETITEMTEXTW, item);
}

void TListItem::SetImageIndex(int value)
{
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iImage = value;
    ShowInView(LVM_SETITEMW, item);
}

bool TListItem::Selected() const
{
    owner_->SendPending();
    TListView* view = ListView();
    if (!view->HandleAllocated())
        return selected_;
    return (SendMessageW(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value)
{
    owner_->SendPending();
    selected_ = value;
    TListView* view = ListView();
    if (!view->HandleAllocated())
        return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = value ? LVIS_SELECTED : 0;
    SendMessageW(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Focused() const
{
    owner_->SendPending();
    TListView* view = ListView();
    return view->HandleAllocated() &&
           (SendMessageW(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_FOCUSED) & LVIS_FOCUSED);
}

void TListItem::SetFocused(bool value)
{
    owner_->SendPending();
    TListView* view = ListView();
    if (!view->HandleAllocated())
        return;
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = value ? LVIS_FOCUSED : 0;
    SendMessageW(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

void TListItem::Delete()
{
    owner_->Delete(Index());
}

// ---- TListItems ----

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return items_[static_cast<size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const
{
    if (!item)
        return -1;
    const int hint = item->indexHint_;
    if (hint >= 0 && hint < Count() && items_[static_cast<size_t>(hint)].get() == item)
        return hint;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) {
            item->indexHint_ = static_cast<int>(i);
            return static_cast<int>(i);
        }
    return -1;
}

bool TListItems::IsPending(const TListItem* item) const
{
    return pending_ > 0 && IndexOf(item) >= Count() - pending_;
}

bool TListItems::Deferred() const
{
    return owner_->ownerData_ && updateCount_ > 0;
}

void TListItems::SendPending()
{
    if (pending_ == 0)
        return;
    if (!owner_->HandleAllocated()) {
        pending_ = 0;
        return;
    }
    if (owner_->ownerData_) {
        // New items at the end: the count is all the window needs, and no selection moves.
        pending_ = 0;
        owner_->SendItemCount(Count());
        return;
    }
    while (pending_ > 0) {
        const int index = Count() - pending_;
        --pending_;
        SendItem(index);
    }
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Insert(int index)
{
    if (index < 0 || index > Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    if (index == Count() && updateCount_ > 0 && owner_->HandleAllocated()) {
        items_.push_back(std::make_unique<TListItem>(this));
        items_.back()->indexHint_ = index;
        ++pending_;
        return items_.back().get();
    }
    SendPending();
    items_.insert(items_.begin() + index, std::make_unique<TListItem>(this));
    items_[static_cast<size_t>(index)]->indexHint_ = index;
    try {
        SendItem(index);
    } catch (...) {
        items_.erase(items_.begin() + index);
        throw;
    }
    return items_[static_cast<size_t>(index)].get();
}

void TListItems::SendItem(int index)
{
    if (!owner_->HandleAllocated())
        return;
    TListItem* object = items_[static_cast<size_t>(index)].get();
    if (owner_->ownerData_) {
        owner_->SendItemCount(index);
        if (object->selected_)
            object->SetSelected(true);
        return;
    }
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = index;
    item.pszText = object->caption_.data();
    item.iImage = object->imageIndex_;
    item.lParam = reinterpret_cast<LPARAM>(object);
    item.stateMask = LVIS_SELECTED;
    item.state = object->selected_ ? LVIS_SELECTED : 0;
    if (SendMessageW(owner_->Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
        throw EListError(L"Unable to insert an item");
}

void TListItems::Delete(int index)
{
    TListItem* item = Item(index);
    (void)item;
    SendPending();
    // The system's item goes first: its last notifications still find the object.
    if (owner_->HandleAllocated())
        SendMessageW(owner_->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    items_.erase(items_.begin() + index);
}

void TListItems::Clear()
{
    owner_->clearing_ = true;
    try {
        if (owner_->HandleAllocated())
            SendMessageW(owner_->Handle(), LVM_DELETEALLITEMS, 0, 0);
    } catch (...) {
        owner_->clearing_ = false;
        throw;
    }
    owner_->clearing_ = false;
    pending_ = 0;
    items_.clear();
}

void TListItems::BeginUpdate()
{
    if (updateCount_++ == 0 && owner_->HandleAllocated())
        SendMessageW(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && owner_->HandleAllocated()) {
        SendPending();
        if (owner_->listFitPending_)
            owner_->FitListColumns();
        SendMessageW(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
        owner_->Invalidate();
    }
}

// ---- TListColumn ----

void TListColumn::SetCaption(const std::wstring& value)
{
    caption_ = value;
    Changed(false);
}

void TListColumn::SetWidth(int value)
{
    width_ = value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Changed(false);
}

void TListColumn::SetImageIndex(int value)
{
    imageIndex_ = value;
    Changed(false);
}

TListColumns::TListColumns(TListView* owner) : TCollection(MakeCollectionItem<TListColumn>, owner), owner_(owner) {}

void TListColumns::Update(TCollectionItem*)
{
    owner_->SendColumns();
}

// ---- TListView ----

TListView::TListView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListItems>(this)), columns_(std::make_unique<TListColumns>(this)),
      largeLink_(std::make_unique<TChangeLink>()), smallLink_(std::make_unique<TChangeLink>())
{
    largeLink_->OnChange = TNotifyEvent(this, &TListView::ImageListChange);
    smallLink_->OnChange = TNotifyEvent(this, &TListView::ImageListChange);
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView()
{
    // No selection event may reach a handler for items that are going.
    OnSelectItem = nullptr;
    DestroyHandle();
}

void TListView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEWW);
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    // The image lists belong to the form: the system must not destroy them with its window.
    params.Style |= kViews[viewStyle_] | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_AUTOARRANGE;
    if (ownerData_)
        params.Style |= LVS_OWNERDATA;
    if (!readOnly_)
        params.Style |= LVS_EDITLABELS;
    if (!showColumnHeaders_)
        params.Style |= LVS_NOCOLUMNHEADER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TListView::CreateWnd()
{
    TWinControl::CreateWnd();
    SendColors();
    SendExStyles();
    SendImageLists();
    SendColumns();
    // The items come back with their selection: no selection changed, so no event runs.
    items_->pending_ = 0;
    restoring_ = true;
    try {
        if (ownerData_) {
            SendItemCount(items_->Count());
            for (auto& item : items_->items_)
                if (item->selected_)
                    item->SetSelected(true);
        } else {
            for (int i = 0; i < items_->Count(); ++i)
                items_->SendItem(i);
        }
    } catch (...) {
        restoring_ = false;
        throw;
    }
    restoring_ = false;
}

void TListView::DestroyWnd()
{
    // The selection survives a new window.
    items_->SendPending();
    if (handle_)
        for (auto& item : items_->items_)
            item->selected_ = item->Selected();
    TWinControl::DestroyWnd();
}

void TListView::Dispatch(TMessage& message)
{
    static const TMessageEntry<TListView> kListViewMessages[] = {
        {CN_NOTIFY, &TListView::CNNotify},
        {CM_COLORCHANGED, &TListView::CMColorChanged},
        {CM_FONTCHANGED, &TListView::CMFontChanged},
    };
    if (DispatchIn(this, kListViewMessages, message))
        return;
    TWinControl::Dispatch(message);
}

void TListView::SendColors()
{
    if (!handle_)
        return;
    auto back = static_cast<COLORREF>(ColorToRGB(Color()));
    SendMessageW(handle_, LVM_SETBKCOLOR, 0, back);
    SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, back);
    SendMessageW(handle_, LVM_SETTEXTCOLOR, 0, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
}

void TListView::CMColorChanged(TMessage& m)
{
    TWinControl::Dispatch(m);
    SendColors();
}

void TListView::CMFontChanged(TMessage& m)
{
    TWinControl::Dispatch(m);
    SendColors();
}

void TListView::SendExStyles()
{
    if (!handle_)
        return;
    DWORD ex = 0;
    if (hotTrack_)
        ex |= LVS_EX_TRACKSELECT;
    if (hotTrackStyles_.Contains(htHandPoint))
        ex |= LVS_EX_ONECLICKACTIVATE;
    if (hotTrackStyles_.Contains(htUnderlineCold))
        ex |= LVS_EX_UNDERLINECOLD;
    if (hotTrackStyles_.Contains(htUnderlineHot))
        ex |= LVS_EX_UNDERLINEHOT;
    DWORD mask = LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINECOLD | LVS_EX_UNDERLINEHOT;
    SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, ex);
}

void TListView::SendColumns()
{
    if (!handle_)
        return;
    while (SendMessageW(handle_, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < columns_->Count(); ++i) {
        TListColumn* column = columns_->Items(i);
        std::wstring caption = column->Caption();
        LVCOLUMNW lc{};
        lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lc.fmt = column->Alignment() == taCenter ? LVCFMT_CENTER : column->Alignment() == taRightJustify ? LVCFMT_RIGHT
                                                                                                        : LVCFMT_LEFT;
        if (column->ImageIndex() >= 0) {
            lc.mask |= LVCF_IMAGE;
            lc.fmt |= LVCFMT_IMAGE;
            lc.iImage = column->ImageIndex();
        }
        lc.cx = column->Width();
        lc.pszText = caption.data();
        lc.iSubItem = i;
        SendMessageW(handle_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lc));
    }
}

void TListView::SendImageLists()
{
    if (!handle_)
        return;
    TCustomImageList* large = LargeImages();
    TCustomImageList* small = SmallImages();
    SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large ? large->Handle() : nullptr));
    SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small ? small->Handle() : nullptr));
}

void TListView::ImageListChange(TObject*)
{
    SendImageLists();
    Invalidate();
}

void TListView::SetImageList(TChangeLink* link, TCustomImageList* value)
{
    if (link->Link(value))
        SendImageLists();
}

void TListView::SetViewStyle(TViewStyle value)
{
    if (value == viewStyle_)
        return;
    viewStyle_ = value;
    if (!handle_)
        return;
    if (!items_->Deferred())
        items_->SendPending();
    // The system switches views on a style change and keeps its items and selection.
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | static_cast<LONG_PTR>(kViews[value]);
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
    Arrange();
    // The system measures the captions it holds when it switches to the list style; the items an
    // owner-data window gets at the end of this update are measured then.
    listFitPending_ = value == vsList && items_->Deferred();
}

void TListView::Arrange()
{
    if (!handle_)
        return;
    if (!items_->Deferred())
        items_->SendPending();
    if (viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon)
        SendMessageW(handle_, LVM_ARRANGE, LVA_DEFAULT, 0);
    Invalidate();
}

TListItem* TListView::ItemOfNative(int index)
{
    if (!handle_ || index < 0)
        return nullptr;
    items_->SendPending();
    if (ownerData_)
        return index < items_->Count() ? items_->Item(index) : nullptr;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageW(handle_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    auto* object = reinterpret_cast<TListItem*>(item.lParam);
    return items_->IndexOf(object) >= 0 ? object : nullptr;
}

TListItem* TListView::Selected()
{
    if (!handle_) {
        for (auto& item : items_->items_)
            if (item->selected_)
                return item.get();
        return nullptr;
    }
    items_->SendPending();
    auto index = static_cast<int>(SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
}

void TListView::SetSelected(TListItem* value)
{
    for (auto& item : items_->items_)
        if (item.get() != value && item->Selected())
            item->SetSelected(false);
    if (value) {
        value->SetSelected(true);
        value->SetFocused(true);
    }
}

int TListView::ItemIndex()
{
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TListView::SetItemIndex(int value)
{
    SetSelected(value >= 0 && value < items_->Count() ? items_->Item(value) : nullptr);
}

void TListView::SetShowColumnHeaders(bool value)
{
    if (value == showColumnHeaders_)
        return;
    showColumnHeaders_ = value;
    RecreateWnd();
}

void TListView::SetOwnerData(bool value)
{
    if (value == ownerData_)
        return;
    ownerData_ = value;
    RecreateWnd();
}

void TListView::SendItemCount(int insertedAt)
{
    if (!handle_)
        return;
    const int count = items_->Count();
    // The window keeps its selection by index: one inserted before it moves it on by one, as the
    // system's own insertion would, and no selection event runs for the move.
    int selected = -1;
    if (insertedAt < count - 1)
        selected = static_cast<int>(SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    SendMessageW(handle_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
    if (selected >= insertedAt) {
        const bool wasRestoring = restoring_;
        restoring_ = true;
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(selected + 1), reinterpret_cast<LPARAM>(&state));
        restoring_ = wasRestoring;
    }
}

void TListView::FitListColumns()
{
    // The system sizes the columns of the list style after the widest caption it holds; with owner
    // data the same width is set here: the widest caption, the small icon and the system's padding,
    // never below its default column width.
    listFitPending_ = false;
    if (!handle_ || !ownerData_ || viewStyle_ != vsList)
        return;
    constexpr int kDefaultColumnWidth = 128, kPadding = 12, kLongestShown = 259;
    TScreenDC clientDC(handle_);
    HDC dc = clientDC.Get();
    if (!dc)
        return;
    auto font = reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0));
    TSelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    int widest = 0;
    for (const auto& item : items_->items_) {
        SIZE size{};
        const int length = static_cast<int>(std::min<size_t>(item->caption_.size(), kLongestShown));
        if (GetTextExtentPoint32W(dc, item->caption_.c_str(), length, &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    int cx = 0, cy = 0;
    if (TCustomImageList* small = SmallImages())
        ImageList_GetIconSize(small->Handle(), &cx, &cy);
    SendMessageW(handle_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(kDefaultColumnWidth, widest + cx + kPadding), 0));
}

void TListView::GetDisplayInfo(LPARAM param)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(param);
    LVITEMW& asked = info->item;
    if (asked.iItem < 0 || asked.iItem >= items_->Count())
        return;
    const TListItem* item = items_->items_[static_cast<size_t>(asked.iItem)].get();
    if ((asked.mask & LVIF_TEXT) && asked.pszText && asked.cchTextMax > 0)
        lstrcpynW(asked.pszText, asked.iSubItem == 0 ? item->caption_.c_str() : L"", asked.cchTextMax);
    if (asked.mask & LVIF_IMAGE) {
        // An icon copied after the item is replaced by the first index past the images: the window lays
        // the item out as one with an image and draws none.
        asked.iImage = copyingIcons_ && asked.iSubItem == 0 && CopiesIcon(asked.iItem)
                           ? ImageList_GetImageCount(ShownImages())
                           : item->imageIndex_;
    }
}

HIMAGELIST TListView::ShownImages() const
{
    TCustomImageList* images = viewStyle_ == vsIcon ? LargeImages() : SmallImages();
    return images ? images->Handle() : nullptr;
}

// An icon is copied when the system would draw it in a way that depends on nothing but the image, its
// state and the list's background colour: a valid image of an item neither cut nor overlaid.
bool TListView::CopiesIcon(int index) const
{
    if (index < 0 || index >= items_->Count())
        return false;
    const int image = items_->items_[static_cast<size_t>(index)]->imageIndex_;
    HIMAGELIST images = ShownImages();
    if (image < 0 || !images || image >= ImageList_GetImageCount(images))
        return false;
    const auto state = static_cast<UINT>(
        SendMessageW(handle_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_CUT | LVIS_OVERLAYMASK));
    return (state & (LVIS_CUT | LVIS_OVERLAYMASK)) == 0;
}

void TListView::CopyIcon(HDC dc, int index)
{
    if (!CopiesIcon(index))
        return;
    RECT r{};
    r.left = LVIR_ICON;
    if (!SendMessageW(handle_, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) ||
        IsRectEmpty(&r))
        return;
    const int image = items_->items_[static_cast<size_t>(index)]->imageIndex_;
    // The system blends the image of a selected item with the highlight while the list has the focus.
    const bool selected =
        (SendMessageW(handle_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const UINT style = selected && GetFocus() == handle_ ? ILD_SELECTED : ILD_NORMAL;
    const int width = r.right - r.left, height = r.bottom - r.top;
    auto icon = std::find_if(paintIcons_.begin(), paintIcons_.end(), [&](const TPaintIcon& p) {
        return p.image == image && p.style == style && p.width == width && p.height == height;
    });
    if (icon == paintIcons_.end()) {
        auto picture = std::make_unique<TMemoryDC>(dc, width, height);
        const auto back = static_cast<COLORREF>(SendMessageW(handle_, LVM_GETBKCOLOR, 0, 0));
        if (!picture->Get() ||
            !ImageList_DrawEx(ShownImages(), image, picture->Get(), 0, 0, width, height, back, CLR_DEFAULT, style))
            return;
        paintIcons_.push_back({image, style, width, height, std::move(picture)});
        icon = paintIcons_.end() - 1;
    }
    BitBlt(dc, r.left, r.top, width, height, icon->picture->Get(), 0, 0, SRCCOPY);
}

LRESULT TListView::CustomDraw(LPARAM param)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(param);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        // Without a background colour the system draws images over whatever lies below them: it draws
        // them itself then. A paint of no items has no end stage, so nothing is copied in one.
        paintIcons_.clear();
        copyingIcons_ = false;
        if (!ownerData_ || !handle_ || items_->Count() == 0 || viewStyle_ == vsReport || !ShownImages() ||
            static_cast<COLORREF>(SendMessageW(handle_, LVM_GETBKCOLOR, 0, 0)) == CLR_NONE ||
            SendMessageW(handle_, LVM_GETITEMCOUNT, 0, 0) == 0)
            return CDRF_DODEFAULT;
        copyingIcons_ = true;
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPREPAINT:
        return copyingIcons_ ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    case CDDS_ITEMPOSTPAINT:
        if (copyingIcons_)
            CopyIcon(draw->nmcd.hdc, static_cast<int>(draw->nmcd.dwItemSpec));
        return CDRF_DODEFAULT;
    case CDDS_POSTPAINT:
        copyingIcons_ = false;
        paintIcons_.clear();
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

int TListView::FindItem(LPARAM param)
{
    // Typing in the list finds the next caption that starts with the typed letters, as the system
    // does with items of its own.
    const auto* find = reinterpret_cast<NMLVFINDITEMW*>(param);
    const LVFINDINFOW& what = find->lvfi;
    const int count = items_->Count();
    if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || !what.psz || count == 0)
        return -1;
    const int length = lstrlenW(what.psz);
    int start = find->iStart < 0 || find->iStart >= count ? 0 : find->iStart;
    for (int n = 0; n < count; ++n) {
        const int i = start + n;
        if (i >= count && !(what.flags & LVFI_WRAP))
            break;
        const std::wstring& caption = items_->items_[static_cast<size_t>(i % count)]->caption_;
        const int compared = what.flags & LVFI_PARTIAL ? std::min(length, static_cast<int>(caption.size()))
                                                        : static_cast<int>(caption.size());
        if ((what.flags & LVFI_PARTIAL) && static_cast<int>(caption.size()) < length)
            continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(), compared, what.psz, length) ==
            CSTR_EQUAL)
            return i % count;
    }
    return -1;
}

void TListView::SetReadOnly(bool value)
{
    if (value == readOnly_)
        return;
    readOnly_ = value;
    RecreateWnd();
}

void TListView::SetHotTrack(bool value)
{
    hotTrack_ = value;
    SendExStyles();
}

void TListView::SetHotTrackStyles(THotTrackStyles value)
{
    hotTrackStyles_ = value;
    SendExStyles();
}

void TListView::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (ownerData_ && header->code == LVN_GETDISPINFOW) {
        GetDisplayInfo(m.LParam);
    } else if (ownerData_ && header->code == NM_CUSTOMDRAW) {
        m.Result = CustomDraw(m.LParam);
    } else if (ownerData_ && header->code == LVN_ODFINDITEMW) {
        m.Result = FindItem(m.LParam);
    } else if (header->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (!(change->uChanged & LVIF_STATE) || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            return;
        if (clearing_ || restoring_ || HasState(csDestroying) || ControlState.Contains(csDestroyingHandle))
            return;
        bool selected = (change->uNewState & LVIS_SELECTED) != 0;
        // A change of every item at once (index -1) names no single item.
        TListItem* item = change->iItem >= 0 ? ItemOfNative(change->iItem) : nullptr;
        OnSelectItem(this, item, selected);
    } else if (header->code == LVN_ENDLABELEDITW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        if (info->item.pszText) {
            if (TListItem* item = ItemOfNative(info->item.iItem))
                item->caption_ = info->item.pszText;
            m.Result = TRUE;
        }
    }
}
