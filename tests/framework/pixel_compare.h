// Reading a bitmap's pixels for comparison with ImageMagick's decode of the same file.
#pragma once

#include "framework/Graphics.h"

#include "tests/support/test_support.h"

#include <cstdlib>
#include <string>

namespace graphicstest {

inline std::wstring DataFile(const std::wstring& name) { return testsupport::TestDataPath(L"graphics\\" + name); }

// The bitmap's picture, top-down BGR; palette bitmaps are read through a 24-bit copy.
inline testsupport::Pixels24 PixelsOf(TBitmap& bitmap)
{
    TBitmap copy;
    copy.Assign(&bitmap);
    copy.SetPixelFormat(pf24bit);
    testsupport::Pixels24 p;
    p.width = copy.Width();
    p.height = copy.Height();
    for (int y = 0; y < p.height; ++y) {
        auto* row = static_cast<const std::uint8_t*>(copy.ScanLine(y));
        p.bgr.insert(p.bgr.end(), row, row + p.width * 3);
    }
    return p;
}

struct Difference {
    int max = 0;
    double mean = 0;
};

// Per-channel differences of two pictures of one size (checked by the caller).
inline Difference Compare(const testsupport::Pixels24& a, const testsupport::Pixels24& b)
{
    Difference d;
    if (a.bgr.size() != b.bgr.size() || a.bgr.empty())
        return {256, 256};
    long long sum = 0;
    for (std::size_t i = 0; i < a.bgr.size(); ++i) {
        int diff = std::abs(int(a.bgr[i]) - int(b.bgr[i]));
        sum += diff;
        if (diff > d.max)
            d.max = diff;
    }
    d.mean = double(sum) / double(a.bgr.size());
    return d;
}

// On a mismatch the actual picture is written beside the test log for a look.
inline void KeepForInspection(const testsupport::Pixels24& actual, const std::string& name)
{
    actual.SavePpm(testsupport::Widen(name + ".actual.ppm"));
}

} // namespace graphicstest
