// The message and confirmation boxes the recipe store shows, behind an interface so that the store's
// operations run the same with real boxes and with scripted answers.
#pragma once

#include "framework/WinApi.h"

#include <string>

class TStoreDialogs {
public:
    virtual ~TStoreDialogs() = default;
    // A plain message box with an OK button.
    virtual void ShowMessage(const std::wstring& text) = 0;
    // An information box with an OK button.
    virtual void ShowInformation(const std::wstring& text) = 0;
    // A warning box with an OK button.
    virtual void ShowWarning(const std::wstring& text) = 0;
    // A confirmation box with Yes and No; true on Yes.
    virtual bool Confirm(const std::wstring& text) = 0;
};

// The boxes as Win32 message boxes owned by a window (the main window, or none).
class TMessageBoxDialogs : public TStoreDialogs {
public:
    TMessageBoxDialogs(HWND owner, std::wstring title) : owner_(owner), title_(std::move(title)) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShowMessage(const std::wstring& text) override;
    void ShowInformation(const std::wstring& text) override;
    void ShowWarning(const std::wstring& text) override;
    bool Confirm(const std::wstring& text) override;

private:
    HWND owner_; // borrowed
    std::wstring title_;
};
