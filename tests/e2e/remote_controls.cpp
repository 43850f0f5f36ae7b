// Reading the common controls of another process.
#include "tests/e2e/remote_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace e2e {

namespace {

constexpr DWORD kTimeoutMs = 5000;
constexpr int kTextChars = 512;

// The process that owns a window, opened for reading and writing its memory.
struct OwnerProcess {
    explicit OwnerProcess(HWND wnd)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                             FALSE, pid);
    }
    ~OwnerProcess()
    {
        if (handle)
            CloseHandle(handle);
    }
    OwnerProcess(const OwnerProcess&) = delete;
    OwnerProcess& operator=(const OwnerProcess&) = delete;
    HANDLE handle = nullptr;
};

LRESULT Ask(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

std::wstring ReadText(const RemoteBuffer& buffer, size_t offset, size_t chars)
{
    std::wstring text(chars, L'\0');
    if (!buffer.Read(text.data(), chars * sizeof(wchar_t), offset))
        return {};
    text.resize(wcsnlen(text.c_str(), chars));
    return text;
}

} // namespace

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size) : process_(process), size_(size)
{
    if (process_)
        address_ = VirtualAllocEx(process_, nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer()
{
    if (address_)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset)
{
    SIZE_T done = 0;
    return address_ && offset + size <= size_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) && done == size;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const
{
    SIZE_T done = 0;
    return address_ && offset + size <= size_ &&
           ReadProcessMemory(process_, static_cast<const char*>(address_) + offset, data, size, &done) && done == size;
}

std::vector<std::wstring> TabCaptions(HWND tabs)
{
    std::vector<std::wstring> captions;
    OwnerProcess owner(tabs);
    RemoteBuffer buffer(owner.handle, sizeof(TCITEMW) + kTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return captions;
    int count = static_cast<int>(Ask(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<LPWSTR>(static_cast<char*>(buffer.Address()) + sizeof(TCITEMW));
        item.cchTextMax = kTextChars;
        buffer.Write(&item, sizeof(item));
        std::wstring empty(kTextChars, L'\0');
        buffer.Write(empty.data(), kTextChars * sizeof(wchar_t), sizeof(TCITEMW));
        Ask(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), buffer.Param());
        captions.push_back(ReadText(buffer, sizeof(TCITEMW), kTextChars));
    }
    return captions;
}

int CurrentTab(HWND tabs)
{
    return static_cast<int>(Ask(tabs, TCM_GETCURSEL, 0, 0));
}

RECT TabRect(HWND tabs, int index)
{
    RECT rc{};
    OwnerProcess owner(tabs);
    RemoteBuffer buffer(owner.handle, sizeof(RECT));
    if (buffer.Valid() && Ask(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), buffer.Param()))
        buffer.Read(&rc, sizeof(rc));
    return rc;
}

std::vector<std::wstring> ListCaptions(HWND list)
{
    std::vector<std::wstring> captions;
    OwnerProcess owner(list);
    RemoteBuffer buffer(owner.handle, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return captions;
    int count = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = reinterpret_cast<LPWSTR>(static_cast<char*>(buffer.Address()) + sizeof(LVITEMW));
        item.cchTextMax = kTextChars;
        buffer.Write(&item, sizeof(item));
        int n = static_cast<int>(Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), buffer.Param()));
        captions.push_back(n > 0 ? ReadText(buffer, sizeof(LVITEMW), static_cast<size_t>(n)) : std::wstring());
    }
    return captions;
}

int SelectedListItem(HWND list)
{
    return static_cast<int>(Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RECT ListItemRect(HWND list, int index)
{
    RECT rc{};
    rc.left = LVIR_LABEL;
    OwnerProcess owner(list);
    RemoteBuffer buffer(owner.handle, sizeof(RECT));
    if (buffer.Valid() && buffer.Write(&rc, sizeof(rc)) &&
        Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), buffer.Param()))
        buffer.Read(&rc, sizeof(rc));
    else
        rc = RECT{};
    return rc;
}

DWORD ListViewStyle(HWND list)
{
    DWORD view = static_cast<DWORD>(Ask(list, LVM_GETVIEW, 0, 0));
    if (view != 0 || (GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_ICON)
        return view;
    return static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK);
}

ToolButtonInfo FindToolButton(HWND toolBar, const std::wstring& caption)
{
    ToolButtonInfo info;
    OwnerProcess owner(toolBar);
    RemoteBuffer buffer(owner.handle, sizeof(TBBUTTON) + sizeof(RECT) + kTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return info;
    const size_t textOffset = sizeof(TBBUTTON) + sizeof(RECT);
    int count = static_cast<int>(Ask(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!Ask(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i), buffer.Param()) || !buffer.Read(&button, sizeof(button)))
            continue;
        if (button.fsStyle & BTNS_SEP)
            continue;
        int n = static_cast<int>(Ask(toolBar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                                     buffer.Param() + static_cast<LPARAM>(textOffset)));
        if (n <= 0 || ReadText(buffer, textOffset, static_cast<size_t>(n)) != caption)
            continue;
        info.found = true;
        info.index = i;
        info.command = button.idCommand;
        info.visible = !(button.fsState & TBSTATE_HIDDEN);
        info.enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        if (Ask(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(i), buffer.Param() + sizeof(TBBUTTON)))
            buffer.Read(&info.rect, sizeof(RECT), sizeof(TBBUTTON));
        break;
    }
    return info;
}

std::vector<std::wstring> ToolButtonCaptions(HWND toolBar)
{
    std::vector<std::wstring> captions;
    OwnerProcess owner(toolBar);
    RemoteBuffer buffer(owner.handle, sizeof(TBBUTTON) + kTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return captions;
    int count = static_cast<int>(Ask(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!Ask(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i), buffer.Param()) || !buffer.Read(&button, sizeof(button)))
            continue;
        if ((button.fsStyle & BTNS_SEP) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        int n = static_cast<int>(Ask(toolBar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                                     buffer.Param() + static_cast<LPARAM>(sizeof(TBBUTTON))));
        captions.push_back(n > 0 ? ReadText(buffer, sizeof(TBBUTTON), static_cast<size_t>(n)) : std::wstring());
    }
    return captions;
}

std::wstring StatusPanelText(HWND statusBar, int panel)
{
    OwnerProcess owner(statusBar);
    RemoteBuffer buffer(owner.handle, kTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return {};
    LRESULT r = Ask(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    size_t length = LOWORD(r);
    if (length == 0 || length >= kTextChars)
        return {};
    Ask(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel), buffer.Param());
    return ReadText(buffer, 0, length);
}

std::vector<int> StatusPanelEdges(HWND statusBar)
{
    std::vector<int> edges;
    OwnerProcess owner(statusBar);
    RemoteBuffer buffer(owner.handle, 256 * sizeof(int));
    if (!buffer.Valid())
        return edges;
    int count = static_cast<int>(Ask(statusBar, SB_GETPARTS, 256, buffer.Param()));
    edges.resize(static_cast<size_t>(std::max(count, 0)));
    if (!edges.empty())
        buffer.Read(edges.data(), edges.size() * sizeof(int));
    return edges;
}

// List boxes belong to the system's own controls, whose messages the system carries across processes
// with their buffers: a local buffer serves.
std::vector<std::wstring> ListBoxItems(HWND listBox)
{
    std::vector<std::wstring> items;
    int count = static_cast<int>(Ask(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = Ask(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0 || length >= kTextChars) {
            items.emplace_back();
            continue;
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Ask(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcsnlen(text.c_str(), text.size()));
        items.push_back(text);
    }
    return items;
}

RECT ListBoxItemRect(HWND listBox, int index)
{
    RECT rc{};
    if (Ask(listBox, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
        return RECT{};
    return rc;
}

int TrackBarPosition(HWND trackBar)
{
    return static_cast<int>(Ask(trackBar, TBM_GETPOS, 0, 0));
}

RECT TrackBarThumbRect(HWND trackBar)
{
    RECT rc{};
    OwnerProcess owner(trackBar);
    RemoteBuffer buffer(owner.handle, sizeof(RECT));
    if (!buffer.Valid())
        return rc;
    Ask(trackBar, TBM_GETTHUMBRECT, 0, buffer.Param());
    buffer.Read(&rc, sizeof(rc));
    return rc;
}

} // namespace e2e
