// Screenshots of the program as a person sees it: pixels read from the screen, kept as BMP files.
#pragma once

#include "tests/e2e/robot.h"
#include "tests/support/test_support.h"

#include <windows.h>

#include <string>

namespace e2e {

// The pixels of a screen rectangle (clipped to the screen).
testsupport::Pixels24 CaptureScreen(RECT area);
// A top-level window with its frame, or a child window, as shown on the screen.
testsupport::Pixels24 CaptureWindowOnScreen(HWND wnd);

// Writes a 24-bit bottom-up BMP; false when the file cannot be written.
bool SaveBmp(const testsupport::Pixels24& pixels, const std::wstring& path);

// The folder the screenshots of a run are kept in (test output beside the build).
std::wstring ShotsFolder();
// Waits until the window and every visible descendant have painted what they owe (no update region
// left), then until the program is idle: a shot taken then shows what a person sees, not the black of
// a window the system made but the program has not painted yet.
void WaitPainted(Robot& robot, HWND top);

// Captures the window into ShotsFolder() + "\" + name + ".bmp" and returns the pixels.
testsupport::Pixels24 Screenshot(HWND wnd, const std::wstring& name);

// The top-left part of a picture (clipped to its size).
testsupport::Pixels24 Crop(const testsupport::Pixels24& pixels, int width, int height);

// Number of distinct colours, a rough measure of whether anything was painted at all.
size_t CountColours(const testsupport::Pixels24& pixels);

} // namespace e2e
