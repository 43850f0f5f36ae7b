#include "tests/skin_controls/tabs_support.h"

#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "tests/skin_core/test_skin.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// The master bitmap: three tab frames of 10 x 10 in its first row, three scroll-button frames below
// them, and three 5 x 5 arrow frames below those; white elsewhere.
constexpr int kMasterWidth = 30;
constexpr int kMasterHeight = 25;

COLORREF MasterPixel(int x, int y, bool other)
{
    const int frame = x / 10;
    if (y < 10)
        return frame == 0 ? (other ? tabskin::kOtherTabNormal : tabskin::kTabNormal)
             : frame == 1 ? tabskin::kTabHot
                          : (other ? tabskin::kOtherTabActive : tabskin::kTabActive);
    if (y < 20)
        return frame == 0 ? tabskin::kBtnNormal : frame == 1 ? tabskin::kBtnHot : tabskin::kBtnPressed;
    return x < 15 ? tabskin::kArrow : RGB(255, 255, 255);
}

std::string MasterBitmapFile(bool other)
{
    return testskin::BitmapFile(kMasterWidth, kMasterHeight, [other](int x, int y) { return MasterPixel(x, y, other); });
}

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

std::string Options(bool tabsFirst, bool withTabs)
{
    const std::string tabs = "[TABTOP]\r\n"
                             "COLOR=0xFFFFFF\r\n"
                             "FONTCOLOR=0x000000\r\n"
                             "HOTFONTCOLOR=0x000000\r\n"
                             "BORDERSMASK=^0000^0000^0030^0010^0002^0002^0002^0002^3^0^1^0\r\n"
                             "[TABBOTTOM]\r\nPARENTCLASS=TABTOP\r\n"
                             "[TABLEFT]\r\nPARENTCLASS=TABTOP\r\n"
                             "[TABRIGHT]\r\nPARENTCLASS=TABTOP\r\n";
    const std::string edgeFont =
        "FONTCOLOR=" + Hex(tabskin::kEdgePageFont) + "\r\nHOTFONTCOLOR=" + Hex(tabskin::kEdgePageFont) + "\r\n";
    const std::string rest = "[GLOBALINFO]\r\n"
                             "VERSION=6.5\r\n"
                             "COLOR=0xE0E0E0\r\n"
                             "MASTERBITMAP=MASTER.BMP\r\n"
                             "[PAGECONTROL]\r\n"
                             "COLOR=" + Hex(tabskin::kPage) + "\r\n"
                             "FONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n"
                             "[PAGECONTROLBOTTOM]\r\nPARENTCLASS=PAGECONTROL\r\n" + edgeFont +
                             "[PAGECONTROLLEFT]\r\nPARENTCLASS=PAGECONTROL\r\n" + edgeFont +
                             "[PAGECONTROLRIGHT]\r\nPARENTCLASS=PAGECONTROL\r\n" + edgeFont +
                             "[SCROLLBTNTOP]\r\n"
                             "COLOR=" + Hex(tabskin::kBtnNormal) + "\r\n"
                             "BORDERSMASK=^0000^0010^0030^0020^0002^0002^0002^0002^3^0^1^0\r\n"
                             "GLYPHMASK=@0000@0020@0015@0025@3@0\r\n"
                             "[SCROLLBTNBOTTOM]\r\nPARENTCLASS=SCROLLBTNTOP\r\n"
                             "[SCROLLBTNLEFT]\r\nPARENTCLASS=SCROLLBTNTOP\r\n"
                             "[SCROLLBTNRIGHT]\r\nPARENTCLASS=SCROLLBTNTOP\r\n";
    if (!withTabs)
        return rest;
    return tabsFirst ? tabs + rest : rest + tabs;
}

} // namespace

namespace tabskin {

void WriteSkin(const std::wstring& folder, const std::wstring& name, bool tabsFirst, bool other, bool tabs)
{
    testsupport::WriteFileBytes(folder + L"\\" + name + L"\\Options.dat", Options(tabsFirst, tabs));
    testsupport::WriteFileBytes(folder + L"\\" + name + L"\\MASTER.BMP", MasterBitmapFile(other));
}

} // namespace tabskin

testsupport::Pixels24 PaintedPixels(TControl* control)
{
    testsupport::PumpMessagesUntilIdle(200);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(control->Width(), control->Height());
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect{0, 0, control->Width(), control->Height()});
    PaintControlToBitmap(&bitmap, control);
    testsupport::Pixels24 pixels;
    pixels.width = control->Width();
    pixels.height = control->Height();
    pixels.bgr.resize(static_cast<size_t>(pixels.width) * pixels.height * 3);
    for (int y = 0; y < pixels.height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
        std::copy(row, row + 3 * pixels.width, &pixels.bgr[static_cast<size_t>(y) * pixels.width * 3]);
    }
    return pixels;
}

int CountColor(const testsupport::Pixels24& pixels, const TRect& r, COLORREF color)
{
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, pixels.height); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, pixels.width); ++x)
            n += pixels.At(x, y) == color;
    return n;
}

namespace {

TForm* MakeForm()
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(40, 40, 520, 300);
    form->SetColor(static_cast<TColor>(tabskin::kFormColor));
    form->Show();
    testsupport::PumpMessagesUntilIdle(300);
    return form;
}

} // namespace

void SkinnedControlsTest::SetUp()
{
    SkinnedTest::SetUp();
    if (HasFatalFailure())
        return;
    // A test that hovered a control leaves the pointer where the next test's form opens: park it in the
    // screen's far corner so nothing paints hot by accident.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    tabskin::WriteSkin(Folder(), L"Flat");
    tabskin::WriteSkin(Folder(), L"Other", false, true);
    tabskin::WriteSkin(Folder(), L"TabsFirst", true);
    tabskin::WriteSkin(Folder(), L"PagesOnly", false, false, false);
    LoadSkin(L"Flat");
    if (HasFatalFailure())
        return;
    Form = MakeForm();
}

void SkinnedControlsTest::TearDown()
{
    Free(Form);
    SkinnedTest::TearDown();
}

void UnskinnedControlsTest::SetUp()
{
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
    ASSERT_EQ(DefaultManager(), nullptr);
    Form = MakeForm();
}

void UnskinnedControlsTest::TearDown()
{
    Free(Form);
    testsupport::PumpMessagesUntilIdle(200);
    Application->OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? "" : testsupport::Narrow(Errors.front()));
}
