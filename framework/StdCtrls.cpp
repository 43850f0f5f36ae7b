// Edits, memos, list boxes, combo boxes, push buttons and labels.
#include "framework/StdCtrls.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <algorithm>

// ---- Items of list boxes and combo boxes ----

// The messages of one native list: list boxes and combo boxes name the same operations differently.
struct TItemMessages {
    UINT getCount, getTextLen, getText, addString, insertString, deleteString, resetContent, getItemData,
        setItemData;
};

namespace {

const TItemMessages kListBoxMessages{LB_GETCOUNT,     LB_GETTEXTLEN,   LB_GETTEXT,      LB_ADDSTRING,   LB_INSERTSTRING,
                                     LB_DELETESTRING, LB_RESETCONTENT, LB_GETITEMDATA, LB_SETITEMDATA};
const TItemMessages kComboBoxMessages{CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_ADDSTRING,   CB_INSERTSTRING,
                                      CB_DELETESTRING, CB_RESETCONTENT, CB_GETITEMDATA, CB_SETITEMDATA};

// Splits text at CR LF, LF or CR; an empty text has no lines.
std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    if (text.empty())
        return lines;
    lines.emplace_back();
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// True when key is the caption's accelerator: the character after a single '&'.
bool IsAccel(WORD key, const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t a = caption[i + 1], b = static_cast<wchar_t>(key);
        CharUpperBuffW(&a, 1);
        CharUpperBuffW(&b, 1);
        return a == b;
    }
    return false;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += L"\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace

class TItemStrings : public TStrings {
    DECLARE_CLASS_NAME(TItemStrings)
public:
    TItemStrings(TWinControl* control, const TItemMessages& messages) : control_(control), m_(messages) {}

    std::wstring Get(int index) const override
    {
        if (!Live())
            return saved_.Get(index);
        CheckIndex(index);
        auto length = Send(m_.getTextLen, static_cast<WPARAM>(index), 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        auto got = Send(m_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
        return text;
    }
    int GetCount() const override
    {
        return Live() ? static_cast<int>(Send(m_.getCount, 0, 0)) : saved_.GetCount();
    }
    TObject* GetObject(int index) const override
    {
        if (!Live())
            return saved_.GetObject(index);
        CheckIndex(index);
        return reinterpret_cast<TObject*>(Send(m_.getItemData, static_cast<WPARAM>(index), 0));
    }
    void PutObject(int index, TObject* object) override
    {
        if (!Live()) {
            saved_.PutObject(index, object);
            return;
        }
        CheckIndex(index);
        Send(m_.setItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    }
    void Put(int index, const std::wstring& s) override
    {
        TObject* object = GetObject(index);
        Delete(index);
        InsertObject(index, s, object);
    }
    int Add(const std::wstring& s) override
    {
        if (!Live())
            return saved_.Add(s);
        auto index = Send(m_.addString, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (index < 0)
            throw EOutOfResources(L"Cannot add a list item");
        return static_cast<int>(index);
    }
    void Insert(int index, const std::wstring& s) override
    {
        if (!Live()) {
            saved_.Insert(index, s);
            return;
        }
        if (index < 0 || index > GetCount())
            Error(L"List index out of bounds (%d)", index);
        if (Send(m_.insertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
            throw EOutOfResources(L"Cannot insert a list item");
    }
    void Delete(int index) override
    {
        if (!Live()) {
            saved_.Delete(index);
            return;
        }
        CheckIndex(index);
        Send(m_.deleteString, static_cast<WPARAM>(index), 0);
    }
    void Clear() override
    {
        if (Live())
            Send(m_.resetContent, 0, 0);
        else
            saved_.Clear();
    }

    void SetSorted(bool value) { saved_.SetSorted(value); }
    // The window is about to go: its items stay here until the next window takes them.
    void SaveItems()
    {
        saved_.Clear();
        int count = GetCount();
        for (int i = 0; i < count; ++i)
            saved_.AddObject(Get(i), GetObject(i));
        saving_ = true;
    }
    void SavingDone() { saving_ = false; }
    // A new window takes the items kept while there was none.
    void RestoreItems()
    {
        if (saved_.Count() == 0)
            return;
        TStringList items;
        items.Assign(&saved_);
        saved_.Clear();
        for (int i = 0; i < items.Count(); ++i) {
            auto index = Send(m_.addString, 0, reinterpret_cast<LPARAM>(items.Get(i).c_str()));
            if (index >= 0)
                Send(m_.setItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(items.Objects(i)));
        }
    }

protected:
    void SetUpdateState(bool updating) override
    {
        if (Live()) {
            SendMessageW(control_->Handle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
            if (!updating)
                control_->Invalidate();
        }
    }

private:
    bool Live() const { return control_->HandleAllocated() && !saving_; }
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const
    {
        return SendMessageW(control_->Handle(), msg, wParam, lParam);
    }
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= GetCount())
            Error(L"List index out of bounds (%d)", index);
    }

    TWinControl* control_; // not owned: the control owns these strings
    const TItemMessages& m_;
    TStringList saved_;
    bool saving_ = false;
};

// ---- Memo lines ----

namespace {

// A memo's lines over its text: they work with or without a window.
class TMemoStrings : public TStrings {
    DECLARE_CLASS_NAME(TMemoStrings)
public:
    explicit TMemoStrings(TMemo* memo) : memo_(memo) {}
    std::wstring Get(int index) const override
    {
        auto lines = Lines();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            Error(L"List index out of bounds (%d)", index);
        return lines[static_cast<size_t>(index)];
    }
    int GetCount() const override { return static_cast<int>(Lines().size()); }
    void Put(int index, const std::wstring& s) override
    {
        auto lines = Lines();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            Error(L"List index out of bounds (%d)", index);
        lines[static_cast<size_t>(index)] = s;
        memo_->SetText(JoinLines(lines));
    }
    void Insert(int index, const std::wstring& s) override
    {
        auto lines = Lines();
        if (index < 0 || index > static_cast<int>(lines.size()))
            Error(L"List index out of bounds (%d)", index);
        lines.insert(lines.begin() + index, s);
        memo_->SetText(JoinLines(lines));
    }
    void Delete(int index) override
    {
        auto lines = Lines();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            Error(L"List index out of bounds (%d)", index);
        lines.erase(lines.begin() + index);
        memo_->SetText(JoinLines(lines));
    }
    void Clear() override { memo_->SetText(L""); }
    void SetText(const std::wstring& text) override { memo_->SetText(JoinLines(SplitLines(text))); }

private:
    std::vector<std::wstring> Lines() const { return SplitLines(memo_->Text()); }
    TMemo* memo_; // not owned
};

} // namespace

// ---- TCustomEdit ----

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, NativeClassName());
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (readOnly_)
        params.Style |= ES_READONLY;
    if (borderStyle_ == bsSingleBorder)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    if (maxLength_ > 0)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageW(handle_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    SendMessageW(handle_, EM_SETSEL, static_cast<WPARAM>(selStart_), selStart_ + selLength_);
}

void TCustomEdit::DestroyWnd()
{
    if (handle_) {
        modified_ = SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0;
        selStart_ = SelStart();
        selLength_ = SelLength();
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& message)
{
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
        if (!ControlState.Contains(csCreating))
            Change();
        return;
    }
    TWinControl::Dispatch(message);
}

void TCustomEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (handle_)
        SendMessageW(handle_, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int value)
{
    maxLength_ = std::max(0, value);
    if (handle_)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyleKind value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

bool TCustomEdit::Modified()
{
    return handle_ ? SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool value)
{
    modified_ = value;
    if (handle_)
        SendMessageW(handle_, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

int TCustomEdit::SelStart()
{
    if (!handle_)
        return selStart_;
    DWORD start = 0, end = 0;
    SendMessageW(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value)
{
    selStart_ = value;
    selLength_ = 0;
    if (handle_)
        SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value);
}

int TCustomEdit::SelLength()
{
    if (!handle_)
        return selLength_;
    DWORD start = 0, end = 0;
    SendMessageW(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value)
{
    int start = SelStart();
    selLength_ = value;
    if (handle_)
        SendMessageW(handle_, EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

std::wstring TCustomEdit::SelText()
{
    std::wstring text = Text();
    int start = std::clamp(SelStart(), 0, static_cast<int>(text.size()));
    int length = std::clamp(SelLength(), 0, static_cast<int>(text.size()) - start);
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const std::wstring& value)
{
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll()
{
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CopyToClipboard()
{
    SendMessageW(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard()
{
    SendMessageW(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard()
{
    SendMessageW(Handle(), WM_PASTE, 0, 0);
}

// ---- TMemo ----

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this))
{
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE;
    if (wantReturns_)
        params.Style |= ES_WANTRETURN;
    if (wordWrap_ && scrollBars_ != ssHorizontal && scrollBars_ != ssBoth)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        params.Style |= WS_HSCROLL;
}

void TMemo::Dispatch(TMessage& message)
{
    // Without WantReturns the return key belongs to the form's default button.
    if (message.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(message);
        if (!wantReturns_ && GetKeyState(VK_RETURN) < 0)
            message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::Dispatch(message);
}

void TMemo::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TMemo::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    RecreateWnd();
}

// ---- TCustomListBox ----

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TItemStrings>(this, kListBoxMessages))
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox()
{
    // The window goes first: the strings read it until then.
    DestroyHandle();
}

TStrings* TCustomListBox::Items() const
{
    return items_.get();
}

void TCustomListBox::SetItems(TStrings* value)
{
    items_->Assign(value);
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (sorted_)
        params.Style |= LBS_SORT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    items_->RestoreItems();
    if (savedIndex_ >= 0)
        SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
}

void TCustomListBox::DestroyWnd()
{
    if (handle_) {
        savedIndex_ = static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
        items_->SaveItems();
    }
    TWinControl::DestroyWnd();
    items_->SavingDone();
}

void TCustomListBox::Dispatch(TMessage& message)
{
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == LBN_SELCHANGE)
            Click();
        else if (HIWORD(message.WParam) == LBN_DBLCLK)
            OnDblClick(this);
        return;
    }
    TWinControl::Dispatch(message);
}

int TCustomListBox::ItemIndex()
{
    if (!handle_)
        return savedIndex_;
    return static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value)
{
    if (!handle_) {
        savedIndex_ = value;
        return;
    }
    if (ItemIndex() != value)
        SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomListBox::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    sorted_ = value;
    items_->SetSorted(value);
    RecreateWnd();
}

int TCustomListBox::ItemHeight()
{
    return static_cast<int>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::Clear()
{
    items_->Clear();
}

int TCustomListBox::ItemAtPos(const TPoint& pos, bool existing)
{
    LRESULT r = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.X, pos.Y));
    int index = LOWORD(r);
    if (HIWORD(r) != 0)
        return existing ? -1 : index + 1;
    return index;
}

// ---- TCustomComboBox ----

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TItemStrings>(this, kComboBoxMessages))
{
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox()
{
    DestroyHandle();
}

TStrings* TCustomComboBox::Items() const
{
    return items_.get();
}

void TCustomComboBox::SetItems(TStrings* value)
{
    items_->Assign(value);
}

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"COMBOBOX");
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (style_) {
    case csDropDown:
        params.Style |= CBS_DROPDOWN;
        break;
    case csSimple:
        params.Style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        params.Style |= CBS_DROPDOWNLIST;
        break;
    }
    if (sorted_)
        params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd()
{
    std::wstring text = text_;
    TWinControl::CreateWnd();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(handle_, &info)) {
        editHandle_ = info.hwndItem != handle_ ? info.hwndItem : nullptr;
        listHandle_ = info.hwndList;
    }
    items_->RestoreItems();
    if (savedIndex_ >= 0)
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    else if (style_ != csDropDownList && !text.empty())
        SetWindowTextW(handle_, text.c_str());
}

void TCustomComboBox::DestroyWnd()
{
    if (handle_) {
        savedIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
        items_->SaveItems();
    }
    TWinControl::DestroyWnd();
    items_->SavingDone();
    editHandle_ = nullptr;
    listHandle_ = nullptr;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height)
{
    // The closed box's height is the system's: the list's height comes from DropDownCount.
    if (HandleAllocated() && style_ != csSimple) {
        RECT r;
        GetWindowRect(handle_, &r);
        height = r.bottom - r.top;
    }
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomComboBox::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        WMCtlColorChild(message);
        return;
    default:
        TWinControl::Dispatch(message);
    }
}

void TCustomComboBox::CNCommand(TMessage& m)
{
    switch (HIWORD(m.WParam)) {
    case CBN_DROPDOWN:
        ApplyDropDownCount();
        OnDropDown(this);
        break;
    case CBN_CLOSEUP:
        OnCloseUp(this);
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_SELCHANGE: {
        // The edit part shows the chosen item only after this notification: put it there now, so
        // that OnChange reads the new text.
        int index = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
        if (index >= 0 && style_ != csDropDownList)
            SetWindowTextW(handle_, items_->Get(index).c_str());
        Click();
        Change();
        break;
    }
    default:
        break;
    }
}

void TCustomComboBox::WMCtlColorChild(TMessage& m)
{
    HWND child = reinterpret_cast<HWND>(m.LParam);
    if (child && child != handle_ && (child == editHandle_ || child == listHandle_ || !FindControl(child))) {
        if (m.Msg == WM_CTLCOLORLISTBOX && !listHandle_)
            listHandle_ = child;
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
        SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
        m.Result = reinterpret_cast<LRESULT>(BrushHandle());
        return;
    }
    TWinControl::Dispatch(m);
}

void TCustomComboBox::ApplyDropDownCount()
{
    if (!handle_ || style_ == csSimple)
        return;
    int count = static_cast<int>(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
    int rows = std::clamp(count, 1, std::max(1, dropDownCount_));
    int itemHeight = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
    RECT r;
    GetWindowRect(handle_, &r);
    // A drop-down combo box takes the height it is given as the height it has while dropped.
    SetWindowPos(handle_, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + itemHeight * rows + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    RecreateWnd();
}

int TCustomComboBox::ItemIndex()
{
    if (!handle_)
        return savedIndex_;
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (!handle_) {
        savedIndex_ = value;
        return;
    }
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomComboBox::SetDropDownCount(int value)
{
    dropDownCount_ = std::max(1, value);
}

void TCustomComboBox::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    sorted_ = value;
    items_->SetSorted(value);
    RecreateWnd();
}

bool TCustomComboBox::DroppedDown()
{
    return handle_ && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Clear()
{
    items_->Clear();
    SetText(L"");
}

// ---- Buttons ----

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner)
{
    // The system button reports its clicks (BN_CLICKED); a click of the mouse-up on top would run the
    // handler twice.
    ControlStyle.Exclude(csClickEvents);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clBtnFace);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (handle_)
        SendMessageW(handle_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& message)
{
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED)
            Click();
        return;
    }
    if (message.Msg == CM_DIALOGKEY) {
        auto key = static_cast<WORD>(message.WParam);
        if (Enabled() && Showing() && ((key == VK_RETURN && (default_ || Focused())) || (key == VK_ESCAPE && cancel_))) {
            Click();
            message.Result = 1;
        }
        return;
    }
    TButtonControl::Dispatch(message);
}

// ---- TCustomLabel ----

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle.Include(csOpaque);
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TCustomLabel::DoDrawText(HDC dc, RECT& rect, UINT flags)
{
    std::wstring text = Text();
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&")))
        text = L" ";
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    TSelectedObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    if (!Enabled()) {
        // Disabled text is embossed: a light copy one pixel down and right under a grey one.
        OffsetRect(&rect, 1, 1);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        OffsetRect(&rect, -1, -1);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    } else {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCustomLabel::Paint()
{
    HDC dc = Canvas()->Handle();
    RECT client = ClientRect().ToRECT();
    if (!Transparent()) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->FillRect(ClientRect());
    }
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    RECT r = client;
    if (layout_ != tlTop) {
        RECT measured = client;
        DoDrawText(dc, measured, flags | DT_CALCRECT);
        int free = (client.bottom - client.top) - (measured.bottom - measured.top);
        OffsetRect(&r, 0, layout_ == tlBottom ? free : free / 2);
    }
    DoDrawText(dc, r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_ || HasState(csLoading) || HasState(csReading))
        return;
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
    DoDrawText(TScreenDC().Get(), r, flags);
    measuredShape_ = Font()->Shape();
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TCustomLabel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        TGraphicControl::Dispatch(message);
        AdjustBounds();
        Invalidate();
        return;
    case CM_FONTCHANGED:
        // The control is invalidated by the base; only a font of another shape changes the size.
        TGraphicControl::Dispatch(message);
        if (measuredShape_ != Font()->Shape()) {
            AdjustBounds();
            Invalidate();
        }
        return;
    case CM_DIALOGCHAR:
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<WORD>(message.WParam), Text())) {
            if (focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                message.Result = 1;
            }
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (value != alignment_) {
        alignment_ = value;
        Invalidate();
    }
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (value != layout_) {
        layout_ = value;
        Invalidate();
    }
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (value != autoSize_) {
        autoSize_ = value;
        AdjustBounds();
    }
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (value != wordWrap_) {
        wordWrap_ = value;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (value != showAccelChar_) {
        showAccelChar_ = value;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetTransparent(bool value)
{
    if (value == Transparent())
        return;
    if (value)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}
