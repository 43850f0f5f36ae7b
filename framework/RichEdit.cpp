// The rich-text editor: its paragraphs, attributes, files, search and printing.
#include "framework/RichEdit.h"

#include "framework/Printers.h"
#include "framework/RichEditPrint.h"
#include "framework/RichEditText.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace {

// Rich-edit sizes and indents are in twips.
constexpr LONG kTwipsPerPoint = 20;

void LoadRichEditLibrary()
{
    // Loaded once for the process and never freed: every rich-edit window needs it.
    static HMODULE library = LoadLibraryW(L"riched20.dll");
    if (!library)
        throw EOSError(L"The rich-edit library riched20.dll cannot be loaded");
}

void Select(HWND wnd, int start, int end)
{
    RichEditSelect(wnd, start, end);
}

void Replace(HWND wnd, const std::wstring& text)
{
    RichEditReplaceSelection(wnd, text, true);
}

// Line breaks of any kind become the control's paragraph mark.
std::wstring ToParagraphMarks(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        out += text[i] == L'\n' ? L'\r' : text[i];
    }
    return out;
}

bool IsWordChar(wchar_t c)
{
    return IsCharAlphaNumericW(c) || c == L'_';
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct StreamBuffer {
    const std::string* in = nullptr;
    size_t position = 0;
    std::string out;
};

DWORD CALLBACK ReadFromBuffer(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    auto* s = reinterpret_cast<StreamBuffer*>(cookie);
    size_t count = std::min(static_cast<size_t>(std::max<LONG>(size, 0)), s->in->size() - s->position);
    std::memcpy(buffer, s->in->data() + s->position, count);
    s->position += count;
    *done = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteToBuffer(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    auto* s = reinterpret_cast<StreamBuffer*>(cookie);
    s->out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(std::max<LONG>(size, 0)));
    *done = size;
    return 0;
}

bool LooksLikeRtf(const std::string& bytes)
{
    return bytes.compare(0, 5, "{\\rtf") == 0;
}

bool NestsTooDeep(const std::string& bytes)
{
    TRtfGroupDepth groups;
    return !groups.Feed(bytes.data(), bytes.size());
}

// The paragraphs of the document, over the control's text: Count, Strings, Add, Insert, Delete and
// Clear work on whole paragraphs.
class TRichEditStrings : public TStrings {
    DECLARE_CLASS_NAME(TRichEditStrings)
public:
    explicit TRichEditStrings(TCustomRichEdit* editor) : editor_(editor) {}

    std::wstring Get(int index) const override
    {
        auto lines = Paragraphs();
        CheckIndex(index, static_cast<int>(lines.size()));
        return lines[static_cast<size_t>(index)].text;
    }
    int GetCount() const override { return static_cast<int>(Paragraphs().size()); }
    void Put(int index, const std::wstring& s) override
    {
        auto lines = Paragraphs();
        CheckIndex(index, static_cast<int>(lines.size()));
        const Paragraph& p = lines[static_cast<size_t>(index)];
        HWND wnd = editor_->Handle();
        Select(wnd, p.start, p.start + static_cast<int>(p.text.size()));
        Replace(wnd, ToParagraphMarks(s));
    }
    void Insert(int index, const std::wstring& s) override
    {
        auto lines = Paragraphs();
        int count = static_cast<int>(lines.size());
        if (index < 0 || index > count)
            Error(L"List index out of bounds (%d)", index);
        HWND wnd = editor_->Handle();
        std::wstring text = ToParagraphMarks(s);
        if (index < count) {
            int at = lines[static_cast<size_t>(index)].start;
            Select(wnd, at, at);
            Replace(wnd, text + L"\r");
        } else {
            int end = editor_->GetTextLen();
            Select(wnd, end, end);
            Replace(wnd, count == 0 ? text : L"\r" + text);
        }
    }
    void Delete(int index) override
    {
        auto lines = Paragraphs();
        int count = static_cast<int>(lines.size());
        CheckIndex(index, count);
        const Paragraph& p = lines[static_cast<size_t>(index)];
        int start = p.start, end = p.start + static_cast<int>(p.text.size());
        if (index + 1 < count)
            ++end; // its own paragraph mark
        else if (index > 0)
            --start; // the last paragraph takes the mark before it
        HWND wnd = editor_->Handle();
        Select(wnd, start, end);
        Replace(wnd, L"");
    }
    void Clear() override { SetWindowTextW(editor_->Handle(), L""); }

private:
    struct Paragraph {
        int start;
        std::wstring text;
    };
    std::vector<Paragraph> Paragraphs() const
    {
        std::vector<Paragraph> lines;
        std::wstring text = editor_->DocumentText();
        if (text.empty())
            return lines;
        lines.push_back({0, L""});
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\r' || text[i] == L'\n')
                lines.push_back({static_cast<int>(i) + 1, L""});
            else
                lines.back().text += text[i];
        }
        return lines;
    }
    void CheckIndex(int index, int count) const
    {
        if (index < 0 || index >= count)
            Error(L"List index out of bounds (%d)", index);
    }

    TCustomRichEdit* editor_; // not owned
};

} // namespace

// ---- TTextAttributes ----

CHARFORMAT2W TTextAttributes::Get() const
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(editor_->Handle(), EM_GETCHARFORMAT, type_ == atSelected ? SCF_SELECTION : SCF_DEFAULT,
                 reinterpret_cast<LPARAM>(&format));
    return format;
}

void TTextAttributes::Set(CHARFORMAT2W format) const
{
    format.cbSize = sizeof(format);
    SendMessageW(editor_->Handle(), EM_SETCHARFORMAT, type_ == atSelected ? SCF_SELECTION : SCF_DEFAULT,
                 reinterpret_cast<LPARAM>(&format));
}

std::wstring TTextAttributes::Name() const
{
    return Get().szFaceName;
}

void TTextAttributes::SetName(const std::wstring& value)
{
    CHARFORMAT2W f{};
    f.dwMask = CFM_FACE;
    wcsncpy(f.szFaceName, value.c_str(), LF_FACESIZE - 1);
    Set(f);
}

int TTextAttributes::Size() const
{
    return static_cast<int>(Get().yHeight / kTwipsPerPoint);
}

void TTextAttributes::SetSize(int value)
{
    CHARFORMAT2W f{};
    f.dwMask = CFM_SIZE;
    f.yHeight = value * kTwipsPerPoint;
    Set(f);
}

TColor TTextAttributes::Color() const
{
    CHARFORMAT2W f = Get();
    if (f.dwEffects & CFE_AUTOCOLOR)
        return clWindowText;
    return static_cast<TColor>(f.crTextColor);
}

void TTextAttributes::SetColor(TColor value)
{
    CHARFORMAT2W f{};
    f.dwMask = CFM_COLOR;
    if (value == clWindowText)
        f.dwEffects = CFE_AUTOCOLOR;
    else
        f.crTextColor = static_cast<COLORREF>(ColorToRGB(value));
    Set(f);
}

TFontStyles TTextAttributes::Style() const
{
    CHARFORMAT2W f = Get();
    TFontStyles style;
    if (f.dwEffects & CFE_BOLD)
        style.Include(fsBold);
    if (f.dwEffects & CFE_ITALIC)
        style.Include(fsItalic);
    if (f.dwEffects & CFE_UNDERLINE)
        style.Include(fsUnderline);
    if (f.dwEffects & CFE_STRIKEOUT)
        style.Include(fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value)
{
    CHARFORMAT2W f{};
    f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (value.Contains(fsBold))
        f.dwEffects |= CFE_BOLD;
    if (value.Contains(fsItalic))
        f.dwEffects |= CFE_ITALIC;
    if (value.Contains(fsUnderline))
        f.dwEffects |= CFE_UNDERLINE;
    if (value.Contains(fsStrikeOut))
        f.dwEffects |= CFE_STRIKEOUT;
    Set(f);
}

std::uint8_t TTextAttributes::Charset() const
{
    return Get().bCharSet;
}

void TTextAttributes::SetCharset(std::uint8_t value)
{
    CHARFORMAT2W f{};
    f.dwMask = CFM_CHARSET;
    f.bCharSet = value;
    Set(f);
}

void TTextAttributes::Assign(TPersistent* source)
{
    if (auto* font = dynamic_cast<TFont*>(source)) {
        CHARFORMAT2W f{};
        f.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        wcsncpy(f.szFaceName, font->Name().c_str(), LF_FACESIZE - 1);
        f.yHeight = font->Size() * kTwipsPerPoint;
        f.crTextColor = static_cast<COLORREF>(ColorToRGB(font->Color()));
        f.bCharSet = font->Charset();
        TFontStyles style = font->Style();
        f.dwEffects = (style.Contains(fsBold) ? CFE_BOLD : 0) | (style.Contains(fsItalic) ? CFE_ITALIC : 0) |
                      (style.Contains(fsUnderline) ? CFE_UNDERLINE : 0) | (style.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
        Set(f);
        return;
    }
    if (auto* other = dynamic_cast<TTextAttributes*>(source)) {
        CHARFORMAT2W f = other->Get();
        f.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        Set(f);
        return;
    }
    TPersistent::Assign(source);
}

// ---- TParaAttributes ----

PARAFORMAT2 TParaAttributes::Get() const
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    SendMessageW(editor_->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

void TParaAttributes::Set(PARAFORMAT2 format) const
{
    format.cbSize = sizeof(format);
    SendMessageW(editor_->Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

int TParaAttributes::FirstIndent() const
{
    return static_cast<int>(Get().dxStartIndent / kTwipsPerPoint);
}

void TParaAttributes::SetFirstIndent(int value)
{
    PARAFORMAT2 f{};
    f.dwMask = PFM_STARTINDENT;
    f.dxStartIndent = value * kTwipsPerPoint;
    Set(f);
}

int TParaAttributes::LeftIndent() const
{
    return static_cast<int>(Get().dxOffset / kTwipsPerPoint);
}

void TParaAttributes::SetLeftIndent(int value)
{
    PARAFORMAT2 f{};
    f.dwMask = PFM_OFFSET;
    f.dxOffset = value * kTwipsPerPoint;
    Set(f);
}

int TParaAttributes::RightIndent() const
{
    return static_cast<int>(Get().dxRightIndent / kTwipsPerPoint);
}

void TParaAttributes::SetRightIndent(int value)
{
    PARAFORMAT2 f{};
    f.dwMask = PFM_RIGHTINDENT;
    f.dxRightIndent = value * kTwipsPerPoint;
    Set(f);
}

TAlignment TParaAttributes::Alignment() const
{
    switch (Get().wAlignment) {
    case PFA_RIGHT:
        return taRightJustify;
    case PFA_CENTER:
        return taCenter;
    default:
        return taLeftJustify;
    }
}

void TParaAttributes::SetAlignment(TAlignment value)
{
    PARAFORMAT2 f{};
    f.dwMask = PFM_ALIGNMENT;
    f.wAlignment = value == taRightJustify ? PFA_RIGHT : value == taCenter ? PFA_CENTER : PFA_LEFT;
    Set(f);
}

// ---- TCustomRichEdit ----

TCustomRichEdit::TCustomRichEdit(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TRichEditStrings>(this)),
      selAttributes_(std::make_unique<TTextAttributes>(this, atSelected)),
      defAttributes_(std::make_unique<TTextAttributes>(this, atDefaultText)),
      paragraph_(std::make_unique<TParaAttributes>(this))
{
    SetBounds(0, 0, 185, 89);
}

TCustomRichEdit::~TCustomRichEdit()
{
    DestroyHandle();
}

void TCustomRichEdit::CreateParams(TCreateParams& params)
{
    LoadRichEditLibrary();
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_SAVESEL;
    if (!hideSelection_)
        params.Style |= ES_NOHIDESEL;
    if (wordWrap_)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        params.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_)
        params.Style |= WS_HSCROLL;
}

void TCustomRichEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    textShape_ = Font()->Shape();
    // Recipes and information documents may be longer than the control's default 32K characters.
    SendMessageW(handle_, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    SendMessageW(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    ApplyColors(true);
    if (!savedRtf_.empty()) {
        bool modified = Modified();
        StreamIn(savedRtf_, SF_RTF);
        savedRtf_.clear();
        SetModified(modified);
    }
}

bool TCustomRichEdit::HasFont(HFONT)
{
    return Font()->Shape() == textShape_;
}

void TCustomRichEdit::DestroyWnd()
{
    // The document survives a new window (a changed style, a new parent): kept as RTF meanwhile.
    if (handle_ && !HasState(csDestroying))
        savedRtf_ = StreamOut(SF_RTF);
    TCustomEdit::DestroyWnd();
}

void TCustomRichEdit::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_COLORCHANGED:
        TCustomEdit::Dispatch(message);
        ApplyColors(false);
        return;
    case CM_FONTCHANGED:
    {
        // A new face or size has gone to the whole text (WM_SETFONT); the colour goes there always.
        // The control's look is no edit of the document: the modified flag stays as it was.
        const bool modified = handle_ && Modified();
        TCustomEdit::Dispatch(message);
        ApplyColors(true);
        if (handle_) {
            textShape_ = Font()->Shape();
            SetModified(modified);
        }
        return;
    }
    default:
        TCustomEdit::Dispatch(message);
    }
}

void TCustomRichEdit::ApplyColors(bool wholeText)
{
    if (!handle_)
        return;
    SendMessageW(handle_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    CHARFORMAT2W f{};
    f.cbSize = sizeof(f);
    f.dwMask = CFM_COLOR | CFM_CHARSET;
    f.crTextColor = static_cast<COLORREF>(ColorToRGB(Font()->Color()));
    f.bCharSet = Font()->Charset();
    SendMessageW(handle_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&f));
    if (wholeText)
        SendMessageW(handle_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&f));
}

bool TCustomRichEdit::StreamIn(const std::string& bytes, UINT format)
{
    // The control ends the whole process on groups nested deeper than it takes: it never sees them.
    if ((format & SF_RTF) != 0 && NestsTooDeep(bytes))
        return false;
    StreamBuffer buffer;
    buffer.in = &bytes;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, ReadFromBuffer};
    SendMessageW(Handle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

std::string TCustomRichEdit::StreamOut(UINT format)
{
    StreamBuffer buffer;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, WriteToBuffer};
    SendMessageW(Handle(), EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    return buffer.out;
}

void TCustomRichEdit::LoadFromFile(const std::wstring& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TCustomRichEdit::LoadFromStream(TStream* stream)
{
    std::string bytes;
    std::int64_t size = stream->Size() - stream->Position();
    if (size > 0x7FFFFFF0)
        throw EReadError(L"The document is too large");
    bytes.resize(static_cast<size_t>(std::max<std::int64_t>(size, 0)));
    if (!bytes.empty())
        stream->ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    HWND wnd = Handle();
    SetWindowTextW(wnd, L"");
    if (!plainText_ && LooksLikeRtf(bytes)) {
        if (NestsTooDeep(bytes))
            throw ENestingError(L"The document's groups nest deeper than " + std::to_wstring(kMaxRtfGroupDepth) +
                                L" levels");
        // RTF the control gives up on is shown as the text it is.
        if (StreamIn(bytes, SF_RTF)) {
            SetModified(false);
            return;
        }
        SetWindowTextW(wnd, L"");
    }
    // Plain text in the encodings string lists read (UTF-8, UTF-16 with a mark, else ANSI).
    TMemoryStream memory;
    if (!bytes.empty())
        memory.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    memory.SetPosition(0);
    TStringList text;
    text.LoadFromStream(&memory);
    std::wstring all = text.Text();
    if (all.size() >= 2 && all.compare(all.size() - 2, 2, L"\r\n") == 0 && !(bytes.size() >= 1 && bytes.back() == '\n'))
        all.resize(all.size() - 2);
    SetWindowTextW(wnd, ToParagraphMarks(all).c_str());
    SetModified(false);
}

void TCustomRichEdit::SaveToFile(const std::wstring& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(&file);
}

void TCustomRichEdit::SaveToStream(TStream* stream)
{
    std::string bytes;
    if (plainText_) {
        TStringList text;
        text.SetText(DocumentText());
        TMemoryStream memory;
        text.SaveToStream(&memory);
        bytes.assign(static_cast<const char*>(memory.Memory()), static_cast<size_t>(memory.Size()));
    } else {
        bytes = StreamOut(SF_RTF);
    }
    if (!bytes.empty())
        stream->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

std::wstring TCustomRichEdit::DocumentText()
{
    return RichEditText(Handle());
}

int TCustomRichEdit::GetTextLen()
{
    GETTEXTLENGTHEX length{GTL_DEFAULT | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

std::wstring TCustomRichEdit::SelText()
{
    CHARRANGE range{};
    SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax <= range.cpMin)
        return {};
    std::wstring text(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    auto got = SendMessageW(handle_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

void TCustomRichEdit::SetSelText(const std::wstring& value)
{
    Replace(Handle(), ToParagraphMarks(value));
}

namespace {

// The search of FindText inside the characters it read: text holds the document from position first,
// one character on each side of the range [start, end) where the document has one.
int SearchTextWindow(const std::wstring& text, int first, int start, int end, const std::wstring& searchStr,
                     TSearchTypes options)
{
    const int n = static_cast<int>(searchStr.size());
    int offset = start - first;
    int limit = std::min(end - first, static_cast<int>(text.size()));
    if (limit - offset < n)
        return -1;
    bool matchCase = options.Contains(stMatchCase);
    std::wstring haystack = text.substr(static_cast<size_t>(offset), static_cast<size_t>(limit - offset));
    if (!matchCase)
        haystack = Upper(haystack);
    std::wstring needle = matchCase ? searchStr : Upper(searchStr);
    size_t from = 0;
    while (true) {
        size_t hit = haystack.find(needle, from);
        if (hit == std::wstring::npos)
            return -1;
        int at = offset + static_cast<int>(hit); // within text
        bool whole = (at == 0 || !IsWordChar(text[static_cast<size_t>(at - 1)])) &&
                     (at + n >= static_cast<int>(text.size()) || !IsWordChar(text[static_cast<size_t>(at + n)]));
        if (!options.Contains(stWholeWord) || whole)
            return first + at;
        from = hit + 1;
    }
}

struct SearchRange {
    int start, end, first, last;
};

// The range [start, end) of a document of size characters, and the characters around it that the
// search reads: one more on each side decides whole words.
SearchRange RangeOfSearch(int size, int startPos, int length)
{
    int start = std::clamp(startPos, 0, size);
    int end = length < 0 ? size : static_cast<int>(std::min<long long>(size, static_cast<long long>(start) + length));
    return {start, end, std::max(0, start - 1), std::min(size, end + 1)};
}

} // namespace

int FindTextIn(const std::wstring& text, const std::wstring& searchStr, int startPos, int length, TSearchTypes options)
{
    if (searchStr.empty())
        return -1;
    const SearchRange r = RangeOfSearch(static_cast<int>(text.size()), startPos, length);
    if (r.end - r.start < static_cast<int>(searchStr.size()))
        return -1;
    return SearchTextWindow(text.substr(static_cast<size_t>(r.first), static_cast<size_t>(r.last - r.first)), r.first,
                            r.start, r.end, searchStr, options);
}

int TCustomRichEdit::FindText(const std::wstring& searchStr, int startPos, int length, TSearchTypes options)
{
    // An empty search text finds nothing: every position would match it.
    if (searchStr.empty())
        return -1;
    const SearchRange r = RangeOfSearch(GetTextLen(), startPos, length);
    if (r.end - r.start < static_cast<int>(searchStr.size()))
        return -1;
    // Only the range is read and compared, so a search of the first 255 characters stays cheap in a
    // long document.
    std::wstring text(static_cast<size_t>(r.last - r.first) + 1, L'\0');
    TEXTRANGEW range{{r.first, r.last}, text.data()};
    auto got = SendMessageW(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, r.last - r.first)));
    return SearchTextWindow(text, r.first, r.start, r.end, searchStr, options);
}

void TCustomRichEdit::Print(const std::wstring& caption)
{
    TPrinter* printer = Printer();
    printer->SetTitle(caption);
    printer->BeginDoc();
    try {
        HDC dc = printer->Handle();
        int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
        RECT page{0, 0, MulDiv(printer->PageWidth(), 1440, std::max(1, dpiX)),
                  MulDiv(printer->PageHeight(), 1440, std::max(1, dpiY))};
        FORMATRANGE range{};
        range.hdc = dc;
        range.hdcTarget = dc;
        range.rcPage = page;
        range.rc = page;
        range.chrg = {0, -1};
        int total = GetTextLen();
        HWND wnd = Handle();
        // A library whose formatting is a stub measures nothing even for a text that is there; the page
        // is then laid out here.
        const auto measured = SendMessageW(wnd, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        SendMessageW(wnd, EM_FORMATRANGE, FALSE, 0);
        if (measured <= 0 && total > 0) {
            const RECT area{0, 0, printer->PageWidth(), printer->PageHeight()};
            PrintRichTextPages(dc, area, RichEditParagraphs(wnd), [printer] { printer->NewPage(); });
        } else {
            while (true) {
                range.rc = page;
                auto next = static_cast<LONG>(SendMessageW(wnd, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
                if (next <= range.chrg.cpMin || next >= total)
                    break;
                range.chrg.cpMin = next;
                printer->NewPage();
            }
            SendMessageW(wnd, EM_FORMATRANGE, FALSE, 0);
        }
        printer->EndDoc();
    } catch (...) {
        if (Handle())
            SendMessageW(handle_, EM_FORMATRANGE, FALSE, 0);
        printer->Abort();
        throw;
    }
}

void TCustomRichEdit::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomRichEdit::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    RecreateWnd();
}

void TCustomRichEdit::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    if (handle_)
        SendMessageW(handle_, EM_HIDESELECTION, value ? TRUE : FALSE, FALSE);
}
