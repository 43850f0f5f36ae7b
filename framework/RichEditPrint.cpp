#include "framework/RichEditPrint.h"

#include "framework/DCScopes.h"
#include "framework/Graphics.h"
#include "framework/RichEditText.h"

#include <algorithm>
#include <cstring>

namespace {

// The character properties a printed run is drawn with; a selection whose mask lacks one of them
// spans runs that differ in it.
constexpr DWORD kRunMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;

// Reading formats moves the selection; the control is left as it was found, unnotified and unpainted
// in between.
class TSelectionKeeper {
public:
    explicit TSelectionKeeper(HWND edit) : edit_(edit)
    {
        SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        SendMessageW(edit_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        events_ = static_cast<DWORD>(SendMessageW(edit_, EM_SETEVENTMASK, 0, 0));
        SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
    }
    ~TSelectionKeeper()
    {
        SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        SendMessageW(edit_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
        SendMessageW(edit_, EM_SETEVENTMASK, 0, static_cast<LPARAM>(events_));
    }
    TSelectionKeeper(const TSelectionKeeper&) = delete;
    TSelectionKeeper& operator=(const TSelectionKeeper&) = delete;

private:
    HWND edit_; // borrowed
    CHARRANGE selection_{};
    POINT scroll_{};
    DWORD events_ = 0;
};

CHARFORMAT2W SelectionFormat(HWND edit, LONG start, LONG end)
{
    RichEditSelect(edit, start, end);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

bool SameLook(const CHARFORMAT2W& a, const CHARFORMAT2W& b)
{
    constexpr DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR;
    return wcscmp(a.szFaceName, b.szFaceName) == 0 && a.yHeight == b.yHeight &&
           (a.dwEffects & effects) == (b.dwEffects & effects) && a.crTextColor == b.crTextColor &&
           a.bCharSet == b.bCharSet;
}

void AppendRun(std::vector<TRichTextRun>& runs, std::wstring text, const CHARFORMAT2W& format)
{
    if (!runs.empty() && SameLook(runs.back().Format, format))
        runs.back().Text += text;
    else
        runs.push_back({std::move(text), format});
}

// Halves a range until each part has one format: a recipe of a few formats takes a few dozen queries.
void CollectRuns(HWND edit, const std::wstring& text, LONG start, LONG end, std::vector<TRichTextRun>& runs)
{
    const CHARFORMAT2W format = SelectionFormat(edit, start, end);
    if ((format.dwMask & kRunMask) == kRunMask || end - start <= 1) {
        AppendRun(runs, text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)), format);
        return;
    }
    const LONG middle = start + (end - start) / 2;
    CollectRuns(edit, text, start, middle, runs);
    CollectRuns(edit, text, middle, end, runs);
}

// One font per look, made for the printer's resolution.
class TFontShelf {
public:
    explicit TFontShelf(HDC dc) : dc_(dc), dpiY_(std::max(1, GetDeviceCaps(dc, LOGPIXELSY))) {}

    struct Entry {
        CHARFORMAT2W Format;
        GdiObject<HFONT> Font; // owned
        TEXTMETRICW Metrics;
    };

    const Entry& For(const CHARFORMAT2W& format)
    {
        for (const auto& entry : entries_)
            if (SameLook(entry->Format, format))
                return *entry;
        auto entry = std::make_unique<Entry>();
        entry->Format = format;
        LOGFONTW font{};
        font.lfHeight = -MulDiv(format.yHeight > 0 ? format.yHeight : 200, dpiY_, 1440);
        font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        font.lfItalic = (format.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
        font.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
        font.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE;
        font.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(font.lfFaceName, format.szFaceName, LF_FACESIZE - 1);
        entry->Font.Reset(CreateFontIndirectW(&font));
        TSavedDC saved(dc_);
        SelectObject(dc_, entry->Font.Get());
        GetTextMetricsW(dc_, &entry->Metrics);
        entries_.push_back(std::move(entry));
        return *entries_.back();
    }

private:
    HDC dc_; // borrowed
    int dpiY_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

// A piece of a line: a word with its following spaces, in one look.
struct TPiece {
    const TFontShelf::Entry* Look;
    std::wstring Text;
    int Width;       // with the trailing spaces
    int InkWidth;    // without them: what must fit at a line's end
};

int TextWidth(HDC dc, const TFontShelf::Entry& look, const std::wstring& text)
{
    if (text.empty())
        return 0;
    TSavedDC saved(dc);
    SelectObject(dc, look.Font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

TPiece MakePiece(HDC dc, const TFontShelf::Entry& look, std::wstring text)
{
    size_t ink = text.find_last_not_of(L' ');
    ink = ink == std::wstring::npos ? 0 : ink + 1;
    TPiece piece{&look, std::move(text), 0, 0};
    piece.Width = TextWidth(dc, look, piece.Text);
    piece.InkWidth = TextWidth(dc, look, piece.Text.substr(0, ink));
    return piece;
}

std::vector<TPiece> Pieces(HDC dc, TFontShelf& shelf, const TRichTextParagraph& paragraph)
{
    std::vector<TPiece> pieces;
    for (const auto& run : paragraph.Runs) {
        const auto& look = shelf.For(run.Format);
        std::wstring text = run.Text;
        std::replace(text.begin(), text.end(), L'\t', L' ');
        size_t start = 0;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == L' ' && (i + 1 == text.size() || text[i + 1] != L' ')) {
                pieces.push_back(MakePiece(dc, look, text.substr(start, i + 1 - start)));
                start = i + 1;
            }
        if (start < text.size() || text.empty())
            pieces.push_back(MakePiece(dc, look, text.substr(start)));
    }
    return pieces;
}

int Device(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// Lays pieces into lines and draws them, page after page.
class TPageWriter {
public:
    TPageWriter(HDC dc, const RECT& area, const std::function<void()>& newPage)
        : dc_(dc), area_(area), newPage_(newPage), y_(area.top), dpiX_(std::max(1, GetDeviceCaps(dc, LOGPIXELSX))),
          dpiY_(std::max(1, GetDeviceCaps(dc, LOGPIXELSY)))
    {
    }

    void Paragraph(std::vector<TPiece> pieces, const PARAFORMAT2& format)
    {
        const bool hasIndents = (format.dwMask & PFM_STARTINDENT) != 0;
        const int start = area_.left + (hasIndents ? Device(format.dxStartIndent, dpiX_) : 0);
        const int offset = (format.dwMask & PFM_OFFSET) ? Device(format.dxOffset, dpiX_) : 0;
        right_ = area_.right - ((format.dwMask & PFM_RIGHTINDENT) ? Device(format.dxRightIndent, dpiX_) : 0);
        alignment_ = (format.dwMask & PFM_ALIGNMENT) ? format.wAlignment : PFA_LEFT;
        if (format.dwMask & PFM_SPACEBEFORE)
            y_ += Device(format.dySpaceBefore, dpiY_);
        left_ = start;
        std::vector<TPiece> line;
        int width = 0;
        for (auto& piece : pieces) {
            if (!line.empty() && width + piece.InkWidth > LineWidth()) {
                Flush(line, width);
                left_ = start + offset;
            }
            width += piece.Width;
            line.push_back(std::move(piece));
        }
        Flush(line, width);
        if (format.dwMask & PFM_SPACEAFTER)
            y_ += Device(format.dySpaceAfter, dpiY_);
    }

    int Lines() const { return lines_; }

private:
    int LineWidth() const { return std::max(1, right_ - left_); }

    void Flush(std::vector<TPiece>& line, int width)
    {
        int ascent = 0, descent = 0;
        for (const auto& piece : line) {
            ascent = std::max<int>(ascent, piece.Look->Metrics.tmAscent);
            descent = std::max<int>(descent, piece.Look->Metrics.tmDescent);
        }
        if (y_ + ascent + descent > area_.bottom && y_ > area_.top) {
            newPage_();
            y_ = area_.top;
        }
        int x = left_;
        if (alignment_ == PFA_CENTER)
            x += std::max(0, (LineWidth() - width) / 2);
        else if (alignment_ == PFA_RIGHT)
            x = std::max(left_, right_ - width);
        TSavedDC saved(dc_);
        SetBkMode(dc_, TRANSPARENT);
        for (const auto& piece : line) {
            const auto& format = piece.Look->Format;
            SelectObject(dc_, piece.Look->Font.Get());
            SetTextColor(dc_, (format.dwEffects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : format.crTextColor);
            TextOutW(dc_, x, y_ + ascent - piece.Look->Metrics.tmAscent, piece.Text.c_str(),
                     static_cast<int>(piece.Text.size()));
            x += piece.Width;
        }
        y_ += ascent + descent;
        ++lines_;
        line.clear();
    }

    HDC dc_; // borrowed
    RECT area_;
    const std::function<void()>& newPage_;
    int y_;
    int dpiX_, dpiY_;
    int left_ = 0, right_ = 0;
    WORD alignment_ = PFA_LEFT;
    int lines_ = 0;
};

} // namespace

std::vector<TRichTextParagraph> RichEditParagraphs(HWND edit)
{
    const std::wstring text = RichEditText(edit);
    std::vector<TRichTextParagraph> paragraphs;
    TSelectionKeeper keeper(edit);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\r', start);
        if (end == std::wstring::npos)
            end = text.size();
        TRichTextParagraph paragraph{};
        paragraph.Format.cbSize = sizeof paragraph.Format;
        RichEditSelect(edit, static_cast<LONG>(start), static_cast<LONG>(start));
        SendMessageW(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph.Format));
        if (end > start)
            CollectRuns(edit, text, static_cast<LONG>(start), static_cast<LONG>(end), paragraph.Runs);
        else
            paragraph.Runs.push_back({{}, SelectionFormat(edit, static_cast<LONG>(start), static_cast<LONG>(end) + 1)});
        paragraphs.push_back(std::move(paragraph));
        start = end + 1;
    }
    return paragraphs;
}

int PrintRichTextPages(HDC dc, const RECT& area, const std::vector<TRichTextParagraph>& paragraphs,
                       const std::function<void()>& newPage)
{
    TFontShelf shelf(dc);
    TPageWriter writer(dc, area, newPage);
    for (const auto& paragraph : paragraphs)
        writer.Paragraph(Pieces(dc, shelf, paragraph), paragraph.Format);
    return writer.Lines();
}
