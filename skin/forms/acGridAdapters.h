// The adapters of grids and of a tree control of another vendor: their colours live in published
// properties of the control, which the adapters set from the skin by name and give back afterwards.
#pragma once

#include "skin/forms/acEditAdapters.h"

#include <cstdint>

class TacGridWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    std::wstring ClassName() const override { return L"TacGridWnd"; }
    void StoreWindowParams() override;
    void RestoreWindowParams() override;
    void PrepareSkinParams() override;
    void WndProc(TMessage& message) override;

    // The control's own values; -1 for a property the control lacks.
    std::int64_t SavedFixedColor = -1;
    std::int64_t SavedFooterColor = -1;
    std::int64_t SavedFooterCellColor = -1;
    std::int64_t SavedTitleFontColor = -1;
    std::int64_t SavedTitleColor = -1;
    std::int64_t SavedIndicatorIconColor = -1;

private:
    // The grid's control as published object, nil for a foreign window.
    TPersistent* Grid() const;
    // "TDBAdvGrid" keeps its fixed font and its columns' colours.
    bool KeepsColumnColours() const;
    void ThumbToDataSource(TMessage& message);
    void PrintClient(TMessage& message);
};

class TacGridEhWnd : public TacGridWnd {
public:
    using TacGridWnd::TacGridWnd;
    std::wstring ClassName() const override { return L"TacGridEhWnd"; }
    void WndProc(TMessage& message) override;
};

TacAdapterPtr<> MakeGridWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section);
TacAdapterPtr<> MakeGridEhWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section);
