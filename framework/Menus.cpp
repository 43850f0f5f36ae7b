// Menu items, menus, popup menus and the popup list, over Win32 menus.
#include "framework/Menus.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "framework/WindowBinding.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

// Live items by command number, and the set of live items (to check menu item data before use).
std::map<UINT, TMenuItem*>& Commands()
{
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

// The item data of a menu's entry: the item behind it, 0 for the system's entries.
ULONG_PTR ItemDataAt(HMENU menu, int position)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii) ? mii.dwItemData : 0;
}

// Of the system's entries, the maximized MDI child's system menu (the only one with a sub-menu) goes
// before the bar's items; the child's buttons and the window menu's list of children go after them.
bool IsSystemEntryBefore(HMENU menu, int position)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_SUBMENU;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii) && mii.hSubMenu;
}

std::set<const TMenuItem*>& LiveItems()
{
    static std::set<const TMenuItem*> items;
    return items;
}

UINT AllocateCommand(TMenuItem* item)
{
    static UINT next = 1;
    auto& commands = Commands();
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        UINT id = next;
        next = next >= 0xFFFE ? 1 : next + 1;
        if (!commands.count(id)) {
            commands[id] = item;
            return id;
        }
    }
    throw EMenuError(L"Too many menu items");
}

TPopupList* gPopupList = nullptr;

struct KeyName {
    WORD key;
    const wchar_t* name;
};

const KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"}, {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"}, {VK_HOME, L"Home"}, {VK_LEFT, L"Left"},
    {VK_UP, L"Up"}, {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyToText(WORD key)
{
    if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key)
            return k.name;
    return L"";
}

} // namespace

// ---- Shortcut text ----

TShortCut ShortCut(WORD key, TShiftState shift)
{
    if (key & 0xFF00)
        return 0;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

std::wstring ShortCutToText(TShortCut shortCut)
{
    std::wstring name = KeyToText(static_cast<WORD>(shortCut & 0xFF));
    if (name.empty())
        return L"";
    std::wstring prefix;
    if (shortCut & scShift)
        prefix += L"Shift+";
    if (shortCut & scCtrl)
        prefix += L"Ctrl+";
    if (shortCut & scAlt)
        prefix += L"Alt+";
    return prefix + name;
}

TShortCut TextToShortCut(const std::wstring& text)
{
    std::wstring rest = text;
    TShortCut modifiers = 0;
    for (;;) {
        if (rest.size() > 6 && SameText(rest.substr(0, 6), L"Shift+")) {
            modifiers |= scShift;
            rest = rest.substr(6);
        } else if (rest.size() > 5 && SameText(rest.substr(0, 5), L"Ctrl+")) {
            modifiers |= scCtrl;
            rest = rest.substr(5);
        } else if (rest.size() > 4 && SameText(rest.substr(0, 4), L"Alt+")) {
            modifiers |= scAlt;
            rest = rest.substr(4);
        } else {
            break;
        }
    }
    for (WORD key = 8; key <= 0xFF; ++key) {
        std::wstring name = KeyToText(key);
        if (!name.empty() && SameText(name, rest))
            return static_cast<TShortCut>(key | modifiers);
    }
    return 0;
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner)
{
    command_ = AllocateCommand(this);
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem()
{
    Destroying();
    LiveItems().erase(this);
    Commands().erase(command_);
    link_.reset();
    while (!items_.empty())
        Free(items_.back()); // each removes itself
    if (parent_)
        parent_->Remove(this);
    if (handle_) {
        while (GetMenuItemCount(handle_) > 0)
            RemoveMenu(handle_, 0, MF_BYPOSITION);
        DestroyMenu(handle_);
        handle_ = nullptr;
    }
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError(L"Menu index out of range");
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::MenuIndex() const
{
    return parent_ ? parent_->IndexOf(const_cast<TMenuItem*>(this)) : -1;
}

void TMenuItem::SetMenuIndex(int value)
{
    if (!parent_)
        return;
    TMenuItem* parent = parent_;
    value = std::clamp(value, 0, parent->Count() - 1);
    auto& list = parent->items_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin() + value, this);
    parent->ChildrenChanged();
}

int TMenuItem::IndexOf(TMenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item->parent_)
        throw EMenuError(L"Menu inserted twice");
    if (index < 0 || index > Count())
        throw EMenuError(L"Menu index out of range");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    ChildrenChanged();
}

void TMenuItem::Delete(int index)
{
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    ChildrenChanged();
}

void TMenuItem::ChildrenChanged()
{
    if (HasState(csLoading) || HasState(csDestroying))
        return;
    // This item's own menu lists the children; its parent's menu shows whether it has any.
    RebuildHandle();
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item)
{
    int index = IndexOf(item);
    if (index < 0)
        throw EMenuError(L"Sub-menu is not in menu");
    Delete(index);
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        Free(items_.back());
}

TMenuItem* TMenuItem::Find(const std::wstring& caption) const
{
    auto strip = [](std::wstring s) {
        s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
        return s;
    };
    for (TMenuItem* item : items_)
        if (SameText(strip(item->caption_), strip(caption)))
            return item;
    return nullptr;
}

void TMenuItem::SetParentComponent(TComponent* parent)
{
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::SetCaption(const std::wstring& value)
{
    if (value == caption_)
        return;
    caption_ = value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut value)
{
    shortCut_ = value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    if (value && radioItem_)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff()
{
    if (!parent_)
        return;
    for (TMenuItem* item : parent_->items_)
        if (item != this && item->radioItem_ && item->groupIndex_ == groupIndex_ && item->checked_) {
            item->checked_ = false;
            item->MenuChanged(false);
        }
}

void TMenuItem::SetRadioItem(bool value)
{
    radioItem_ = value;
    if (value && checked_)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool value)
{
    if (value == visible_)
        return;
    visible_ = value;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool value)
{
    if (value && parent_)
        for (TMenuItem* item : parent_->items_)
            item->default_ = false;
    default_ = value;
    MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak value)
{
    break_ = value;
    MenuChanged(true);
}

void TMenuItem::SetGroupIndex(int value)
{
    groupIndex_ = value;
    if (checked_ && radioItem_)
        TurnSiblingsOff();
}

void TMenuItem::SetImageIndex(int value)
{
    imageIndex_ = value;
    MenuChanged(false);
}

// Carries an action's properties to its menu item.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* item) : TActionLink(item), item_(item) {}
    void SetCaption(const std::wstring& value) override { item_->SetCaption(value); }
    void SetHint(const std::wstring& value) override { item_->SetHint(value); }
    void SetEnabled(bool value) override { item_->SetEnabled(value); }
    void SetChecked(bool value) override { item_->SetChecked(value); }
    void SetVisible(bool value) override { item_->SetVisible(value); }
    void SetImageIndex(int value) override { item_->SetImageIndex(value); }
    void SetShortCut(TShortCut value) override { item_->SetShortCut(value); }

private:
    TMenuItem* item_;
};

void TMenuItem::SetAction(TBasicAction* value)
{
    if (!value) {
        link_.reset();
        return;
    }
    if (!link_)
        link_ = std::make_unique<TMenuActionLink>(this);
    link_->SetAction(value);
}

void TMenuItem::Loaded()
{
    TComponent::Loaded();
    if (parent_)
        parent_->MenuChanged(true);
}

void TMenuItem::Click()
{
    ClickHandled();
}

bool TMenuItem::ClickHandled()
{
    if (!enabled_)
        return false;
    if (autoCheck_ && !(radioItem_ && checked_))
        SetChecked(!checked_);
    // The item's own handler wins over its action's: it may be the action's handler anyway.
    if (OnClick) {
        OnClick(this);
        return true;
    }
    if (link_)
        return link_->Execute();
    return false;
}

HMENU TMenuItem::Handle()
{
    if (!handle_) {
        bool topOfMainMenu = !parent_ && menu_ && !menu_->IsPopup();
        handle_ = topOfMainMenu ? CreateMenu() : CreatePopupMenu();
        if (!handle_)
            throw EMenuError(L"Cannot create a menu");
        RebuildHandle();
    }
    return handle_;
}

std::wstring TMenuItem::MenuText() const
{
    std::wstring text = caption_;
    // Top-level items of a main menu show no shortcut text.
    bool topLevel = parent_ && !parent_->parent_ && parent_->menu_ && !parent_->menu_->IsPopup();
    if (shortCut_ && !topLevel) {
        std::wstring keys = ShortCutToText(shortCut_);
        if (!keys.empty())
            text += L"\t" + keys;
    }
    return text;
}

void TMenuItem::InsertInto(HMENU menu, UINT position)
{
    TMenu* owner = GetParentMenu();
    bool ownerDraw = owner && owner->OwnerDraw();
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    std::wstring text = MenuText();
    if (IsLine()) {
        mii.fType = MFT_SEPARATOR;
    } else {
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = text.data();
        mii.cch = static_cast<UINT>(text.size());
    }
    if (radioItem_)
        mii.fType |= MFT_RADIOCHECK;
    if (break_ == mbBreak)
        mii.fType |= MFT_MENUBREAK;
    else if (break_ == mbBarBreak)
        mii.fType |= MFT_MENUBARBREAK;
    if (ownerDraw)
        mii.fType |= MFT_OWNERDRAW;
    if (checked_)
        mii.fState |= MFS_CHECKED;
    if (!enabled_)
        mii.fState |= MFS_DISABLED | MFS_GRAYED;
    if (default_)
        mii.fState |= MFS_DEFAULT;
    // Unskinned, an item's picture is drawn by the item when the system asks (WM_DRAWITEM for the
    // bitmap part only); owner-drawn items draw it themselves.
    if (!ownerDraw && HasImage()) {
        mii.fMask |= MIIM_BITMAP;
        mii.hbmpItem = HBMMENU_CALLBACK;
    }
    mii.wID = command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    mii.hSubMenu = items_.empty() ? nullptr : Handle();
    InsertMenuItemW(menu, position, TRUE, &mii);
}

void TMenuItem::RebuildHandle()
{
    if (!handle_)
        return;
    // Only the items' own entries are rebuilt: the system's (the maximized MDI child's system menu and
    // buttons on the main menu's bar, the children listed in the window menu) stay where they are, and
    // the items go back after the system's entries that led the menu.
    UINT position = 0;
    bool leading = true;
    for (int i = GetMenuItemCount(handle_) - 1; i >= 0; --i)
        if (ItemDataAt(handle_, i))
            RemoveMenu(handle_, static_cast<UINT>(i), MF_BYPOSITION);
    for (int i = 0, n = GetMenuItemCount(handle_); i < n && leading; ++i)
        if (IsSystemEntryBefore(handle_, i))
            ++position;
        else
            leading = false;
    const std::vector<TMenuItem*> shown = !parent_ && menu_ ? menu_->BarItems() : VisibleItems();
    for (TMenuItem* item : shown)
        item->InsertInto(handle_, position++);
}

std::vector<TMenuItem*> TMenuItem::VisibleItems() const
{
    std::vector<TMenuItem*> shown;
    for (TMenuItem* item : items_)
        if (item->visible_)
            shown.push_back(item);
    return shown;
}

void TMenuItem::MenuChanged(bool rebuild)
{
    (void)rebuild;
    if (HasState(csLoading) || HasState(csDestroying))
        return;
    // A change of one item rebuilds its parent's menu: positions, texts and states stay consistent.
    TMenuItem* target = parent_ ? parent_ : this;
    if (target->handle_)
        target->RebuildHandle();
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(this, rebuild);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data, TCustomForm* form)
{
    auto* item = reinterpret_cast<TMenuItem*>(data);
    if (!item || !LiveItems().count(item))
        return nullptr;
    TMenu* menu = item->GetParentMenu();
    if (!menu)
        return nullptr;
    if (form && form->Menu() && (form->Menu() == menu || form->Menu()->Merged() == menu))
        return item;
    if (dynamic_cast<TPopupMenu*>(menu))
        return item;
    return form ? nullptr : item;
}

TBitmap* TMenuItem::Bitmap()
{
    if (!bitmap_)
        bitmap_ = std::make_unique<TBitmap>();
    return bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* value)
{
    Bitmap()->Assign(value);
    MenuChanged(true);
}

bool TMenuItem::HasImage() const
{
    if (IsLine())
        return false;
    if (bitmap_ && !bitmap_->Empty())
        return true;
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    return images && imageIndex_ >= 0 && imageIndex_ < images->Count();
}

TSize TMenuItem::ImageSize() const
{
    if (bitmap_ && !bitmap_->Empty())
        return TSize{bitmap_->Width(), bitmap_->Height()};
    TCustomImageList* images = GetParentMenu()->Images();
    return TSize{images->Width(), images->Height()};
}

void TMenuItem::DrawImage(TCanvas* canvas, const TRect& rect) const
{
    TSize size = ImageSize();
    int x = rect.Left + (rect.Width() - size.cx) / 2;
    int y = rect.Top + (rect.Height() - size.cy) / 2;
    if (bitmap_ && !bitmap_->Empty())
        canvas->Draw(x, y, bitmap_.get());
    else
        GetParentMenu()->Images()->Draw(canvas, x, y, imageIndex_, enabled_);
}

bool TMenuItem::IsOwnerDrawn() const
{
    TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw();
}

void TMenuItem::DispatchMeasure(MEASUREITEMSTRUCT& measure)
{
    if (!IsOwnerDrawn()) {
        // Only the picture of an item the system draws.
        TSize size = HasImage() ? ImageSize() : TSize{0, 0};
        measure.itemWidth = static_cast<UINT>(size.cx);
        measure.itemHeight = static_cast<UINT>(size.cy);
        return;
    }
    TScreenDC dc;
    TSavedDC saved(dc.Get());
    TCanvas canvas;
    TCanvasDCBinding binding(&canvas, dc.Get());
    if (Screen)
        canvas.Font()->Assign(Screen->MenuFont());
    int width = static_cast<int>(measure.itemWidth);
    int height = static_cast<int>(measure.itemHeight);
    MeasureItem(&canvas, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height)
{
    bool topLevel = parent_ && !parent_->parent_ && parent_->menu_ && !parent_->menu_->IsPopup();
    if (IsLine()) {
        width = 10;
        height = GetSystemMetrics(SM_CYMENUSIZE) / 2;
    } else {
        std::wstring text = caption_;
        text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        int markWidth = GetSystemMetrics(SM_CXMENUCHECK);
        if (HasImage())
            markWidth = std::max(markWidth, static_cast<int>(ImageSize().cx));
        width = canvas->TextWidth(text) + (topLevel ? 8 : markWidth + GetSystemMetrics(SM_CXMENUCHECK) + 16);
        if (shortCut_ && !topLevel)
            width += canvas->TextWidth(ShortCutToText(shortCut_)) + 16;
        height = std::max(canvas->TextHeight(L"Wg") + 4, GetSystemMetrics(SM_CYMENUSIZE));
        if (HasImage())
            height = std::max(height, static_cast<int>(ImageSize().cy) + 4);
    }
    OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DispatchDraw(DRAWITEMSTRUCT& draw)
{
    TOwnerDrawState state;
    const std::pair<UINT, TOwnerDrawStateItem> flags[] = {
        {ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},   {ODS_DISABLED, odDisabled},
        {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},   {ODS_DEFAULT, odDefault},
        {ODS_HOTLIGHT, odHotLight}, {ODS_INACTIVE, odInactive}, {ODS_NOACCEL, odNoAccel},
        {ODS_NOFOCUSRECT, odNoFocusRect},
    };
    for (const auto& [flag, item] : flags)
        if (draw.itemState & flag)
            state.Include(item);
    bool topLevel = parent_ && !parent_->parent_ && parent_->menu_ && !parent_->menu_->IsPopup();
    TSavedDC saved(draw.hDC);
    TCanvas canvas;
    TCanvasDCBinding binding(&canvas, draw.hDC);
    if (Screen)
        canvas.Font()->Assign(Screen->MenuFont());
    if (!IsOwnerDrawn()) {
        if (HasImage())
            DrawImage(&canvas, TRect::FromRECT(draw.rcItem));
    } else {
        AdvancedDrawItem(&canvas, TRect::FromRECT(draw.rcItem), state, topLevel);
    }
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel)
{
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    DrawDefault(canvas, rect, state, topLevel);
}

void TMenuItem::DrawDefault(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel)
{
    bool selected = state.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas->FillRect(rect);
    if (IsLine()) {
        int y = (rect.Top + rect.Bottom) / 2;
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(rect.Left + 2, y);
        canvas->LineTo(rect.Right - 2, y);
        return;
    }
    canvas->Font()->SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
    canvas->Brush()->SetStyle(bsClear);
    int markWidth = GetSystemMetrics(SM_CXMENUCHECK);
    if (HasImage())
        markWidth = std::max(markWidth, static_cast<int>(ImageSize().cx));
    int left = rect.Left + (topLevel ? 4 : markWidth + 6);
    RECT r = Rect(left, rect.Top, rect.Right - 4, rect.Bottom).ToRECT();
    HDC dc = canvas->Handle();
    UINT format = DT_SINGLELINE | DT_VCENTER | (state.Contains(odNoAccel) ? DT_HIDEPREFIX : 0);
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format | DT_LEFT);
    if (shortCut_ && !topLevel) {
        std::wstring keys = ShortCutToText(shortCut_);
        DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &r, format | DT_RIGHT);
    }
    TRect markRect = Rect(rect.Left + 2, rect.Top, left, rect.Bottom);
    if (HasImage() && !topLevel) {
        DrawImage(canvas, markRect);
    } else if (checked_) {
        std::wstring mark = radioItem_ ? L"\x25CF" : L"\x2713";
        RECT m = markRect.ToRECT();
        DrawTextW(dc, mark.c_str(), 1, &m, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    canvas->Brush()->SetStyle(bsSolid);
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), imagesLink_(std::make_unique<TChangeLink>())
{
    imagesLink_->OnChange = TNotifyEvent(this, &TMenu::ImagesChanged);
    items_ = new TMenuItem(this);
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    Destroying();
    if (TCustomImageList* images = Images())
        images->UnRegisterChanges(imagesLink_.get());
    if (mergedInto_)
        mergedInto_->Unmerge(this);
    if (merged_)
        merged_->mergedInto_ = nullptr;
    merged_ = nullptr;
    // A window still showing this menu's bar would destroy the handle a second time with itself.
    HWND wnd = windowHandle_;
    if (wnd && IsWindow(wnd) && items_->handle_ && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) &&
        ::GetMenu(wnd) == items_->handle_)
        ::SetMenu(wnd, nullptr);
    Free(items_);
    items_ = nullptr;
}

void TMenu::SetImages(TCustomImageList* value)
{
    if (imagesLink_->Link(value))
        RebuildAll();
}

void TMenu::ImagesChanged(TObject*)
{
    RebuildAll();
}

void TMenu::SetOwnerDraw(bool value)
{
    if (value == ownerDraw_)
        return;
    ownerDraw_ = value;
    RebuildAll();
}

void TMenu::RebuildAll()
{
    if (HasState(csDestroying))
        return;
    // Every item's type or picture changes: rebuild every menu of the tree.
    std::vector<TMenuItem*> pending{items_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        item->RebuildHandle();
        for (TMenuItem* child : item->items_)
            pending.push_back(child);
    }
    MenuChanged(nullptr, true);
}

void TMenu::SetWindowHandle(HWND value)
{
    windowHandle_ = value;
}

void TMenu::Merge(TMenu* other)
{
    if (other == this)
        return;
    if (!other) {
        if (merged_)
            Unmerge(merged_);
        return;
    }
    if (merged_ && merged_ != other)
        merged_->mergedInto_ = nullptr;
    if (other->mergedInto_ && other->mergedInto_ != this)
        other->mergedInto_->Unmerge(other);
    merged_ = other;
    other->mergedInto_ = this;
    BarChanged();
}

void TMenu::Unmerge(TMenu* other)
{
    if (!other || merged_ != other)
        return;
    merged_ = nullptr;
    other->mergedInto_ = nullptr;
    BarChanged();
}

void TMenu::BarChanged()
{
    if (HasState(csDestroying))
        return;
    items_->RebuildHandle();
    MenuChanged(nullptr, true);
}

int TMenu::BarPosition(const TMenuItem* item)
{
    HMENU bar = Handle();
    for (int i = 0, n = GetMenuItemCount(bar); i < n; ++i)
        if (ItemDataAt(bar, i) == reinterpret_cast<ULONG_PTR>(item))
            return i;
    return -1;
}

std::vector<TMenuItem*> TMenu::BarItems() const
{
    std::vector<TMenuItem*> bar = items_->items_;
    if (merged_ && merged_->items_) {
        const std::vector<TMenuItem*>& theirs = merged_->items_->items_;
        // An item of the merged menu takes the place of this menu's items of its group, else goes
        // after the items of lower or equal groups.
        std::erase_if(bar, [&](const TMenuItem* own) {
            return std::any_of(theirs.begin(), theirs.end(),
                               [&](const TMenuItem* item) { return item->groupIndex_ == own->groupIndex_; });
        });
        for (TMenuItem* item : theirs) {
            auto at = std::find_if(bar.begin(), bar.end(),
                                   [&](const TMenuItem* other) { return other->groupIndex_ > item->groupIndex_; });
            bar.insert(at, item);
        }
    }
    std::erase_if(bar, [](const TMenuItem* item) { return !item->visible_; });
    return bar;
}

bool TMenu::ContainsItem(const TMenuItem* item) const
{
    for (const TMenuItem* i = item; i; i = i->parent_)
        if (i == items_)
            return true;
    return false;
}

TMenuItem* TMenu::FindItem(UINT value, TFindItemKind kind)
{
    std::vector<TMenuItem*> pending{items_};
    while (!pending.empty()) {
        TMenuItem* item = pending.front();
        pending.erase(pending.begin());
        switch (kind) {
        case fkCommand:
            if (item != items_ && item->command_ == value)
                return item;
            break;
        case fkHandle:
            if (item->handle_ && reinterpret_cast<UINT_PTR>(item->handle_) == value)
                return item;
            break;
        case fkShortCut:
            if (item != items_ && item->shortCut_ == value)
                return item;
            break;
        }
        for (TMenuItem* child : item->items_)
            pending.push_back(child);
    }
    return merged_ ? merged_->FindItem(value, kind) : nullptr;
}

bool TMenu::DispatchCommand(WORD command)
{
    auto& commands = Commands();
    auto it = commands.find(command);
    if (it == commands.end())
        return false;
    if (!ContainsItem(it->second))
        return merged_ && merged_->DispatchCommand(command);
    it->second->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU menu)
{
    std::vector<TMenuItem*> pending{items_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (item->handle_ == menu) {
            // Opening a sub-menu is its item's click: handlers fill or update it here.
            if (item != items_)
                item->Click();
            return true;
        }
        for (TMenuItem* child : item->items_)
            pending.push_back(child);
    }
    return merged_ && merged_->DispatchPopup(menu);
}

bool TMenu::IsShortCut(TShortCut shortCut)
{
    if (!shortCut)
        return false;
    std::vector<TMenuItem*> pending{items_};
    while (!pending.empty()) {
        TMenuItem* item = pending.front();
        pending.erase(pending.begin());
        if (item != items_ && (!item->enabled_ || !item->visible_))
            continue; // a disabled or hidden item hides its sub-items too
        if (item != items_ && item->shortCut_ == shortCut)
            return item->ClickHandled();
        for (TMenuItem* child : item->items_)
            pending.push_back(child);
    }
    return false;
}

void TMenu::MenuChanged(TMenuItem*, bool)
{
    if (HasState(csLoading) || HasState(csDestroying))
        return;
    OnChange(this);
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild)
{
    TMenu::MenuChanged(source, rebuild);
    if (HasState(csLoading) || HasState(csDestroying))
        return;
    // The bar showing this menu merged in shows the change too.
    if (TMenu* into = MergedInto())
        into->BarChanged();
    if (HWND wnd = WindowHandle()) {
        DrawMenuBar(wnd);
        if (TWinControl* form = FindControl(wnd))
            form->Perform(CM_MENUCHANGED);
    }
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner), animation_()
{
    PopupList()->Add(this);
}

TPopupMenu::~TPopupMenu()
{
    if (gPopupList)
        gPopupList->Remove(this);
}

HWND TPopupMenu::WindowHandle() const
{
    // A popup shown for a window (a form's system menu) reports to it while it lives; any other popup
    // reports to the popup list, which finds the menu by its commands.
    HWND own = TMenu::WindowHandle();
    if (own && IsWindow(own))
        return own;
    return PopupList()->Window();
}

void TPopupMenu::Popup(int x, int y)
{
    OnPopup(this);
    UINT flags = TPM_RIGHTBUTTON;
    flags |= alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    if (animation_.Contains(maNone) || animation_.Empty())
        flags |= animation_.Contains(maNone) ? TPM_NOANIMATION : 0;
    else {
        if (animation_.Contains(maLeftToRight))
            flags |= TPM_HORPOSANIMATION;
        if (animation_.Contains(maRightToLeft))
            flags |= TPM_HORNEGANIMATION;
        if (animation_.Contains(maTopToBottom))
            flags |= TPM_VERPOSANIMATION;
        if (animation_.Contains(maBottomToTop))
            flags |= TPM_VERNEGANIMATION;
    }
    HMENU menu = Handle();
    HWND window = WindowHandle();
    // The popup list window has to be the foreground window's equal, or the menu would not close
    // when the user clicks elsewhere.
    TrackPopupMenuEx(menu, flags, x, y, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}

// ---- TPopupList ----

TPopupList::TPopupList() = default;

TPopupList::~TPopupList()
{
    if (window_)
        DestroyWindow(window_);
}

HWND TPopupList::Window()
{
    if (!window_) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!GetClassInfoExW(instance, L"TPopupListWindow", &wc)) {
            wc = WNDCLASSEXW{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = WndProc;
            wc.hInstance = instance;
            wc.lpszClassName = L"TPopupListWindow";
            RegisterClassExW(&wc);
        }
        window_ = CreateBoundWindow(TWindowRole::PopupList, this, WS_EX_TOOLWINDOW, L"TPopupListWindow", L"", WS_POPUP,
                                    0, 0, 0, 0, nullptr);
    }
    return window_;
}

void TPopupList::Add(TPopupMenu* menu)
{
    menus_.push_back(menu);
}

void TPopupList::Remove(TPopupMenu* menu)
{
    menus_.erase(std::remove(menus_.begin(), menus_.end(), menu), menus_.end());
}

LRESULT CALLBACK TPopupList::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* list = static_cast<TPopupList*>(BindAtCreate(wnd, msg, lParam, TWindowRole::PopupList));
    if (!list)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        list->window_ = wnd;
    TMessage m{msg, wParam, lParam, 0};
    try {
        list->HandleMessage(m);
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
    }
    return m.Result;
}

void TPopupList::HandleMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND: {
        std::vector<TPopupMenu*> menus = menus_;
        for (TPopupMenu* menu : menus)
            if (menu->DispatchCommand(LOWORD(m.WParam)))
                return;
        break;
    }
    case WM_INITMENUPOPUP: {
        std::vector<TPopupMenu*> menus = menus_;
        for (TPopupMenu* menu : menus)
            if (menu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam)))
                return;
        break;
    }
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (DispatchMenuItemMessage(m, nullptr))
            return;
        break;
    default:
        break;
    }
    m.Result = DefWindowProcW(window_, m.Msg, m.WParam, m.LParam);
}

bool DispatchMenuItemMessage(TMessage& m, TCustomForm* form, bool (*accept)(const TMenuItem*, const void*),
                             const void* context)
{
    const auto take = [&](ULONG_PTR data) {
        TMenuItem* item = TMenuItem::FromItemData(data, form);
        return item && (!accept || accept(item, context)) ? item : nullptr;
    };
    if (m.Msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        TMenuItem* item = measure && measure->CtlType == ODT_MENU ? take(measure->itemData) : nullptr;
        if (!item)
            return false;
        item->DispatchMeasure(*measure);
    } else if (m.Msg == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TMenuItem* item = draw && draw->CtlType == ODT_MENU ? take(draw->itemData) : nullptr;
        if (!item)
            return false;
        item->DispatchDraw(*draw);
    } else {
        return false;
    }
    m.Result = TRUE;
    return true;
}

TPopupList* PopupList()
{
    if (!gPopupList)
        gPopupList = new TPopupList();
    return gPopupList;
}

void FreePopupList()
{
    delete gPopupList;
    gPopupList = nullptr;
}

TMenuItem* AddMenuItem(TMenu* menu, const wchar_t* name, const wchar_t* caption, TNotifyEvent onClick)
{
    auto* item = new TMenuItem(menu);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = onClick;
    menu->Items()->Add(item);
    return item;
}
