#include "app/rtf_prefix_text.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace {

// Destinations whose text the control never shows and which this reader skips with their group.
constexpr std::array kSkippedDestinations = {
    std::string_view("fonttbl"), std::string_view("colortbl"), std::string_view("stylesheet"),
    std::string_view("info"),
};

// Words after which the control shows something this reader does not reproduce: the caller falls
// back to the control for the whole document.
constexpr std::array kUnreadWords = {
    std::string_view("pict"),     std::string_view("object"),   std::string_view("field"),
    std::string_view("fldinst"),  std::string_view("fldrslt"),  std::string_view("bin"),
    std::string_view("trowd"),    std::string_view("cell"),     std::string_view("row"),
    std::string_view("nestcell"), std::string_view("nestrow"),  std::string_view("pn"),
    std::string_view("pntext"),   std::string_view("listtext"), std::string_view("footnote"),
    std::string_view("header"),   std::string_view("headerl"),  std::string_view("headerr"),
    std::string_view("headerf"),  std::string_view("footer"),   std::string_view("footerl"),
    std::string_view("footerr"),  std::string_view("footerf"),  std::string_view("page"),
    std::string_view("sect"),     std::string_view("shp"),      std::string_view("shppict"),
    std::string_view("nonshppict"), std::string_view("result"), std::string_view("xe"),
    std::string_view("tc"),       std::string_view("txe"),      std::string_view("rxe"),
    std::string_view("chftn"),    std::string_view("chpgn"),    std::string_view("chdate"),
    std::string_view("chtime"),   std::string_view("filetbl"),  std::string_view("revtbl"),
};

// Words that stand for one character of the text.
struct CharacterWord {
    std::string_view word;
    wchar_t ch;
};
constexpr std::array kCharacterWords = {
    CharacterWord{"par", L'\r'},         CharacterWord{"tab", L'\t'},       CharacterWord{"emdash", L'\x2014'},
    CharacterWord{"endash", L'\x2013'},  CharacterWord{"bullet", L'\x2022'}, CharacterWord{"lquote", L'\x2018'},
    CharacterWord{"rquote", L'\x2019'},  CharacterWord{"ldblquote", L'\x201C'},
    CharacterWord{"rdblquote", L'\x201D'},
};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& words, std::string_view word)
{
    for (std::string_view w : words)
        if (w == word)
            return true;
    return false;
}

constexpr UINT kNoCodePage = 0xFFFFFFFF;

// The single-byte code page a font charset stands for.
UINT CharsetCodePage(int charset)
{
    switch (charset) {
    case EASTEUROPE_CHARSET:
        return 1250;
    case RUSSIAN_CHARSET:
        return 1251;
    case GREEK_CHARSET:
        return 1253;
    case TURKISH_CHARSET:
        return 1254;
    case HEBREW_CHARSET:
        return 1255;
    case ARABIC_CHARSET:
        return 1256;
    case BALTIC_CHARSET:
        return 1257;
    case VIETNAMESE_CHARSET:
        return 1258;
    case THAI_CHARSET:
        return 874;
    default:
        return kNoCodePage;
    }
}

struct GroupState {
    bool skipped = false;   // inside a destination whose text is not shown
    bool fontTable = false; // inside the font table, where \fN and \fcharsetN define fonts
    int unicodeSkip = 1;    // \ucN: the characters that follow \uN as its stand-in
    int font = -1;
};

class TRtfPrefixReader {
public:
    TRtfPrefixReader(std::string_view rtf, size_t characters) : rtf_(rtf), wanted_(characters) {}

    std::optional<std::wstring> Read()
    {
        if (rtf_.substr(0, 5) != "{\\rtf")
            return std::nullopt;
        std::vector<GroupState> groups;
        GroupState state;
        bool ended = false;
        while (pos_ < rtf_.size() && text_.size() < wanted_) {
            const char c = rtf_[pos_];
            if (c == '{') {
                ++pos_;
                groups.push_back(state);
                if (rtf_.substr(pos_, 2) == "\\*") {
                    pos_ += 2;
                    state.skipped = true;
                }
            } else if (c == '}') {
                ++pos_;
                if (groups.size() <= 1) {
                    ended = true;
                    break;
                }
                state = groups.back();
                groups.pop_back();
            } else if (c == '\\') {
                if (!ControlWord(state))
                    return std::nullopt;
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            } else {
                ++pos_;
                if (skipPending_ > 0) {
                    --skipPending_;
                } else if (!state.skipped && !Decode(state, c)) {
                    return std::nullopt;
                }
            }
        }
        // The control takes a document only when its groups close; a cut file it shows as source.
        if (!ended && !GroupsClose(groups.size()))
            return std::nullopt;
        // The control's document ends with its own paragraph mark, which takes the place of the last
        // one the document wrote.
        if (ended && !text_.empty() && text_.back() == L'\r')
            text_.pop_back();
        if (text_.size() > wanted_)
            text_.resize(wanted_);
        return text_;
    }

private:
    // Whether the groups open at pos_ all close further on.
    bool GroupsClose(size_t depth) const
    {
        for (size_t i = pos_; i < rtf_.size(); ++i) {
            if (rtf_[i] == '\\') {
                ++i;
            } else if (rtf_[i] == '{') {
                ++depth;
            } else if (rtf_[i] == '}' && --depth == 0) {
                return true;
            }
        }
        return false;
    }

    // Turns one byte of text into its character: ASCII stands for itself, every other byte is read
    // in the code page of the current font. Single-byte code pages only, so a byte never waits for
    // the next one.
    bool Decode(const GroupState& state, char byte)
    {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            text_.push_back(static_cast<wchar_t>(b));
            return true;
        }
        const UINT codePage = CodePage(state);
        if (codePage == kNoCodePage)
            return false;
        auto table = tables_.find(codePage);
        if (table == tables_.end()) {
            std::array<wchar_t, 128> upper{};
            char bytes[128];
            for (int i = 0; i < 128; ++i)
                bytes[i] = static_cast<char>(0x80 + i);
            if (MultiByteToWideChar(codePage, 0, bytes, 128, upper.data(), 128) != 128)
                return false;
            table = tables_.emplace(codePage, upper).first;
        }
        text_.push_back(table->second[b - 0x80]);
        return true;
    }

    // The code page of the current font. A document that names no code page of its own, a font that
    // the font table does not describe, and double-byte or symbol charsets are not read here: how
    // the control reads their bytes is its own affair.
    UINT CodePage(const GroupState& state) const
    {
        auto charset = fontCharsets_.find(state.font);
        if (state.font < 0 || charset == fontCharsets_.end())
            return kNoCodePage;
        const UINT codePage = charset->second == ANSI_CHARSET ? ansiCodePage_ : CharsetCodePage(charset->second);
        CPINFO info{};
        if (codePage == kNoCodePage || !GetCPInfo(codePage, &info) || info.MaxCharSize != 1)
            return kNoCodePage;
        return codePage;
    }

    void Emit(const GroupState& state, wchar_t ch)
    {
        if (!state.skipped)
            text_.push_back(ch);
    }

    // Reads one control word or control symbol at pos_; false when the document must go to the control.
    bool ControlWord(GroupState& state)
    {
        ++pos_; // the backslash
        if (pos_ >= rtf_.size())
            return false;
        const char c = rtf_[pos_];
        if (!IsAsciiLetter(c))
            return ControlSymbol(state);

        const size_t start = pos_;
        while (pos_ < rtf_.size() && IsAsciiLetter(rtf_[pos_]))
            ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);
        bool hasParameter = false;
        long long parameter = 0;
        bool negative = false;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < rtf_.size() && rtf_[pos_] >= '0' && rtf_[pos_] <= '9') {
            hasParameter = true;
            if (parameter < 1'000'000'000)
                parameter = parameter * 10 + (rtf_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            parameter = -parameter;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;

        // A control word ends the stand-in characters of \uN early.
        if (word != "u")
            skipPending_ = 0;

        if (OneOf(kUnreadWords, word))
            return false;
        if (OneOf(kSkippedDestinations, word)) {
            state.skipped = true;
            state.fontTable = word == "fonttbl";
            return true;
        }
        if (state.fontTable) {
            if (word == "f" && hasParameter)
                definedFont_ = static_cast<int>(parameter);
            else if (word == "fcharset" && hasParameter && definedFont_ >= 0)
                fontCharsets_[definedFont_] = static_cast<int>(parameter);
            return true;
        }
        if (word == "ansicpg" && hasParameter) {
            CPINFO info{};
            if (!GetCPInfo(static_cast<UINT>(parameter), &info) || info.MaxCharSize != 1)
                return false;
            ansiCodePage_ = static_cast<UINT>(parameter);
            return true;
        }
        if (word == "f" && hasParameter) {
            state.font = static_cast<int>(parameter);
            return true;
        }
        if (word == "uc" && hasParameter) {
            state.unicodeSkip = static_cast<int>(std::max<long long>(0, parameter));
            return true;
        }
        if (word == "u" && hasParameter) {
            const long long unit = parameter < 0 ? parameter + 65536 : parameter;
            if (unit < 0 || unit > 0xFFFF)
                return false;
            Emit(state, static_cast<wchar_t>(unit));
            skipPending_ = state.unicodeSkip;
            return true;
        }
        if (word == "line" || word == "softline")
            return false; // a line break inside a paragraph: left to the control
        for (const CharacterWord& character : kCharacterWords) {
            if (character.word == word) {
                Emit(state, character.ch);
                return true;
            }
        }
        // Every other word formats and shows nothing.
        return true;
    }

    bool ControlSymbol(GroupState& state)
    {
        const char c = rtf_[pos_++];
        switch (c) {
        case '\\':
        case '{':
        case '}':
            skipPending_ = 0;
            Emit(state, static_cast<wchar_t>(c));
            return true;
        case '\'': {
            if (pos_ + 2 > rtf_.size())
                return false;
            const int high = HexDigit(rtf_[pos_]), low = HexDigit(rtf_[pos_ + 1]);
            if (high < 0 || low < 0)
                return false;
            pos_ += 2;
            if (skipPending_ > 0) {
                --skipPending_;
                return true;
            }
            return state.skipped || Decode(state, static_cast<char>(high * 16 + low));
        }
        case '*':
            skipPending_ = 0;
            state.skipped = true;
            return true;
        case '\r':
        case '\n':
            skipPending_ = 0;
            Emit(state, L'\r');
            return true;
        default:
            // \~, \-, \_ and the rest show characters whose handling this reader does not copy.
            return false;
        }
    }

    static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    static int HexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    std::string_view rtf_;
    size_t wanted_;
    size_t pos_ = 0;
    std::wstring text_;
    UINT ansiCodePage_ = kNoCodePage;
    std::map<UINT, std::array<wchar_t, 128>> tables_;
    std::map<int, int> fontCharsets_;
    int definedFont_ = -1;
    int skipPending_ = 0;
};

} // namespace

std::optional<std::wstring> RtfPrefixText(std::string_view rtf, size_t characters)
{
    return TRtfPrefixReader(rtf, characters).Read();
}
