// Adapted controls on a skinned form whose look changes from place to place: what shows through a
// button's transparent corners is the form's own background at the button's place.
#include "tests/skin_forms/provider_support.h"

#include "framework/ComCtrls.h"
#include "framework/RichEdit.h"
#include "framework/StdCtrls.h"
#include "skin/core/sMessages.h"
#include "skin/forms/acSBUtils.h"

#include <tuple>

using namespace providerskin;

namespace {

constexpr COLORREF kButtonFace = RGB(0x30, 0x90, 0xD0);

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%06X", static_cast<unsigned>(c));
    return text;
}

// "Gradient": the form runs from black at the top to white at the bottom; buttons have a border image of
// three states whose two outermost pixels at each corner are the key colour.
void WriteGradientSkin(const std::wstring& folder)
{
    const std::wstring dir = folder + L"\\Gradient\\";
    const std::string options = "[GLOBALINFO]\r\nVERSION=6\r\nCOLOR=0x808080\r\nFONTCOLOR=0x000000\r\n"
                                "[FORM]\r\nCOLOR=0x808080\r\nHOTCOLOR=0x808080\r\nGRADIENTPERCENT=100\r\n"
                                "GRADIENTDATA=0x000000;0xFFFFFF;100;0;0\r\nHOTGRADIENTPERCENT=100\r\n"
                                "HOTGRADIENTDATA=0x000000;0xFFFFFF;100;0;0\r\n"
                                "[FORMTITLE]\r\nCOLOR=0x202020\r\nHOTCOLOR=0x202020\r\n"
                                "[BUTTON]\r\nCOLOR=" + Hex(kButtonFace) + "\r\nHOTCOLOR=" + Hex(kButtonFace) +
                                "\r\nFONTCOLOR=0x000000\r\nBORDERSMASK=!BTN.BMP!3!0!0!4!4!4!4\r\n";
    testsupport::WriteFileBytes(dir + L"Options.dat", options);
    constexpr int f = 12;
    testsupport::WriteFileBytes(dir + L"BTN.BMP", BitmapFile(f * 3, f, [](int x, int y) {
                                    const int fx = x % f;
                                    const int cx = fx < f / 2 ? fx : f - 1 - fx;
                                    const int cy = y < f / 2 ? y : f - 1 - y;
                                    return cx + cy <= 1 ? RGB(255, 0, 255) : kButtonFace;
                                }));
}

} // namespace

class ChildBackgroundTest : public ProviderTest {};

TEST_F(ChildBackgroundTest, ButtonCornersShowTheGradientFormAtTheButtonsPlace)
{
    WriteGradientSkin(Folder());
    Manager->SetSkinName(L"Gradient");
    ASSERT_TRUE(Manager->SkinData()->Active);
    auto* button = Create<TButton>(Form);
    button->SetBounds(40, 60, 80, 30);
    button->SetCaption(L"ОК");
    button->SetParent(Form);
    TsSkinProvider* p = Attach();
    TacMainWnd* adapter = AdapterOfWindow(button->Handle());
    ASSERT_NE(adapter, nullptr);
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpMessagesUntilIdle(300);
    TBitmap* cache = adapter->SkinData->CacheBmp();
    ASSERT_TRUE(cache && cache->Width() == 80);
    // The button's place in the form's frame bitmap: its client position past the frame.
    TBitmap* frame = p->SkinData()->CacheBmp();
    const int fx = p->ClientOffsetX() + 40, fy = p->ClientOffsetY() + 60;
    auto pixel = [](TBitmap* bmp, int x, int y) {
        return static_cast<COLORREF>(GetPixel(bmp->Canvas()->Handle(), x, y));
    };
    // The form behind really changes from row to row, so a wrong place would show.
    ASSERT_NE(pixel(frame, fx, fy), pixel(frame, fx, fy + p->ClientOffsetY()));
    EXPECT_EQ(pixel(cache, 0, 0), pixel(frame, fx, fy));
    EXPECT_EQ(pixel(cache, 79, 29), pixel(frame, fx + 79, fy + 29));
    EXPECT_EQ(pixel(cache, 40, 1), kButtonFace);
}

namespace {

constexpr COLORREF kDayButton = RGB(0xD0, 0xB0, 0x40), kNightButton = RGB(0x20, 0x40, 0x90);
constexpr COLORREF kDayEdit = RGB(0xF0, 0xE0, 0xA0), kNightEdit = RGB(0x10, 0x30, 0x20);

// Flat skins told apart by the colours of their buttons and edits.
void WriteFlatSkin(const std::wstring& folder, const std::wstring& name, COLORREF button, COLORREF edit)
{
    const std::string options = "[GLOBALINFO]\r\nVERSION=6\r\nCOLOR=0x808080\r\nFONTCOLOR=0x000000\r\n"
                                "[FORM]\r\nCOLOR=0x808080\r\nHOTCOLOR=0x808080\r\n"
                                "[FORMTITLE]\r\nCOLOR=0x202020\r\nHOTCOLOR=0x202020\r\n"
                                "[BUTTON]\r\nCOLOR=" + Hex(button) + "\r\nHOTCOLOR=" + Hex(button) +
                                "\r\nFONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n"
                                "[EDIT]\r\nCOLOR=" + Hex(edit) + "\r\nHOTCOLOR=" + Hex(edit) +
                                "\r\nFONTCOLOR=0xFFFFFF\r\nHOTFONTCOLOR=0xFFFFFF\r\n";
    testsupport::WriteFileBytes(folder + L"\\" + name + L"\\Options.dat", options);
}

} // namespace

// After a change of skin, what the screen shows of the form's controls is drawn in the new skin: no
// control keeps the old look where the change left nothing for it to paint.
TEST_F(ChildBackgroundTest, ControlsOnTheScreenTakeTheNewSkinAfterEachChange)
{
    WriteFlatSkin(Folder(), L"Day", kDayButton, kDayEdit);
    WriteFlatSkin(Folder(), L"Night", kNightButton, kNightEdit);
    Manager->SetSkinName(L"Day");
    auto* button = Create<TButton>(Form);
    button->SetBounds(20, 20, 90, 30);
    button->SetCaption(L"ОК");
    button->SetParent(Form);
    auto* edit = Create<TEdit>(Form);
    edit->SetBounds(20, 80, 150, 24);
    edit->SetParent(Form);
    TsSkinProvider* p = Attach();
    ASSERT_NE(AdapterOfWindow(button->Handle()), nullptr);
    ASSERT_NE(AdapterOfWindow(edit->Handle()), nullptr);
    const int ox = p->ClientOffsetX(), oy = p->ClientOffsetY();
    const auto seen = [&](COLORREF buttonColour, COLORREF editColour, const wchar_t* shot) {
        const testsupport::Pixels24 pix = OnScreen();
        ASSERT_GT(pix.width, 0);
        // Left of the caption in the button; right of the (empty) text in the edit.
        EXPECT_EQ(pix.At(ox + 20 + 6, oy + 20 + 15), buttonColour) << testsupport::Narrow(shot);
        EXPECT_EQ(pix.At(ox + 20 + 140, oy + 80 + 12), editColour) << testsupport::Narrow(shot);
        if (HasFailure())
            Keep(pix, shot);
    };
    seen(kDayButton, kDayEdit, L"day");
    for (const auto& [name, buttonColour, editColour] :
         {std::tuple{L"Night", kNightButton, kNightEdit}, std::tuple{L"Day", kDayButton, kDayEdit},
          std::tuple{L"Night", kNightButton, kNightEdit}}) {
        Manager->SetSkinName(name);
        testsupport::PumpMessagesUntilIdle(300);
        seen(buttonColour, editColour, name);
    }
}

namespace {

// The whole window as the screen shows it now, without painting it first.
testsupport::Pixels24 ScreenAsItIs(HWND wnd)
{
    RECT r;
    GetWindowRect(wnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC source = GetWindowDC(wnd);
    testsupport::Pixels24 pix = testsupport::DrawnPixels(
        r.right, r.bottom, source, [&](HDC memory) { BitBlt(memory, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY); });
    ReleaseDC(wnd, source);
    return pix;
}

// The last child a skin change tells of its refresh: it copies what the screen shows of its form at
// that moment, when every other window of the form has heard the refresh and the form has not yet
// been painted again.
class TRefreshWitness : public TCustomControl {
    DECLARE_CLASS_NAME(TRefreshWitness)
public:
    explicit TRefreshWitness(TComponent* owner) : TCustomControl(owner) { SetBounds(300, 200, 4, 4); }
    HWND Shown = nullptr;
    std::vector<testsupport::Pixels24> Seen;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdIsSkinned) {
            m.LParam = 1;
            return;
        }
        if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdRefresh) {
            Seen.push_back(ScreenAsItIs(Shown));
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

} // namespace

// While a change of skin is under way nothing of the form reaches the screen, neither the old look
// nor half of the new one; when it ends the form shows exactly what painting it afresh in the new skin
// shows, frame and every control.
TEST_F(ChildBackgroundTest, ASkinChangeShowsNothingUntilTheWholeFormShowsTheNewSkin)
{
    WriteFlatSkin(Folder(), L"Day", kDayButton, kDayEdit);
    WriteFlatSkin(Folder(), L"Night", kNightButton, kNightEdit);
    Manager->SetSkinName(L"Day");
    auto* button = Create<TButton>(Form);
    button->SetBounds(10, 10, 80, 26);
    button->SetCaption(L"ОК");
    button->SetParent(Form);
    auto* edit = Create<TEdit>(Form);
    edit->SetBounds(100, 10, 100, 22);
    edit->SetText(L"Суп");
    edit->SetParent(Form);
    auto* combo = Create<TComboBox>(Form);
    combo->SetBounds(210, 10, 90, 22);
    combo->SetParent(Form);
    auto* list = Create<TListBox>(Form);
    list->SetBounds(10, 45, 90, 60);
    list->SetParent(Form);
    list->Items()->Add(L"Борщ");
    auto* view = Create<TListView>(Form);
    view->SetBounds(110, 45, 90, 60);
    view->SetViewStyle(vsList);
    view->SetParent(Form);
    view->Items()->Add()->SetCaption(L"Щи");
    auto* rich = Create<TRichEdit>(Form);
    rich->SetBounds(210, 45, 90, 60);
    rich->SetParent(Form);
    rich->SetText(L"Каша");
    auto* witness = Create<TRefreshWitness>(Form);
    witness->SetParent(Form);
    witness->Shown = Wnd;
    Attach();
    ASSERT_NE(AdapterOfWindow(edit->Handle()), nullptr);
    testsupport::CaptureWindow(Wnd, true);
    for (const wchar_t* name : {L"Night", L"Day", L"Night"}) {
        const testsupport::Pixels24 before = ScreenAsItIs(Wnd);
        witness->Seen.clear();
        Manager->SetSkinName(name);
        const testsupport::Pixels24 after = ScreenAsItIs(Wnd);
        ASSERT_FALSE(witness->Seen.empty()) << testsupport::Narrow(name);
        for (const testsupport::Pixels24& meanwhile : witness->Seen) {
            EXPECT_EQ(meanwhile.DifferingPixels(before), 0) << testsupport::Narrow(name);
            if (HasFailure())
                Keep(meanwhile, std::wstring(name) + L"_meanwhile");
        }
        const testsupport::Pixels24 fresh = testsupport::CaptureWindow(Wnd, true);
        EXPECT_NE(fresh.DifferingPixels(before), 0) << testsupport::Narrow(name);
        EXPECT_EQ(after.DifferingPixels(fresh), 0) << testsupport::Narrow(name);
        if (HasFailure()) {
            Keep(after, std::wstring(name) + L"_after");
            Keep(fresh, std::wstring(name) + L"_fresh");
            return;
        }
    }
}
