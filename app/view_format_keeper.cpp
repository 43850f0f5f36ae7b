#include "app/view_format_keeper.h"

#include "framework/RichEditText.h"

#include <string>

namespace {

LONG StartIndentAt(HWND view, LONG position)
{
    RichEditSelect(view, position, position);
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    SendMessageW(view, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.dxStartIndent;
}

} // namespace

TViewFormatKeeper::TViewFormatKeeper(HWND view) : view_(view)
{
    SendMessageW(view_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
    SendMessageW(view_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
    modified_ = static_cast<BOOL>(SendMessageW(view_, EM_GETMODIFY, 0, 0));
    SendMessageW(view_, WM_SETREDRAW, FALSE, 0);
    ReadIndents();
    RichEditSelect(view_, selection_.cpMin, selection_.cpMax);
    SendMessageW(view_, WM_SETREDRAW, TRUE, 0);
}

TViewFormatKeeper::~TViewFormatKeeper()
{
    if (!IsWindow(view_))
        return;
    SendMessageW(view_, WM_SETREDRAW, FALSE, 0);
    WriteIndents();
    RichEditSelect(view_, selection_.cpMin, selection_.cpMax);
    SendMessageW(view_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
    SendMessageW(view_, EM_SETMODIFY, modified_, 0);
    SendMessageW(view_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view_, nullptr, TRUE);
}

void TViewFormatKeeper::ReadIndents()
{
    const std::wstring text = RichEditText(view_);
    LONG start = 0;
    for (;;) {
        const LONG indent = StartIndentAt(view_, start);
        if (runs_.empty() || runs_.back().Indent != indent)
            runs_.push_back(TIndentRun{start, indent});
        const size_t end = text.find(L'\r', static_cast<size_t>(start));
        if (end == std::wstring::npos || end + 1 >= text.size())
            break;
        start = static_cast<LONG>(end + 1);
    }
}

void TViewFormatKeeper::WriteIndents() const
{
    for (size_t i = 0; i < runs_.size(); ++i) {
        // Up to the paragraph mark before the next run: the next run's first paragraph keeps its own.
        RichEditSelect(view_, runs_[i].Start, i + 1 < runs_.size() ? runs_[i + 1].Start - 1 : -1);
        PARAFORMAT2 format{};
        format.cbSize = sizeof(format);
        format.dwMask = PFM_STARTINDENT;
        format.dxStartIndent = runs_[i].Indent;
        SendMessageW(view_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
}
