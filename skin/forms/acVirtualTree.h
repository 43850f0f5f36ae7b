// The adapter of a tree control of another vendor that paints its own header through events: its text
// colours come from the skin by published property name, and its header items are painted by the
// adapter through those events while it is skinned.
#pragma once

#include "framework/Events.h"
#include "skin/forms/acEditAdapters.h"

#include <cstdint>

// Header paint elements as the tree asks for them (bit numbers of the element set).
enum TacHeaderPaintElement { hpeBackground, hpeDropMark, hpeHeaderGlyph, hpeSortGlyph, hpeText };

// What the tree hands its header painting events for one column (Column nil: the space after the last).
struct TacHeaderPaintInfo {
    HDC TargetCanvas = nullptr;  // borrowed
    TPersistent* Column = nullptr; // the column, with a published "Text"; nil for the empty strip
    TRect PaintRectangle;
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool ShowSortGlyph = false;
    TPoint SortGlyphPos;
};

// (Header, PaintInfo, Elements): paint the elements of the set.
using TacAdvancedHeaderPaintEvent = TEvent<TPersistent*, TacHeaderPaintInfo&, std::uint32_t>;
// (Header, PaintInfo, Elements): the elements the handler paints itself.
using TacHeaderPaintQueryElementsEvent = TEvent<TPersistent*, TacHeaderPaintInfo&, std::uint32_t&>;

class TacVirtualTreeViewWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    std::wstring ClassName() const override { return L"TacVirtualTreeViewWnd"; }
    void StoreWindowParams() override;
    void RestoreWindowParams() override;
    void PrepareSkinParams() override;
    void WndProc(TMessage& message) override;

    // The element query: background, drop mark, sort glyph and text.
    void HeaderDrawQueryElements(TPersistent* header, TacHeaderPaintInfo& info, std::uint32_t& elements);
    // The header painter.
    void AdvancedHeaderDraw(TPersistent* header, TacHeaderPaintInfo& info, std::uint32_t elements);

    std::int64_t SavedCompressedTextColor = -1;
    std::int64_t SavedFileTextColor = -1;
    std::int64_t SavedFolderTextColor = -1;
    bool SavedOwnerDraw = false;

private:
    TPersistent* Tree() const;
    TPersistent* Header() const;
    void WMNCPaint(TMessage& message);
    void WMPrint(TMessage& message);
    void PaintColumn(TsSkinManager* sm, TacHeaderPaintInfo& info, std::uint32_t elements);
};

TacAdapterPtr<> MakeVirtualTreeViewWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data,
                                       const std::wstring& section);
