// Run-time routines: numbers and text, file names, files and folders.
// The text and name routines are window-free and also build with the host compiler.
#pragma once

#include "framework/System.h"


#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Numbers.
std::wstring IntToStr(std::int64_t value);
std::wstring IntToHex(std::uint64_t value, int digits);
// Decimal, or hexadecimal after "$" or "0x"; surrounding spaces allowed. Raises EConvertError
// ("'abc' is not a valid integer value").
int StrToInt(std::wstring_view s);
int StrToIntDef(std::wstring_view s, int defaultValue);
bool TryStrToInt(std::wstring_view s, int& value);
// "." is the decimal separator whatever the locale.
double StrToFloatDef(const std::wstring& s, double defaultValue);
std::wstring FloatToStr(double value);

// Text. UpperCase/LowerCase change only ASCII letters; the Ansi... forms change every letter.
std::wstring UpperCase(const std::wstring& s);
std::wstring LowerCase(const std::wstring& s);
// UpperCase(a) == UpperCase(b), without the copies.
bool SameUpperCase(std::wstring_view a, std::wstring_view b);
std::wstring AnsiUpperCase(const std::wstring& s);
std::wstring AnsiLowerCase(const std::wstring& s);
// Case-insensitive comparison of any letters (Cyrillic included): <0, 0, >0.
int AnsiCompareText(const std::wstring& a, const std::wstring& b);
int AnsiCompareStr(const std::wstring& a, const std::wstring& b);
bool SameText(const std::wstring& a, const std::wstring& b);
// Removes spaces and control characters from the ends.
std::wstring Trim(const std::wstring& s);
// The part of s between the spaces and control characters at its ends, without a copy.
std::wstring_view TrimView(std::wstring_view s);
std::wstring TrimLeft(const std::wstring& s);
std::wstring TrimRight(const std::wstring& s);
// 1-based, as the program's text routines count: 0 when not found.
int Pos(const std::wstring& sub, const std::wstring& s);
// 1-based start, clamped to the string.
std::wstring Copy(const std::wstring& s, int start, int count);
std::wstring StringReplaceAll(const std::wstring& s, const std::wstring& from, const std::wstring& to);
// printf-like formatting of UTF-16 text (%s takes const wchar_t*, %d int).
std::wstring Format(const wchar_t* format, ...);

// File names: both "\" and "/" separate folders; ":" ends a drive.
std::wstring ExtractFileName(const std::wstring& path);
std::wstring ExtractFilePath(const std::wstring& path);
std::wstring ExtractFileDir(const std::wstring& path);
std::wstring ExtractFileExt(const std::wstring& path);

// True when name, with or without an extension, names a device (CON, PRN, AUX, NUL, CONIN$, CONOUT$,
// COM1-9, LPT1-9).
bool IsDeviceName(const std::wstring& name);
// True when name can stand as one folder or file name inside its parent and is opened as written: not
// empty, not "." or "..", not a device name, not ending in a dot or a space, no path separator, drive
// colon, wildcard, quote, redirection or control character. The one rule for every name the program
// lists, creates or writes.
bool IsPlainFileName(const std::wstring& name);
std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& ext);
std::wstring IncludeTrailingPathDelimiter(const std::wstring& path);
std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path);

#ifdef _WIN32
// Converts single-byte text of a code page (CP_ACP by default) to UTF-16 and back.
std::wstring AnsiToWide(const std::string& text, unsigned codePage = 0);
std::string WideToAnsi(const std::wstring& text, unsigned codePage = 0);

// Files and folders, on Win32's wide-character functions.
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
bool CreateDir(const std::wstring& path);
bool ForceDirectories(const std::wstring& path);
bool RemoveDir(const std::wstring& path);
bool DeleteFile(const std::wstring& path);
bool RenameFile(const std::wstring& from, const std::wstring& to);
// Copies a file; with failIfExists an existing target is left alone and the result is False.
bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists);

// How writing a file whole ended: done, or the step that failed with the system's error code.
struct TWholeFileResult {
    enum TStep { Done, Create, Write, Replace };
    TStep Step = Done;
    unsigned long Error = 0;
    bool Succeeded() const { return Step == Done; }
};
// Writes a file whole or not at all. write fills a new file made beside path (named path + ".tmp", or
// path + ".N.tmp" when that name is taken) through its handle and returns false, the system's error
// set, when it cannot. Only when all of it is written and flushed does the new file take path's place,
// in one step; on any failure it is removed and path stays as it was.
TWholeFileResult WriteFileWhole(const std::wstring& path, const std::function<bool(void* file)>& write);
std::wstring GetCurrentDir();
bool SetCurrentDir(const std::wstring& path);
std::wstring ExpandFileName(const std::wstring& path);
std::int64_t FileSize(const std::wstring& path);
// The folder of the running executable, with a trailing "\".
std::wstring ApplicationFolder();
std::wstring SysErrorMessage(unsigned long code);

// File attributes as FindFirst reports and filters them.
enum : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faNormal = 0x80,
    faSymLink = 0x400,
    faAnyFile = 0x1FF,
};

struct TSearchRec {
    std::wstring Name;
    int Attr = 0;
    std::int64_t Size = 0;
    void* FindHandle = nullptr; // owned while a search runs: ended by FindClose
    int ExcludeAttr = 0;
};

// FindFirst/FindNext return 0 for an entry and an error code at the end. An entry is reported unless
// it carries one of faHidden, faSysFile, faVolumeID, faDirectory that the asked attributes lack.
int FindFirst(const std::wstring& pattern, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
#endif
