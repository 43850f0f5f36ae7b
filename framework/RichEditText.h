// The few rich-edit messages that the framework's editor, the recipe documents and the recipe writer
// all send to a control they hold only by its window: its text, its selection, and file streams.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The control's whole text; paragraphs end with "\r".
std::wstring RichEditText(HWND edit);
void RichEditSelect(HWND edit, LONG start, LONG end);
// Replaces the selection; canUndo keeps the change on the control's undo list.
void RichEditReplaceSelection(HWND edit, const std::wstring& text, bool canUndo);

// The deepest nesting of RTF groups a rich-edit control is ever given. The platform's control ends the
// whole process on a document nested 33 groups deep (measured; 32 load), so the limit keeps a margin;
// recipes the program writes nest three deep.
inline constexpr int kMaxRtfGroupDepth = 24;

// Follows the nesting of RTF groups through a document read piece by piece. "\{" and "\}" are literal
// braces. "\binN" is followed by N raw bytes that a reader of RTF skips, but the platform's control
// counts braces among them; both readings are followed, and the deeper one counts.
class TRtfGroupDepth {
public:
    // Reads the next bytes of the document; false once a group opens deeper than kMaxRtfGroupDepth,
    // and from then on.
    bool Feed(const char* bytes, size_t count);
    bool TooDeep() const { return tooDeep_; }

private:
    enum class State { Text, Escape, Word, Parameter, Binary };
    struct Reading {
        explicit Reading(bool skips) : skipsBinary(skips) {}
        bool skipsBinary;
        State state = State::Text;
        int depth = 0;
        std::string word;        // the control word being read (only its first letters matter)
        long long parameter = 0; // its numeric parameter, saturated
        bool negative = false;
        long long binaryLeft = 0;
        // False when this byte opens a group deeper than the limit.
        bool Next(char c);
        bool InWord(char c);
        bool InParameter(char c);
        // Ends the control word at its delimiter, which then counts as it stands.
        bool EndWord(char delimiter);
    };
    Reading skipping_{true};
    Reading literal_{false};
    bool tooDeep_ = false;
};

// The cookie of EM_STREAMIN / EM_STREAMOUT over an open file: Failed is set when the file could not
// be read or written in full, with the system's Error. An RTF stream read through it stops before a
// group that would nest deeper than kMaxRtfGroupDepth, and TooDeep says so.
struct TRichEditFile {
    HANDLE File;
    bool Failed = false;
    DWORD Error = 0;
    bool Rtf = true;      // the stream is read as RTF: its groups are counted
    bool TooDeep = false;
    TRtfGroupDepth Groups{};
};
DWORD CALLBACK RichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read);
DWORD CALLBACK RichEditWriteFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written);
