// A form to put standard controls on, pixel counts and
// searches for the windows of modal loops.
#pragma once

#include "framework/Forms.h"

#include "tests/framework/framework_support.h"

#include <functional>
#include <string>
#include <vector>

// A shown form of a known client size with a plain background, and the exceptions that reached the
// application's handler during the test.
class StdControlsTest : public ApplicationTest {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T>
    T* Add(int left, int top, int width, int height)
    {
        T* control = Create<T>(form);
        control->SetBounds(left, top, width, height);
        control->SetParent(form);
        return control;
    }

    TForm* form = nullptr;
};

// How many pixels of the picture have exactly this colour.
int CountColor(const testsupport::Pixels24& pixels, COLORREF color);
// Whether some pixel is "mostly" of the colour's hue: within tolerance on every channel.
bool HasColorNear(const testsupport::Pixels24& pixels, COLORREF color, int tolerance);

// Runs action on this thread's message loop every few milliseconds while a modal loop runs, until it
// returns True (then it stops).
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<bool()> action);
    ~ModalWatcher();

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
};

// A fresh folder under the temporary folder, removed with its contents when this goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

private:
    std::wstring folder_;
};

// The top-level window of this thread with the given class name, or nullptr.
HWND FindThreadWindow(const wchar_t* className);
