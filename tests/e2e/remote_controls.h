// Reading the common controls of another process: their messages take pointers, so the structures
// live in memory allocated inside the program for the duration of one question.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A block of memory inside another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    LPARAM Param() const { return reinterpret_cast<LPARAM>(address_); }
    void* Address() const { return address_; }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_;
    void* address_ = nullptr;
    size_t size_;
};

// Every control helper below opens the owning process of the window for the question it asks.

// Tab control: the tab captions in order, the current tab, one tab's rectangle (client coordinates).
std::vector<std::wstring> TabCaptions(HWND tabs);
int CurrentTab(HWND tabs);
RECT TabRect(HWND tabs, int index);

// List view: the item captions, the selected item (-1: none), one item's rectangle, the view style.
std::vector<std::wstring> ListCaptions(HWND list);
int SelectedListItem(HWND list);
RECT ListItemRect(HWND list, int index);
DWORD ListViewStyle(HWND list); // LV_VIEW_ICON, LV_VIEW_LIST, ...

// Tool bar: a button by caption (its rectangle, whether it shows and is enabled).
struct ToolButtonInfo {
    bool found = false;
    int index = -1;
    int command = 0;
    bool visible = false;
    bool enabled = false;
    RECT rect{};
};
ToolButtonInfo FindToolButton(HWND toolBar, const std::wstring& caption);
// Captions of every visible button, separators left out.
std::vector<std::wstring> ToolButtonCaptions(HWND toolBar);

// Status bar: one panel's text; the right edges of the panels (client coordinates).
std::wstring StatusPanelText(HWND statusBar, int panel);
std::vector<int> StatusPanelEdges(HWND statusBar);

// List box: the item texts and one item's rectangle.
std::vector<std::wstring> ListBoxItems(HWND listBox);
RECT ListBoxItemRect(HWND listBox, int index);

// Track bar: the thumb's position and its rectangle (client coordinates).
int TrackBarPosition(HWND trackBar);
RECT TrackBarThumbRect(HWND trackBar);

} // namespace e2e
