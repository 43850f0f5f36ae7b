#include "tests/skin_controls/bars_support.h"

#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "tests/skin_core/test_skin.h"

#include <functional>
#include <string>

namespace {

// State frames side by side, each of one colour.
std::string FramesFile(const COLORREF* colors, int count, int frameWidth, int height)
{
    return testskin::BitmapFile(frameWidth * count, height, [=](int x, int) { return colors[x / frameWidth]; });
}

// Glyph frames over a black mask half: every frame pixel is drawn as it is.
std::string GlyphFile(const COLORREF* colors, int count, int frameWidth, int height)
{
    return testskin::BitmapFile(frameWidth * count, height * 2,
                      [=](int x, int y) { return y < height ? colors[x / frameWidth] : RGB(0, 0, 0); });
}

std::string Number(COLORREF c)
{
    return std::to_string(static_cast<unsigned long>(c));
}

std::string Options(COLORREF statusColor)
{
    using namespace barskin;
    return "[GLOBALINFO]\r\nVERSION=6.5\r\nCOLOR=14737632\r\nFONTCOLOR=2105376\r\nHOTCOLOR=16777215\r\n"
           "GRIPIMAGE=!GRIP.BMP!3!1!2\r\n"
           "[FORM]\r\nCOLOR=" + Number(kFormColor) + "\r\n"
           "[STATUSBAR]\r\nCOLOR=" + Number(statusColor) + "\r\nFONTCOLOR=" + Number(kStatusFont) + "\r\n"
           "[MASKEDBAR]\r\nPARENTCLASS=STATUSBAR\r\nSTATUSPANELMASK=!PANEL.BMP!1!0!0\r\n"
           "[DIVIDER]\r\nCOLOR=" + Number(kDividerColor) + "\r\nBORDERSMASK=!DIVIDER.BMP!3!0!0\r\n"
           "[TOOLBAR]\r\nCOLOR=" + Number(kToolBarColor) + "\r\n"
           "[TOOLBUTTON]\r\nCOLOR=" + Number(kButtonColors[0]) + "\r\nHOTCOLOR=" + Number(kButtonColors[1]) +
           "\r\nFONTCOLOR=" + Number(kButtonFont) + "\r\nHOTFONTCOLOR=" + Number(kButtonFont) +
           "\r\nBORDERSMASK=!TBUTTON.BMP!3!0!0\r\n"
           "[SPLITTER]\r\nCOLOR=" + Number(kSplitterColors[0]) + "\r\nHOTCOLOR=" + Number(kSplitterColors[1]) +
           "\r\nBORDERSMASK=!SPLIT.BMP!3!0!0\r\n"
           "[COMBOBOX]\r\nGLYPHMASK=!ARROW.BMP!3!1!2\r\n";
}

void WriteSkin(const std::wstring& folder, COLORREF statusColor)
{
    using namespace barskin;
    const COLORREF divider[3] = {kDividerColor, kDividerColor, kDividerColor};
    const COLORREF panel[1] = {kPanelMaskColor};
    const COLORREF grip[3] = {kGripColor, kGripColor, kGripColor};
    const struct {
        const wchar_t* name;
        std::string bytes;
    } files[] = {
        {L"Options.dat", Options(statusColor)},
        {L"DIVIDER.BMP", FramesFile(divider, 3, 4, 12)},
        {L"PANEL.BMP", FramesFile(panel, 1, 9, 9)},
        {L"GRIP.BMP", GlyphFile(grip, 3, kGripFrameWidth, kGripHeight)},
        {L"TBUTTON.BMP", FramesFile(kButtonColors, 3, 9, 9)},
        {L"SPLIT.BMP", FramesFile(kSplitterColors, 3, 6, 6)},
        {L"ARROW.BMP", GlyphFile(kArrowColors, 3, kArrowFrameWidth, kArrowHeight)},
    };
    for (const auto& f : files)
        testsupport::WriteFileBytes(folder + L"\\" + f.name, f.bytes);
}

} // namespace

namespace barskin {

void WriteSkins(const std::wstring& folder)
{
    WriteSkin(folder + L"\\Bars", kStatusColor);
    WriteSkin(folder + L"\\Bars2", kStatusColor2);
}

} // namespace barskin

void BarsTest::SetUp()
{
    SkinnedTest::SetUp();
    if (HasFatalFailure())
        return;
    barskin::WriteSkins(Folder());
    Form = Create<TForm>(Application);
    Form->SetBounds(40, 40, 420, 260);
    Form->SetColor(static_cast<TColor>(barskin::kFormColor));
}

void BarsTest::MakeManager()
{
    // The bars are tested on a plain form: without the forms rule the dialogs hook gives it no frame
    // skinning of its own at its first activation.
    const TacSkinningRules rules{srStdDialogs, srThirdParty};
    LoadSkin(L"Bars", &rules);
}

void BarsTest::TearDown()
{
    Free(Form);
    SkinnedTest::TearDown();
}

void BarsTest::LoadControl(TComponent* control)
{
    control->SetComponentState(csLoading);
    control->Loaded();
}

testsupport::Pixels24 BarsTest::Shot()
{
    return testsupport::CaptureWindow(Form->Handle());
}

int BarsTest::CountColor(const testsupport::Pixels24& shot, const TRect& r, COLORREF color)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (x >= 0 && y >= 0 && x < shot.width && y < shot.height && shot.At(x, y) == color)
                ++n;
    return n;
}
