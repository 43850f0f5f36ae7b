// Small bitmaps built by the painting tests, pixel reads and writes by scan line, and a fixture that
// runs the skin library's start-up steps around each suite.
#pragma once

#include "framework/Graphics.h"
#include "framework/Startup.h"
#include "skin/core/sMaskData.h"
#include "skin/core/sSkinManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace painttest {

constexpr COLORREF kKey = RGB(255, 0, 255);

std::unique_ptr<TBitmap> MakeBitmap(int width, int height, COLORREF fill, TPixelFormat format = pf24bit);
// A 24-bit bitmap whose pixel (x, y) is pixel(x, y).
std::shared_ptr<TBitmap> PaintedBitmap(int width, int height, const std::function<COLORREF(int, int)>& pixel);
COLORREF Get(TBitmap* bmp, int x, int y);
void Set(TBitmap* bmp, int x, int y, COLORREF color);
std::string Describe(COLORREF c);

// Every pixel of the bitmap equal to expected(x, y); reports the first few that differ.
::testing::AssertionResult PixelsAre(TBitmap* bmp, const std::function<COLORREF(int, int)>& expected);

// The skin library's process-wide state (constants, message, pixel-access objects), started for one
// suite and finished after it.
void StartSkinLibrary();
void FinishSkinLibrary();

class PaintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartSkinLibrary(); }
    static void TearDownTestSuite() { FinishSkinLibrary(); }
    void TearDown() override;

    // A mask of its own bitmap; Manager set, so the painters accept it.
    TsMaskData OwnMask(std::shared_ptr<TBitmap> bmp, int imageCount, int maskType, int border);

    TsSkinManager manager;
};

} // namespace painttest
