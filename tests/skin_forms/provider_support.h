// A skin made for the frame tests (flat colours per section, caption buttons with a colour per button
// and state, a border with cut corners), a form that logs what reaches its own procedure, and the
// fixture that puts a provider on it under a loaded skin.
#pragma once

#include "framework/Forms.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSystemMenu.h"

#include "tests/skin_forms/skin_forms_support.h"
#include "tests/support/test_support.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace providerskin {

// Section colours of the skin "Alpha"; "Beta" has other form and caption colours and no small buttons.
constexpr COLORREF kFormColor = RGB(0x50, 0x80, 0x50);
constexpr COLORREF kBetaFormColor = RGB(0x90, 0x50, 0x20);
constexpr COLORREF kGlobalColor = RGB(0xE0, 0xD0, 0xC0);
constexpr COLORREF kBorderActive = RGB(0x20, 0x60, 0xC0);
constexpr COLORREF kBorderInactive = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kTitleActive = RGB(0x00, 0x30, 0x7F);
constexpr COLORREF kTitleInactive = RGB(0x30, 0x30, 0x30);
constexpr COLORREF kBetaTitleActive = RGB(0x7F, 0x10, 0x10);
constexpr COLORREF kTitleText = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kGripColor = RGB(0xEE, 0x11, 0x77);
// The system dialogs' frame and client, and their push buttons.
constexpr COLORREF kDialogColor = RGB(0x40, 0xA0, 0x90);
constexpr COLORREF kDialogButtonColor = RGB(0xB0, 0x70, 0xD0);

// Caption-button images: one colour per kind and state.
enum ButtonKind { bkClose, bkMax, bkMin, bkNorm, bkHelp, bkTitle, bkSmallClose, bkSmallMax, bkSmallMin };
COLORREF ButtonColor(ButtonKind kind, int state);
constexpr int kBigButtonWidth = 18, kBigButtonHeight = 16;
constexpr int kSmallButtonWidth = 12, kSmallButtonHeight = 12;
constexpr int kBorderFrame = 16; // one state of the form's border image, kBorderWidth wide at each side
constexpr int kBorderWidth = 4;

// A 24-bit BMP file of the given pixels.
std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& pixel);
// Writes Folder\Name with Options.dat and its images, each text of Edits in Options.dat replaced once.
using SkinEdits = std::vector<std::pair<std::string, std::string>>;
void WriteSkin(const std::wstring& folder, const std::wstring& name, bool beta, const SkinEdits& edits = {});
// A folder that the manager lists as a skin (its Options.dat only).
void WriteSkinStub(const std::wstring& folder, const std::wstring& name);

} // namespace providerskin

// A form that records the messages its own window procedure receives.
class TLoggingForm : public TForm {
    DECLARE_CLASS_NAME(TLoggingForm)
public:
    explicit TLoggingForm(TComponent* owner) : TForm(owner) {}
    std::vector<UINT> Received;
    bool HasReceived(UINT msg) const;
    void Dispatch(TMessage& message) override
    {
        Received.push_back(message.Msg);
        TForm::Dispatch(message);
    }
};

// Each test: the skins "Alpha" and "Beta" in a fresh skin directory, "Alpha" loaded by a fresh default
// manager, and a visible, active form at (100, 100), 320 x 220, captioned "Тест".
class ProviderTest : public SkinFormsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A provider on the form (owned by the form), after its first paint.
    TsSkinProvider* Attach();
    // The form's screen rectangle.
    RECT WindowRect() const;
    // A screen point from a point in window coordinates.
    LPARAM ScreenPoint(int x, int y) const;
    LPARAM ScreenPoint(const TRect& r) const { return ScreenPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
    int HitTest(int x, int y) const;
    // The whole window as the provider prints it (frame and client), and as the screen shows it.
    testsupport::Pixels24 Printed() const;
    testsupport::Pixels24 OnScreen() const;
    // Saves Pixels beside the test log for a failure report.
    void Keep(const testsupport::Pixels24& pixels, const std::wstring& name) const;

    TsSkinManager* Manager = nullptr; // owned by the test
    // The manager's rules: without srStdForms the dialogs hook leaves the form to the provider a test
    // attaches itself.
    TacSkinningRules Rules = {srStdDialogs, srThirdParty};
    TLoggingForm* Form = nullptr;     // owned by the application
    HWND Wnd = nullptr;
};

// Drags Wnd by its caption from the screen point (X, Y) by (DX, DY) and lets go: one move in between.
void DragCaptionBy(HWND wnd, int x, int y, int dx, int dy);

// Runs Action while a popup menu is open (closing it afterwards); false when no popup opened.
bool WhileMenuOpen(const std::function<void()>& open, const std::function<void()>& action);
