// The link label: what it asks the shell to open, how it sizes itself to its caption and the colours
// it draws in (hover, shadow, disabled).
#include "tests/app/widgets_support.h"

#include "framework/StdCtrls.h"
#include "widgets/ASLink.h"

#include <functional>

#include <string>
#include <vector>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

// A link whose shell is a recorder: no browser or mail program runs here.
class TRecordingLink : public TASLink {
public:
    explicit TRecordingLink(TComponent* owner) : TASLink(owner) {}
    std::vector<std::wstring> Opened;
    std::vector<std::wstring>* Log = nullptr;
    INT_PTR ShellResult = 42;

protected:
    INT_PTR ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
                      int showCommand) override
    {
        EXPECT_TRUE(parameters.empty());
        EXPECT_TRUE(directory.empty());
        EXPECT_EQ(showCommand, SW_SHOWNOACTIVATE);
        Opened.push_back(file);
        if (Log)
            Log->push_back(L"shell");
        return ShellResult;
    }
};

class LinkLabel : public ::testing::Test {
protected:
    void SetUp() override { form = MakeHostForm(300, 120, clWhite); }
    void TearDown() override
    {
        Free(form);
        PumpApplication();
    }
    TRecordingLink* AddLink(const std::wstring& caption)
    {
        auto* link = Create<TRecordingLink>(form);
        link->SetParent(form);
        link->SetLeft(10);
        link->SetTop(10);
        link->SetCaption(caption);
        return link;
    }
    Pixels24 Capture() { return CaptureWindow(form->Handle()); }

    TForm* form = nullptr;
};

int CountPixels(const Pixels24& p, COLORREF color)
{
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            n += p.At(x, y) == color;
    return n;
}

// The leftmost column holding a pixel of that colour (inside the control, when one is given), or -1.
int LeftmostColumn(const Pixels24& p, COLORREF color, const TControl* within = nullptr)
{
    const int x0 = within ? within->Left() : 0, x1 = within ? within->Left() + within->Width() : p.width;
    const int y0 = within ? within->Top() : 0, y1 = within ? within->Top() + within->Height() : p.height;
    for (int x = x0; x < x1; ++x)
        for (int y = y0; y < y1; ++y)
            if (p.At(x, y) == color)
                return x;
    return -1;
}

void UseBigFont(TASLink* link, TColor color)
{
    link->Font()->SetName(L"Arial");
    link->Font()->SetHeight(-28);
    link->Font()->SetStyle(TFontStyles{fsBold});
    link->Font()->SetColor(color);
}

} // namespace

// ---- Opening ----

TEST_F(LinkLabel, MailLinkIsTheCaptionBehindTheMailtoScheme)
{
    auto* link = AddLink(L"cook@example.org");
    std::vector<std::wstring> log;
    link->Log = &log;
    link->OnClick = [&](TObject*) { log.push_back(L"click"); };
    link->Click();
    ASSERT_EQ(link->Opened.size(), 1u);
    EXPECT_EQ(link->Opened[0], L"mailto:cook@example.org");
    EXPECT_EQ(log, (std::vector<std::wstring>{L"click", L"shell"}));
}

TEST_F(LinkLabel, EveryTypeAddsItsOwnScheme)
{
    auto* link = AddLink(L"host/path");
    const std::vector<std::pair<TURLType, std::wstring>> expected = {
        {utFile, L"file://host/path"}, {utFtp, L"ftp://host/path"},     {utGopher, L"gopher://host/path"},
        {utHttp, L"http://host/path"}, {utHttps, L"https://host/path"}, {utMailto, L"mailto:host/path"},
        {utNews, L"news:host/path"},   {utTelnet, L"telnet:host/path"}, {utWais, L"wais:host/path"}};
    for (const auto& [type, text] : expected) {
        link->SetURLType(type);
        EXPECT_TRUE(link->OpenLink());
        EXPECT_EQ(link->Opened.back(), text);
    }
}

TEST_F(LinkLabel, WithoutTheSchemeTheCaptionIsOpenedUnchanged)
{
    auto* link = AddLink(L"www.example.org/recipes");
    link->SetURLType(utHttp);
    link->SetURLTypeAdd(false);
    link->Click();
    ASSERT_EQ(link->Opened.size(), 1u);
    EXPECT_EQ(link->Opened[0], L"www.example.org/recipes");
}

TEST_F(LinkLabel, DisabledLinkOnlyFiresOnClick)
{
    auto* link = AddLink(L"0123 4567 8901");
    link->SetURLEnabled(false);
    int clicks = 0;
    link->OnClick = [&](TObject*) { ++clicks; };
    link->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(link->Opened.empty());
    EXPECT_FALSE(link->OpenLink());
}

TEST_F(LinkLabel, EmptyCaptionOpensNothing)
{
    auto* link = AddLink(L"");
    EXPECT_FALSE(link->OpenLink());
    EXPECT_TRUE(link->Opened.empty());
}

TEST_F(LinkLabel, SuccessIsAShellResultAboveThirtyTwo)
{
    auto* link = AddLink(L"cook@example.org");
    link->ShellResult = 32;
    EXPECT_FALSE(link->OpenLink());
    link->ShellResult = 33;
    EXPECT_TRUE(link->OpenLink());
}

TEST_F(LinkLabel, LongLinksArePassedWhole)
{
    std::wstring address(300, L'ж');
    address += L"@example.org";
    auto* link = AddLink(address);
    EXPECT_TRUE(link->OpenLink());
    ASSERT_EQ(link->Opened.size(), 1u);
    EXPECT_EQ(link->Opened[0], L"mailto:" + address);
}

// ---- Size ----

TEST_F(LinkLabel, LoneAmpersandAndEmptyCaptionSizeToOneBlank)
{
    auto* link = AddLink(L" ");
    const int blankWidth = link->Width();
    const int blankHeight = link->Height();
    EXPECT_GT(blankWidth, 2);
    link->SetCaption(L"&");
    EXPECT_EQ(link->Width(), blankWidth);
    EXPECT_EQ(link->Height(), blankHeight);
    link->SetCaption(L"");
    EXPECT_EQ(link->Width(), blankWidth);
}

TEST_F(LinkLabel, SizeIsTheTextPlusTheShadowAndOnePixelEachSide)
{
    auto* link = AddLink(L"Написать письмо");
    link->SetShadowSize(0);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, link->Font()->Handle());
    SIZE extent{};
    const std::wstring text = L"Написать письмо";
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(link->Width(), extent.cx + 2);
    EXPECT_EQ(link->Height(), extent.cy);
    link->SetShadowSize(3);
    EXPECT_EQ(link->Width(), extent.cx + 2 + 3);
    EXPECT_EQ(link->Height(), extent.cy + 3);
}

TEST_F(LinkLabel, RightAlignedLabelKeepsItsRightEdgeWhenItsTextGrows)
{
    auto* link = AddLink(L"ab");
    link->SetAlignment(taRightJustify);
    const int right = link->Left() + link->Width();
    link->SetCaption(L"a much longer caption");
    EXPECT_EQ(link->Left() + link->Width(), right);
    EXPECT_LT(link->Left(), 10);
}

TEST_F(LinkLabel, WithoutAutoSizeTheBoundsStay)
{
    auto* link = AddLink(L"x");
    link->SetAutoSize(false);
    link->SetBounds(10, 10, 150, 40);
    link->SetCaption(L"a much longer caption than before");
    EXPECT_EQ(link->Width(), 150);
    EXPECT_EQ(link->Height(), 40);
}

// ---- Colours ----

TEST_F(LinkLabel, MouseOverShowsTheLinkColourAndLeavingRestoresTheFont)
{
    auto* link = AddLink(L"ЖЖЖ");
    UseBigFont(link, clBlack);
    link->SetShadowSize(0);
    const COLORREF blue = RGB(0, 0, 255);
    EXPECT_EQ(CountPixels(Capture(), blue), 0);
    link->Perform(CM_MOUSEENTER);
    EXPECT_EQ(link->Font()->Color(), 0xFF0000);
    EXPECT_GT(CountPixels(Capture(), blue), 50);
    link->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(link->Font()->Color(), clBlack);
    const Pixels24 after = Capture();
    EXPECT_EQ(CountPixels(after, blue), 0);
    EXPECT_GT(CountPixels(after, RGB(0, 0, 0)), 50);
}

TEST_F(LinkLabel, ShadowLiesOnTheSideItsPositionNames)
{
    auto* link = AddLink(L"ЖЖЖ");
    UseBigFont(link, clBlack);
    link->SetShadowSize(3);
    link->SetShadowColor(clRed);
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF black = RGB(0, 0, 0);

    link->SetShadowPos(spLeftTop);
    Pixels24 p = Capture();
    EXPECT_EQ(LeftmostColumn(p, red) + 3, LeftmostColumn(p, black));

    link->SetShadowPos(spRightBottom);
    p = Capture();
    EXPECT_EQ(LeftmostColumn(p, black) + 3, LeftmostColumn(p, red));
}

TEST_F(LinkLabel, DisabledLabelWithoutShadowIsEmbossedInGreyAndHighlight)
{
    auto* link = AddLink(L"ЖЖЖ");
    UseBigFont(link, clBlack);
    link->SetShadowSize(0);
    link->SetTransparent(false);
    link->SetColor(clBlack);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(grey, highlight);
    const Pixels24 before = Capture();
    EXPECT_EQ(CountPixels(before, grey), 0);
    link->SetEnabled(false);
    const Pixels24 p = Capture();
    EXPECT_GT(CountPixels(p, grey), 50);
    EXPECT_GT(CountPixels(p, highlight), CountPixels(before, highlight) + 20);
    // The highlight lies one pixel right and below the grey text.
    EXPECT_EQ(LeftmostColumn(p, grey, link) + 1, LeftmostColumn(p, highlight, link));
}

TEST_F(LinkLabel, OpaqueLabelFillsItsRectangleWithItsColour)
{
    auto* link = AddLink(L"abc");
    link->SetTransparent(false);
    link->SetColor(clYellow);
    const Pixels24 p = Capture();
    EXPECT_EQ(p.At(link->Left() + 1, link->Top() + 1), RGB(255, 255, 0));
    EXPECT_EQ(p.At(link->Left() + link->Width() + 2, link->Top() + 1), RGB(255, 255, 255));
}

// ---- Focus control ----

TEST_F(LinkLabel, FreeingTheFocusControlClearsIt)
{
    auto* link = AddLink(L"&Почта");
    auto* panel = Create<TCustomControl>(form);
    panel->SetParent(form);
    link->SetFocusControl(panel);
    Free(panel);
    EXPECT_EQ(link->FocusControl(), nullptr);
}

TEST_F(LinkLabel, AcceleratorAnswersOnlyForItsOwnLetterWithAFocusControl)
{
    auto* link = AddLink(L"&Почта");
    EXPECT_EQ(link->Perform(CM_DIALOGCHAR, L'п'), 0);
    auto* target = Create<TCustomControl>(form);
    target->SetParent(form);
    target->SetBounds(10, 60, 40, 20);
    target->SetTabStop(true);
    link->SetFocusControl(target);
    EXPECT_EQ(link->Perform(CM_DIALOGCHAR, L'x'), 0);
    EXPECT_EQ(link->Perform(CM_DIALOGCHAR, L'п'), 1);
    link->SetShowAccelChar(false);
    EXPECT_EQ(link->Perform(CM_DIALOGCHAR, L'п'), 0);
}

// ---- Keyboard, through the form ----

namespace {

// Runs queued messages through the application (as its loop does, keys included) until done holds.
bool PumpUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 200 && !done(); ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            Application->ProcessMessage(msg);
        Sleep(10);
    }
    return done();
}

// Dark pixels on the one-pixel ring just outside the caption's text: where the focus frame lies.
int FramePixels(const Pixels24& p, const TControl* link)
{
    int n = 0;
    for (int y = link->Top(); y < link->Top() + link->Height(); ++y)
        for (int x = link->Left(); x < link->Left() + link->Width(); ++x) {
            const bool ring = x == link->Left() || x == link->Left() + link->Width() - 1 || y == link->Top() ||
                              y == link->Top() + link->Height() - 1;
            const COLORREF c = p.At(x, y);
            n += ring && GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
        }
    return n;
}

} // namespace

TEST_F(LinkLabel, RealKeysReachTheAcceleratorAndTheFocusFrameThroughTheForm)
{
    auto* first = Create<TEdit>(form);
    first->SetParent(form);
    first->SetBounds(10, 60, 80, 22);
    auto* target = Create<TEdit>(form);
    target->SetParent(form);
    target->SetBounds(120, 60, 80, 22);
    auto* link = AddLink(L"&Mail");
    link->SetShowFocus(true);
    link->SetFocusControl(target);
    // Shown again, the form has no control chosen: its first tab stop takes the focus.
    form->Hide();
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == first->Handle(); }));
    EXPECT_EQ(form->ActiveControl(), first);
    const int before = FramePixels(Capture(), link);

    testsupport::PressKeys({VK_MENU, 'M'});
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == target->Handle(); }));
    EXPECT_GT(FramePixels(Capture(), link), before + 4);

    testsupport::PressKeys({VK_TAB});
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == first->Handle(); }));
    EXPECT_EQ(FramePixels(Capture(), link), before);
}
