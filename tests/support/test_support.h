// Helpers shared by every test executable: temporary folders, message pumping, window pixel capture.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

// The folder of data made during the build (ImageMagick references, generated files), as a Windows path.
std::wstring TestDataPath(const std::wstring& name);

// Gives each test a fresh folder under the Windows temporary folder and removes it afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::wstring& Folder() const { return folder_; }
    // Folder() + "\" + name.
    std::wstring PathOf(const std::wstring& name) const;

private:
    std::wstring folder_;
};

// Creates a folder tree's missing parents and writes a file of the given bytes.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
void RemoveTree(const std::wstring& path);

// The host system's name of a path, where the Windows layer runs on one (empty elsewhere).
std::string HostPath(const std::wstring& path);
// Runs a shell command line of the host system (only where the Windows layer can start one) and
// waits for it, at most two seconds (ASCII paths only: the host may not take other characters): such
// a process gives no handle to wait on, so the command leaves a marker file in markerFolder when it is
// done. False when no host shell ran the command to its end.
bool RunHostShell(const std::wstring& script, const std::wstring& markerFolder);

// Dispatches queued messages until the queue stays empty (paints and posted messages included),
// or until timeoutMs passed.
void PumpMessagesUntilIdle(DWORD timeoutMs = 2000);

// Real key presses through the system's input queue: the keys pressed in order and released in reverse
// ({VK_MENU, 'M'} is Alt+M). They go to the foreground window.
void PressKeys(std::initializer_list<WORD> keys);

// A 24-bit picture: rows top-down, blue-green-red per pixel, no row padding.
struct Pixels24 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;

    COLORREF At(int x, int y) const;
    // How many pixels differ from the other picture's; -1 for a picture of another size.
    int DifferingPixels(const Pixels24& other) const;
    // Writes the picture as a binary PPM (for failure reports beside the test log).
    void SavePpm(const std::wstring& path) const;
};

// Pixels of what draw puts into a 24-bit top-down DIB of the size given, selected into a memory DC
// compatible with like.
Pixels24 DrawnPixels(int width, int height, HDC like, const std::function<void(HDC)>& draw);

// Redraws the window, empties the queue and copies its pixels: the whole window (frame included)
// or only the client area.
Pixels24 CaptureWindow(HWND wnd, bool wholeWindow = false);

// Reads a binary PPM (P6, maxval 255) as written by ImageMagick.
Pixels24 LoadPpm(const std::wstring& path);

// Converts UTF-8 text to UTF-16 and back.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

} // namespace testsupport
