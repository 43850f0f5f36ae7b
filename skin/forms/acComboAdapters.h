// The combo box adapters: a combo box's frame, text and drop-down button from the skin, and its
// drop-down list with a flat frame and skinned scroll bars.
#pragma once

#include "framework/Graphics.h"
#include "skin/forms/acEditAdapters.h"

#include <memory>

class TacComboListWnd : public TacEditWnd {
public:
    // Its own skin state (with a cache) is made by the base when none is given.
    using TacEditWnd::TacEditWnd;
    std::wstring ClassName() const override { return L"TacComboListWnd"; }
    void WndProc(TMessage& message) override;
    bool ReleasesCaptureOnButtonUp() const override { return SimpleBox; }

    bool ListShown = false;
    bool SimpleBox = false; // the list of a simple combo box (style and 3 = 1)

protected:
    // A drop-down list made without repaint keeps its visual styles.
    bool ThemeOffAtCreate() const override { return CreateRepaint; }

private:
    void PrepareListCache();
    void WMNCPaint(TMessage& message);
    void PaintStripBelow();
    void ListPrint(TMessage& message);
    void NCClick(TMessage& message);
};

class TacComboBoxWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    std::wstring ClassName() const override { return L"TacComboBoxWnd"; }
    void Create() override;
    void Destroy() override;
    void WndProc(TMessage& message) override;

    HWND ListHandle = nullptr;                  // the drop-down list, once seen; not owned
    std::unique_ptr<TsCommonData> ListData;     // owned
    TacAdapterPtr<TacComboListWnd> ListWnd;     // owned
    // The edit part of drop-down and simple combo boxes, adapted with the box; owned, nil when none.
    TacAdapterPtr<TacEditWnd> EditWnd;
    // The brush answered to the first WM_CTLCOLORLISTBOX; owned, freed with the adapter.
    GdiObject<HBRUSH> ListBrush;

    // The drop-down button (window coordinates); empty for a simple combo box.
    TRect ButtonRect() const;
    // Paints the drop-down button in its state onto DC (the window DC when nil).
    void PaintButton(HDC dc);

private:
    int ComboStyle() const;
    int ButtonState() const;
    void WMPaint(TMessage& message);
    void WMPrint(TMessage& message);
    void FirstListColor(TMessage& message);
    void PaintText();
    void PaintListBackground();
    void CopyFrameTo(HDC dc);
};

// The makers the control adapter chooser and the dialog hook use for combo boxes.
TacAdapterPtr<> MakeComboBoxWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section);
