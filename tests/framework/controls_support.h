// The host form and the small controls and routines shared by the common-control tests.
#pragma once

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Splitter.h"

#include "tests/framework/framework_support.h"

#include <string>
#include <vector>

// A form without data: each test places its controls on it in code.
class THostForm : public TForm {
    DECLARE_CLASS_NAME(THostForm)
public:
    explicit THostForm(TComponent* owner) : TForm(owner) {}
};

// A windowless control that paints itself in its colour.
class TColorShape : public TGraphicControl {
    DECLARE_CLASS_NAME(TColorShape)
public:
    explicit TColorShape(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A windowed control that paints itself in its colour.
class TColorPanel : public TCustomControl {
    DECLARE_CLASS_NAME(TColorPanel)
public:
    explicit TColorPanel(TComponent* owner) : TCustomControl(owner) { ControlStyle.Include(csAcceptsControls); }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// Every test gets a shown host form of 400 x 300 client pixels and the exceptions that reached the
// application's handler.
class ControlsTest : public ApplicationTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates a control owned by the form with the form as its parent.
    template <class T>
    T* Make(TWinControl* parent = nullptr)
    {
        T* control = Create<T>(form);
        control->SetParent(parent ? parent : form);
        return control;
    }
    // Sends a left click at a client point of a window.
    static void Click(HWND wnd, int x, int y);
    THostForm* form = nullptr;
};

std::wstring WindowText(HWND wnd);
