// The demo form and its small controls shared by the windowed framework tests.
#pragma once

#include "framework/ActnList.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

#include "tests/framework/framework_support.h"

#include <string>
#include <vector>

// A windowed container that paints itself in its colour.
class TDemoPanel : public TCustomControl {
    DECLARE_CLASS_NAME(TDemoPanel)
public:
    explicit TDemoPanel(TComponent* owner) : TCustomControl(owner)
    {
        ControlStyle.Include(csAcceptsControls);
        SetBounds(0, 0, 50, 50);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A windowless control that paints itself in its colour and logs the mouse entering and leaving.
class TDemoShape : public TGraphicControl {
    DECLARE_CLASS_NAME(TDemoShape)
public:
    explicit TDemoShape(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<std::wstring> Log;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_MOUSEENTER)
            Log.push_back(L"enter");
        else if (m.Msg == CM_MOUSELEAVE)
            Log.push_back(L"leave");
        TGraphicControl::Dispatch(m);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A native edit control: a small subclass of "EDIT" that counts its reflected change notifications.
class TDemoEdit : public TWinControl {
    DECLARE_CLASS_NAME(TDemoEdit)
public:
    explicit TDemoEdit(TComponent* owner) : TWinControl(owner) { SetColor(clWindow); }
    int Changes = 0;
    std::vector<WORD> KeysDown;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE)
            ++Changes;
        if (m.Msg == WM_KEYDOWN)
            KeysDown.push_back(static_cast<WORD>(m.WParam));
        TWinControl::Dispatch(m);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TWinControl::CreateParams(params);
        CreateSubClass(params, L"EDIT");
        params.Style |= ES_AUTOHSCROLL | WS_BORDER;
    }
};

// A component that, once loaded, asks its form for the form's window (as a component broadcasting
// to the form's windows does while the rest of the form is still finishing its loading).
class TDemoBroadcaster : public TComponent {
    DECLARE_CLASS_NAME(TDemoBroadcaster)
public:
    explicit TDemoBroadcaster(TComponent* owner) : TComponent(owner) {}
    bool HandleBeforeLoaded = true;
    void Loaded() override
    {
        TComponent::Loaded();
        if (auto* form = dynamic_cast<TWinControl*>(Owner())) {
            HandleBeforeLoaded = form->HandleAllocated();
            form->Handle();
        }
    }
};

class TDemoForm : public TForm {
    DECLARE_CLASS_NAME(TDemoForm)
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner) {}

    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"FormCreate", this, &TDemoForm::FormCreate);
        b.Handler(L"FormActivate", this, &TDemoForm::FormActivate);
        b.Handler(L"PanelMouseDown", this, &TDemoForm::PanelMouseDown);
        b.Handler(L"OpenClick", this, &TDemoForm::OpenClick);
        b.Handler(L"CopyClick", this, &TDemoForm::CopyClick);
        b.Handler(L"SaveExecute", this, &TDemoForm::SaveExecute);
        b.Handler(L"OpenActionExecute", this, &TDemoForm::OpenActionExecute);
        b.Field(L"TopPanel", &TopPanel);
        b.Field(L"LeftPanel", &LeftPanel);
        b.Field(L"ClientPanel", &ClientPanel);
        b.Field(L"Corner", &Corner);
        b.Field(L"Shape", &Shape);
        b.Field(L"Edit", &Edit);
        b.Field(L"MainMenu", &MainMenu);
        b.Field(L"OpenItem", &OpenItem);
        b.Field(L"SaveItem", &SaveItem);
        b.Field(L"Popup", &Popup);
        b.Field(L"CopyItem", &CopyItem);
        b.Field(L"SaveAction", &SaveAction);
        b.Field(L"DeleteAction", &DeleteAction);
        b.Field(L"Broadcaster", &Broadcaster);
    }

    void FormCreate(TObject*)
    {
        Log.push_back(L"create " + std::to_wstring(ComponentCount()));
        HandleAtCreate = HandleAllocated();
    }
    void FormActivate(TObject*) { Log.push_back(L"activate"); }
    void PanelMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
    {
        Log.push_back(L"mousedown " + std::to_wstring(button) + L" " + std::to_wstring(x) + L"," + std::to_wstring(y));
    }
    void OpenClick(TObject*) { Log.push_back(L"open item"); }
    void CopyClick(TObject*) { Log.push_back(L"copy item"); }
    void SaveExecute(TObject*) { Log.push_back(L"save action"); }
    void OpenActionExecute(TObject*) { Log.push_back(L"open action"); }

    std::vector<std::wstring> Log;
    bool HandleAtCreate = false;
    TDemoBroadcaster* Broadcaster = nullptr;
    TDemoPanel* TopPanel = nullptr;
    TDemoPanel* LeftPanel = nullptr;
    TDemoPanel* ClientPanel = nullptr;
    TDemoPanel* Corner = nullptr;
    TDemoShape* Shape = nullptr;
    TDemoEdit* Edit = nullptr;
    TMainMenu* MainMenu = nullptr;
    TMenuItem* OpenItem = nullptr;
    TMenuItem* SaveItem = nullptr;
    TPopupMenu* Popup = nullptr;
    TMenuItem* CopyItem = nullptr;
    TAction* SaveAction = nullptr;
    TAction* DeleteAction = nullptr;
};

// Keys as the message loop sees them: the modifier state is set for this thread only.
void SetModifiers(bool ctrl, bool shift);
// Runs a key press through the application's message handling (shortcuts, then the control).
void PressKey(HWND target, WORD key, bool ctrl = false, bool shift = false);
// Makes the window the active one and waits until the system agrees (at most two seconds).
bool ActivateWindow(HWND wnd);
