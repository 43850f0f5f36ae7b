// Run-time routines: numbers, text, file names, files and folders.
#include "framework/SysUtils.h"

#ifdef _WIN32
#include "framework/WinApi.h"
#endif

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <string_view>

namespace {

bool IsSpaceOrControl(wchar_t c)
{
    return c <= L' ';
}

bool IsPathDelimiter(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Index of the last "\", "/" or ":" in the path, or npos.
size_t LastDelimiter(const std::wstring& path)
{
    return path.find_last_of(L"\\/:");
}

} // namespace

std::wstring IntToStr(std::int64_t value)
{
    return std::to_wstring(value);
}

std::wstring IntToHex(std::uint64_t value, int digits)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%0*llX", digits, static_cast<unsigned long long>(value));
    return buffer;
}

bool TryStrToInt(std::wstring_view text, int& value)
{
    // Trimmed by its bounds, not by a copy: skins and form data read numbers by the thousand.
    const std::wstring_view s = TrimView(text);
    if (s.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (s[i] == L'-' || s[i] == L'+') {
        negative = s[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    std::int64_t result = 0;
    for (; i < s.size(); ++i) {
        wchar_t c = s[i];
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return false;
        result = result * base + digit;
        // Hexadecimal texts may spell the full 32-bit pattern ($FFFFFFFF is -1).
        const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : 0x80000000LL;
        if (result > limit)
            return false;
    }
    if (base == 16 && !negative) {
        value = static_cast<int>(static_cast<std::uint32_t>(result));
        return true;
    }
    if (negative)
        result = -result;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return false;
    value = static_cast<int>(result);
    return true;
}

int StrToInt(std::wstring_view s)
{
    int value = 0;
    if (!TryStrToInt(s, value))
        throw EConvertError(L"'" + std::wstring(s) + L"' is not a valid integer value");
    return value;
}

int StrToIntDef(std::wstring_view s, int defaultValue)
{
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

double StrToFloatDef(const std::wstring& text, double defaultValue)
{
    std::wstring s = Trim(text);
    if (s.empty())
        return defaultValue;
    // Parse by hand so that no locale can change the decimal separator.
    size_t i = 0;
    double sign = 1;
    if (s[i] == L'-' || s[i] == L'+') {
        sign = s[i] == L'-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    bool digits = false;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, digits = true)
        value = value * 10 + (s[i] - L'0');
    if (i < s.size() && s[i] == L'.') {
        double scale = 0.1;
        for (++i; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, scale /= 10, digits = true)
            value += (s[i] - L'0') * scale;
    }
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E') && digits) {
        int exponent = 0;
        if (!TryStrToInt(s.substr(i + 1), exponent))
            return defaultValue;
        // The steps stop once the value can no longer change (zero or infinite): an exponent of
        // two thousand million would otherwise take seconds to apply.
        for (; exponent > 0 && value != 0 && std::isfinite(value); --exponent)
            value *= 10;
        for (; exponent < 0 && value != 0 && std::isfinite(value); ++exponent)
            value /= 10;
        i = s.size();
    }
    return digits && i == s.size() ? sign * value : defaultValue;
}

std::wstring FloatToStr(double value)
{
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15g", value);
    return buffer;
}

std::wstring UpperCase(const std::wstring& s)
{
    std::wstring out = s;
    for (auto& c : out)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
    return out;
}

std::wstring LowerCase(const std::wstring& s)
{
    std::wstring out = s;
    for (auto& c : out)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    return out;
}

bool SameUpperCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

std::wstring AnsiUpperCase(const std::wstring& s)
{
    std::wstring out = s;
#ifdef _WIN32
    if (!out.empty())
        CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
#else
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towupper(c));
#endif
    return out;
}

std::wstring AnsiLowerCase(const std::wstring& s)
{
    std::wstring out = s;
#ifdef _WIN32
    // Names of settings and skin keys are plain ASCII nearly always, and lowered by the thousand while a
    // skin or a form is read: those are lowered here; only other letters need the system's tables.
    bool ascii = true;
    for (auto& c : out) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    }
    if (!ascii)
        CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
#else
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towlower(c));
#endif
    return out;
}

int AnsiCompareText(const std::wstring& a, const std::wstring& b)
{
#ifdef _WIN32
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                           static_cast<int>(b.size()));
    return r - CSTR_EQUAL;
#else
    return AnsiLowerCase(a).compare(AnsiLowerCase(b));
#endif
}

int AnsiCompareStr(const std::wstring& a, const std::wstring& b)
{
#ifdef _WIN32
    int r = CompareStringW(LOCALE_USER_DEFAULT, 0, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                           static_cast<int>(b.size()));
    return r - CSTR_EQUAL;
#else
    return a.compare(b);
#endif
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

std::wstring TrimLeft(const std::wstring& s)
{
    size_t i = 0;
    while (i < s.size() && IsSpaceOrControl(s[i]))
        ++i;
    return s.substr(i);
}

std::wstring TrimRight(const std::wstring& s)
{
    size_t n = s.size();
    while (n > 0 && IsSpaceOrControl(s[n - 1]))
        --n;
    return s.substr(0, n);
}

std::wstring Trim(const std::wstring& s)
{
    return TrimLeft(TrimRight(s));
}

std::wstring_view TrimView(std::wstring_view s)
{
    size_t first = 0, end = s.size();
    while (first < end && IsSpaceOrControl(s[first]))
        ++first;
    while (end > first && IsSpaceOrControl(s[end - 1]))
        --end;
    return s.substr(first, end - first);
}

int Pos(const std::wstring& sub, const std::wstring& s)
{
    if (sub.empty())
        return 0;
    size_t i = s.find(sub);
    return i == std::wstring::npos ? 0 : static_cast<int>(i) + 1;
}

std::wstring Copy(const std::wstring& s, int start, int count)
{
    if (start < 1)
        start = 1;
    if (count <= 0 || static_cast<size_t>(start) > s.size())
        return {};
    return s.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count));
}

std::wstring StringReplaceAll(const std::wstring& s, const std::wstring& from, const std::wstring& to)
{
    if (from.empty())
        return s;
    std::wstring out;
    size_t i = 0;
    for (size_t j; (j = s.find(from, i)) != std::wstring::npos; i = j + from.size())
        out += s.substr(i, j - i) + to;
    return out + s.substr(i);
}

std::wstring Format(const wchar_t* format, ...)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size())
            return std::wstring(buffer.data(), static_cast<size_t>(n));
        if (buffer.size() > (1u << 24))
            return format;
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ExtractFileName(const std::wstring& path)
{
    size_t i = LastDelimiter(path);
    return i == std::wstring::npos ? path : path.substr(i + 1);
}

std::wstring ExtractFilePath(const std::wstring& path)
{
    size_t i = LastDelimiter(path);
    return i == std::wstring::npos ? std::wstring() : path.substr(0, i + 1);
}

std::wstring ExtractFileDir(const std::wstring& path)
{
    size_t i = LastDelimiter(path);
    if (i == std::wstring::npos)
        return {};
    // Keep the delimiter of a root ("C:\", "\").
    if (i > 0 && IsPathDelimiter(path[i]) && path[i - 1] != L':' && !IsPathDelimiter(path[i - 1]))
        return path.substr(0, i);
    return path.substr(0, i + 1);
}

std::wstring ExtractFileExt(const std::wstring& path)
{
    size_t dot = path.find_last_of(L'.');
    size_t delimiter = LastDelimiter(path);
    if (dot == std::wstring::npos || (delimiter != std::wstring::npos && dot < delimiter))
        return {};
    return path.substr(dot);
}

bool IsDeviceName(const std::wstring& name)
{
    // The system opens a device for these names in every folder, whatever the extension; trailing blanks
    // before the extension are dropped as well.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(towupper(c));
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" ||
        base == L"CONOUT$")
        return true;
    // The ports count from 1 to 9; the superscript digits one to three name them too.
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           ((base[3] >= L'1' && base[3] <= L'9') || base[3] == L'\u00B9' || base[3] == L'\u00B2' ||
            base[3] == L'\u00B3');
}

bool IsPlainFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L".." || IsDeviceName(name))
        return false;
    // The system drops a final dot or space when it opens a name: "X.rcp." would be read and written as
    // "X.rcp", another file than the one listed.
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    for (wchar_t c : name) {
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    }
    return true;
}

std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& ext)
{
    std::wstring current = ExtractFileExt(path);
    return path.substr(0, path.size() - current.size()) + ext;
}

std::wstring IncludeTrailingPathDelimiter(const std::wstring& path)
{
    if (!path.empty() && IsPathDelimiter(path.back()))
        return path;
    return path + L"\\";
}

std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path)
{
    std::wstring out = path;
    while (!out.empty() && IsPathDelimiter(out.back()))
        out.pop_back();
    return out;
}

#ifdef _WIN32

std::wstring AnsiToWide(const std::string& text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(const std::wstring& text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool FileExists(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

bool ForceDirectories(const std::wstring& path)
{
    std::wstring dir = ExcludeTrailingPathDelimiter(path);
    if (dir.empty() || DirectoryExists(dir) || ExtractFilePath(dir) == dir)
        return true;
    std::wstring parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent))
        return false;
    return CreateDir(dir) || DirectoryExists(dir);
}

bool RemoveDir(const std::wstring& path)
{
    return RemoveDirectoryW(path.c_str()) != 0;
}

bool DeleteFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != 0;
}

bool RenameFile(const std::wstring& from, const std::wstring& to)
{
    return MoveFileW(from.c_str(), to.c_str()) != 0;
}

bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists)
{
    return CopyFileW(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

namespace {

// The new copy of a file being written whole: created under a name of its own beside the file, and
// removed again unless it took the file's place.
class TNewCopy {
public:
    explicit TNewCopy(const std::wstring& path)
    {
        // A name left over from an earlier run, or a file of the user's, is never overwritten.
        for (int n = 0; n < 100 && file_ == INVALID_HANDLE_VALUE; ++n) {
            name_ = path + (n == 0 ? std::wstring() : L"." + std::to_wstring(n)) + L".tmp";
            file_ = CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            error_ = file_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
            if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS)
                break;
        }
        created_ = file_ != INVALID_HANDLE_VALUE;
    }
    ~TNewCopy()
    {
        Close();
        if (created_ && !placed_)
            DeleteFileW(name_.c_str());
    }
    TNewCopy(const TNewCopy&) = delete;
    TNewCopy& operator=(const TNewCopy&) = delete;

    bool Created() const { return created_; }
    HANDLE Handle() const { return file_; }
    unsigned long Error() const { return error_; }
    // Flushes and closes the copy; false when its last bytes may not have reached the disk.
    bool Finish()
    {
        const bool flushed = FlushFileBuffers(file_) != 0;
        error_ = flushed ? 0 : GetLastError();
        const bool closed = Close();
        if (!closed && flushed)
            error_ = GetLastError();
        return flushed && closed;
    }
    bool Place(const std::wstring& path)
    {
        placed_ = MoveFileExW(name_.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        error_ = placed_ ? 0 : GetLastError();
        return placed_;
    }

private:
    bool Close()
    {
        if (file_ == INVALID_HANDLE_VALUE)
            return true;
        const bool closed = CloseHandle(file_) != 0;
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

    std::wstring name_;
    HANDLE file_ = INVALID_HANDLE_VALUE; // owned while open
    unsigned long error_ = 0;
    bool created_ = false; // the copy exists on disk until it is placed or removed
    bool placed_ = false;
};

} // namespace

TWholeFileResult WriteFileWhole(const std::wstring& path, const std::function<bool(void* file)>& write)
{
    TNewCopy copy(path);
    if (!copy.Created())
        return {TWholeFileResult::Create, copy.Error()};
    if (!write(copy.Handle())) {
        const unsigned long error = GetLastError();
        return {TWholeFileResult::Write, error};
    }
    if (!copy.Finish())
        return {TWholeFileResult::Write, copy.Error()};
    if (!copy.Place(path))
        return {TWholeFileResult::Replace, copy.Error()};
    return {};
}

std::wstring GetCurrentDir()
{
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring out(n, L'\0');
    n = GetCurrentDirectoryW(n, out.data());
    out.resize(n);
    return out;
}

bool SetCurrentDir(const std::wstring& path)
{
    return SetCurrentDirectoryW(path.c_str()) != 0;
}

std::wstring ExpandFileName(const std::wstring& path)
{
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring out(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
    out.resize(n);
    return out;
}

std::int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring ApplicationFolder()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return ExtractFilePath(buffer);
}

std::wstring SysErrorMessage(unsigned long code)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = n && text ? TrimRight(std::wstring(text, n)) : L"System error " + std::to_wstring(code);
    if (text)
        LocalFree(text);
    return out;
}

namespace {

int MatchingEntry(TSearchRec& rec, const WIN32_FIND_DATAW& data)
{
    rec.Name = data.cFileName;
    rec.Attr = static_cast<int>(data.dwFileAttributes & 0xFFFF);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        rec.Attr |= faSymLink;
    rec.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return (rec.Attr & rec.ExcludeAttr) == 0 ? 0 : -1;
}

} // namespace

int FindFirst(const std::wstring& pattern, int attr, TSearchRec& rec)
{
    rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        rec.FindHandle = nullptr;
        return static_cast<int>(GetLastError());
    }
    rec.FindHandle = find;
    if (MatchingEntry(rec, data) == 0)
        return 0;
    int result = FindNext(rec);
    if (result != 0)
        FindClose(rec);
    return result;
}

int FindNext(TSearchRec& rec)
{
    if (!rec.FindHandle)
        return ERROR_NO_MORE_FILES;
    WIN32_FIND_DATAW data;
    while (FindNextFileW(static_cast<HANDLE>(rec.FindHandle), &data)) {
        if (MatchingEntry(rec, data) == 0)
            return 0;
    }
    return static_cast<int>(GetLastError());
}

void FindClose(TSearchRec& rec)
{
    if (rec.FindHandle)
        ::FindClose(static_cast<HANDLE>(rec.FindHandle));
    rec.FindHandle = nullptr;
}

#endif
