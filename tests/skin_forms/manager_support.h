// Windows that log the skin commands they hear, and stand-ins for the form-skinning layer's menu painter
// and dialogs hook.
#pragma once

#include "framework/Forms.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"

#include "tests/skin_forms/skin_forms_support.h"
#include "tests/support/test_support.h"

#include <string>
#include <utility>
#include <vector>

// One heard command: its number and its lParam.
using HeardCommand = std::pair<WORD, LPARAM>;

// What a listening window does with the skin commands: logs them; answers SkinCmdIsSkinned through
// LParam when Skinned (as skinned controls do) or through the result too when AnswersInResult (as
// providers do); answers SkinCmdGetProvider with Provider.
struct SkinCommandLog {
    bool Skinned = false;
    bool AnswersInResult = false;
    LRESULT Provider = 0;
    std::vector<HeardCommand> Heard;
    std::vector<WPARAM> Redraws; // WM_SETREDRAW values in the order they came
    // True when the message was a skin command and is answered.
    bool Handle(TMessage& m);
    std::vector<WORD> Commands() const;
};

class TListeningControl : public TCustomControl {
    DECLARE_CLASS_NAME(TListeningControl)
public:
    explicit TListeningControl(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 40, 30); }
    SkinCommandLog Log;
    void Dispatch(TMessage& m) override
    {
        if (!Log.Handle(m))
            TCustomControl::Dispatch(m);
    }
};

// A windowless control: it hears the commands through Perform.
class TListeningShape : public TGraphicControl {
    DECLARE_CLASS_NAME(TListeningShape)
public:
    explicit TListeningShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 10, 10); }
    SkinCommandLog Log;
    void Dispatch(TMessage& m) override
    {
        if (!Log.Handle(m))
            TGraphicControl::Dispatch(m);
    }
};

class TListeningForm : public TForm {
    DECLARE_CLASS_NAME(TListeningForm)
public:
    explicit TListeningForm(TComponent* owner) : TForm(owner) {}
    SkinCommandLog Log;
    std::vector<bool> HeldAtRefresh; // whether the form held its paints at each refresh it heard
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdRefresh)
            HeldAtRefresh.push_back(PaintsHeld());
        if (!Log.Handle(m))
            TForm::Dispatch(m);
    }
};

// The menu painter stand-in: records what the manager asks of it.
class TRecordingMenus : public IacSkinMenus {
public:
    explicit TRecordingMenus(TsSkinManager* owner) : Owner(owner) {}
    TsSkinManager* Owner;
    std::vector<int> BorderWidths;
    int UpdateActiveCalls = 0;
    std::vector<std::pair<HWND, TBitmap*>> Regions;
    void SetSkinBorderWidth(int value) override { BorderWidths.push_back(value); }
    void UpdateActive() override { ++UpdateActiveCalls; }
    void SetPopupRegion(HWND wnd, TBitmap* background) override { Regions.emplace_back(wnd, background); }
};

// Installs stand-ins for every entry of the form-skinning layer for the length of a test and counts
// what reaches them. Managers made while it lives get a TRecordingMenus.
class FormsLayerStandIn {
public:
    FormsLayerStandIn();
    ~FormsLayerStandIn();
    static FormsLayerStandIn* Current;
    static TRecordingMenus* MenusOf(TsSkinManager* sm) { return static_cast<TRecordingMenus*>(sm->SkinableMenus()); }

    int WindowsCreated = 0;     // HCBT_CREATEWND seen by the hook
    int ClearMenuWndsCalls = 0;
    TBitmap* PopupBackground = nullptr; // not owned
    TsSkinManager* ProviderManager = nullptr; // every provider answers with this manager
    std::vector<LRESULT> RefreshedProviders;

private:
    TacSkinLinks saved_; // the links before, given back at the end
};

// An object the dialogs hook made: counts its destruction.
class TCountedHookObject : public TObject {
public:
    explicit TCountedHookObject(int& destroyed) : destroyed_(destroyed) {}
    ~TCountedHookObject() override { ++destroyed_; }

private:
    int& destroyed_;
};

// Each test starts with a fresh temporary folder and the application's exception handler recording.
class ManagerTest : public SkinFormsTest {};
