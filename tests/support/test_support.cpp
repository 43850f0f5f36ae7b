// Helpers shared by every test executable.
#include "tests/support/test_support.h"

#include <shellapi.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#ifndef VELMORA_TESTDATA_DIR
#error "VELMORA_TESTDATA_DIR must name the build's test data folder"
#endif

namespace testsupport {

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring TestDataPath(const std::wstring& name)
{
    std::wstring dir = Widen(VELMORA_TESTDATA_DIR);
    for (auto& c : dir)
        if (c == L'/')
            c = L'\\';
    return dir + L"\\" + name;
}

void TempFolderTest::SetUp()
{
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    folder_ = base + L"\\velmora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    RemoveTree(folder_);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << "cannot create " << Narrow(folder_);
}

void TempFolderTest::TearDown()
{
    RemoveTree(folder_);
}

std::wstring TempFolderTest::PathOf(const std::wstring& name) const
{
    return folder_ + L"\\" + name;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
        CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write " + Narrow(path));
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("short write to " + Narrow(path));
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + Narrow(path));
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    BOOL ok = bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok || read != bytes.size())
        throw std::runtime_error("short read from " + Narrow(path));
    return bytes;
}

void RemoveTree(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY) || (attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attr & FILE_ATTRIBUTE_DIRECTORY)
            RemoveDirectoryW(path.c_str());
        else
            DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

namespace {

using UnixNameFn = char*(CDECL*)(const wchar_t*);

UnixNameFn UnixNameFunction()
{
    return reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

} // namespace

std::string HostPath(const std::wstring& path)
{
    UnixNameFn toUnix = UnixNameFunction();
    char* name = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string out = name;
    HeapFree(GetProcessHeap(), 0, name);
    return out;
}

bool RunHostShell(const std::wstring& script, const std::wstring& markerFolder)
{
    const std::wstring shell = L"Z:\\bin\\sh";
    if (!UnixNameFunction() || GetFileAttributesW(shell.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    const std::wstring marker = markerFolder + L"\\host-command.done";
    DeleteFileW(marker.c_str());
    // Windows quoting: the whole script is one double-quoted argument with its own quotes escaped.
    std::wstring whole = script + L"; : > \"" + Widen(HostPath(marker)) + L"\"";
    std::wstring commandLine = L"/bin/sh -c \"";
    for (wchar_t c : whole)
        commandLine += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    commandLine += L'"';
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    for (int i = 0; i < 200 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(10);
    return DeleteFileW(marker.c_str()) != 0;
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    auto key = [](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return in;
    };
    for (WORD vk : keys)
        inputs.push_back(key(vk, false));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        inputs.push_back(key(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PumpMessagesUntilIdle(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    int quietRounds = 0;
    // Wine delivers some paints and X events a moment later: the queue must stay empty for a few rounds.
    while (quietRounds < 3 && GetTickCount() - start < timeoutMs) {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (any) {
            quietRounds = 0;
        } else {
            ++quietRounds;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
}

COLORREF Pixels24::At(int x, int y) const
{
    const std::uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
}

int Pixels24::DifferingPixels(const Pixels24& other) const
{
    if (width != other.width || height != other.height)
        return -1;
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            count += At(x, y) != other.At(x, y);
    return count;
}

void Pixels24::SavePpm(const std::wstring& path) const
{
    std::ostringstream out;
    out << "P6\n" << width << " " << height << "\n255\n";
    for (size_t i = 0; i + 2 < bgr.size(); i += 3)
        out << static_cast<char>(bgr[i + 2]) << static_cast<char>(bgr[i + 1]) << static_cast<char>(bgr[i]);
    WriteFileBytes(path, out.str());
}

Pixels24 DrawnPixels(int width, int height, HDC like, const std::function<void(HDC)>& draw)
{
    Pixels24 pix;
    pix.width = width;
    pix.height = height;
    if (width <= 0 || height <= 0)
        return pix;
    HDC memory = CreateCompatibleDC(like);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    draw(memory);
    GdiFlush();

    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    pix.bgr.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        memcpy(&pix.bgr[static_cast<size_t>(y) * width * 3], static_cast<std::uint8_t*>(bits) + y * stride,
               static_cast<size_t>(width) * 3);

    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    return pix;
}

Pixels24 CaptureWindow(HWND wnd, bool wholeWindow)
{
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessagesUntilIdle();

    RECT r;
    if (wholeWindow) {
        GetWindowRect(wnd, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(wnd, &r);
    }
    if (r.right <= 0 || r.bottom <= 0)
        return Pixels24{r.right, r.bottom, {}};
    HDC source = wholeWindow ? GetWindowDC(wnd) : GetDC(wnd);
    Pixels24 pix = DrawnPixels(r.right, r.bottom, source,
                               [&](HDC memory) { BitBlt(memory, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY); });
    ReleaseDC(wnd, source);
    return pix;
}

Pixels24 LoadPpm(const std::wstring& path)
{
    std::string data = ReadFileBytes(path);
    std::istringstream in(data);
    std::string magic;
    int maxval = 0;
    Pixels24 pix;
    in >> magic >> pix.width >> pix.height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255 || pix.width <= 0 || pix.height <= 0)
        throw std::runtime_error("not an 8-bit binary PPM: " + Narrow(path));
    size_t offset = static_cast<size_t>(in.tellg());
    size_t count = static_cast<size_t>(pix.width) * pix.height;
    if (data.size() < offset + count * 3)
        throw std::runtime_error("truncated PPM: " + Narrow(path));
    pix.bgr.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
        pix.bgr[i * 3] = static_cast<std::uint8_t>(data[offset + i * 3 + 2]);
        pix.bgr[i * 3 + 1] = static_cast<std::uint8_t>(data[offset + i * 3 + 1]);
        pix.bgr[i * 3 + 2] = static_cast<std::uint8_t>(data[offset + i * 3]);
    }
    return pix;
}

} // namespace testsupport
