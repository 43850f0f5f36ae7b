#include "skin/forms/acGridAdapters.h"

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"

namespace {

bool Visible(HWND wnd) { return IsWindowVisible(wnd) != FALSE; }

// Obj.Name.Color, or -1 when either property is missing.
std::int64_t NestedColor(const TPersistent* obj, const std::wstring& name)
{
    const TPersistent* nested = GetObjectPropByName(obj, name);
    return nested ? GetOrdPropByName(nested, L"Color") : -1;
}

void SetNestedColor(TPersistent* obj, const std::wstring& name, std::int64_t value)
{
    if (TPersistent* nested = GetObjectPropByName(obj, name))
        SetOrdPropByName(nested, L"Color", value);
}

// Sets a property the control had (a saved value of -1 means it had none).
void PutBack(TPersistent* obj, const std::wstring& name, std::int64_t saved)
{
    if (saved != -1)
        SetOrdPropByName(obj, name, saved);
}

// Every item of the collection "Columns": its header font colour, font colour and colour.
void SetColumnColours(TPersistent* grid, std::int64_t headerFont, std::int64_t font, std::int64_t color)
{
    auto* columns = dynamic_cast<TCollection*>(GetObjectPropByName(grid, L"Columns"));
    if (!columns)
        return;
    for (int i = 0; i < columns->Count(); ++i) {
        TCollectionItem* column = columns->Items(i);
        // A grid without a title font saved none (-1): its columns' header fonts keep what they have.
        if (headerFont != -1)
            SetNestedColor(column, L"HeaderFont", headerFont);
        SetNestedColor(column, L"Font", font);
        SetOrdPropByName(column, L"Color", color);
    }
}

} // namespace

// ---- TacGridWnd ----

TPersistent* TacGridWnd::Grid() const
{
    return SkinData ? SkinData->OwnerControl() : nullptr;
}

bool TacGridWnd::KeepsColumnColours() const
{
    const TPersistent* grid = Grid();
    return grid && grid->ClassName() == L"TDBAdvGrid";
}

void TacGridWnd::StoreWindowParams()
{
    TacEditWnd::StoreWindowParams();
    const TPersistent* grid = Grid();
    if (!grid)
        return;
    SavedFixedColor = GetOrdPropByName(grid, L"FixedColor");
    SavedTitleFontColor = NestedColor(grid, L"TitleFont");
    if (!KeepsColumnColours() && HasProperty(grid, L"FixedFont"))
        SavedTitleFontColor = NestedColor(grid, L"FixedFont");
    SavedFooterColor = GetOrdPropByName(grid, L"FooterColor");
    SavedFooterCellColor = GetOrdPropByName(grid, L"FooterCellColor");
    SavedTitleColor = GetOrdPropByName(grid, L"TitleColor");
    SavedIndicatorIconColor = GetOrdPropByName(grid, L"IndicatorIconColor");
}

void TacGridWnd::RestoreWindowParams()
{
    TacEditWnd::RestoreWindowParams();
    TPersistent* grid = Grid();
    if (!grid || SkinData->OwnerControl()->HasState(csDestroying))
        return;
    PutBack(grid, L"FixedColor", SavedFixedColor);
    if (SavedTitleFontColor != -1)
        SetNestedColor(grid, L"TitleFont", SavedTitleFontColor);
    PutBack(grid, L"FooterColor", SavedFooterColor);
    PutBack(grid, L"FooterCellColor", SavedFooterCellColor);
    PutBack(grid, L"TitleColor", SavedTitleColor);
    PutBack(grid, L"IndicatorIconColor", SavedIndicatorIconColor);
    if (!KeepsColumnColours()) {
        if (SavedTitleFontColor != -1)
            SetNestedColor(grid, L"FixedFont", SavedTitleFontColor);
        SetColumnColours(grid, SavedTitleFontColor, SavedFontColor, SavedColor);
    }
}

void TacGridWnd::PrepareSkinParams()
{
    TacEditWnd::PrepareSkinParams();
    TPersistent* grid = Grid();
    TsSkinManager* sm = Manager();
    const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
    if (!grid || !sm || !section)
        return;
    const std::int64_t globalColor = GetGlobalColor(sm);
    const std::int64_t globalFont = GetGlobalFontColor(sm);
    SetOrdPropByName(grid, L"FixedColor", globalColor);
    SetNestedColor(grid, L"TitleFont", globalFont);
    if (!KeepsColumnColours()) {
        SetNestedColor(grid, L"FixedFont", globalFont);
        SetColumnColours(grid, globalFont, section->HotFontColor, section->Color);
    }
    SetOrdPropByName(grid, L"FooterColor", globalColor);
    SetOrdPropByName(grid, L"FooterCellColor", globalColor);
    SetOrdPropByName(grid, L"TitleColor", globalColor);
    SetOrdPropByName(grid, L"IndicatorIconColor", section->FontColor);
}

void TacGridWnd::ThumbToDataSource(TMessage& message)
{
    const int code = LOWORD(message.WParam);
    if ((code != SB_THUMBPOSITION && code != SB_THUMBTRACK) || !HasProperty(Grid(), L"DataSource"))
        return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(AdaptedWnd, SB_VERT, &si);
    // A grid over a data source counts its rows from 1.
    si.nPos = code == SB_THUMBPOSITION ? si.nTrackPos + 1 : si.nTrackPos;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SetScrollInfo(AdaptedWnd, SB_VERT, &si, FALSE);
}

void TacGridWnd::PrintClient(TMessage& message)
{
    TacEditWnd::WndProc(message);
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc || !SkinData->CacheBmp())
        return;
    TSavedDC saved(dc);
    ClipToPrintedClient(dc);
    SendMessageW(AdaptedWnd, WM_PAINT, message.WParam, 0);
}

void TacGridWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_VSCROLL:
        ThumbToDataSource(message);
        break;
    case WM_PRINT:
        PrintClient(message);
        return;
    case WM_NCPAINT:
        if (Visible(AdaptedWnd))
            SkinData->SetUpdating(false);
        break;
    default:
        break;
    }
    TacEditWnd::WndProc(message);
    if (Detached)
        return;
    if (message.Msg == WM_PAINT)
        UpdateScrollInfo(this, true);
    else if (message.Msg == WM_WINDOWPOSCHANGED && Visible(AdaptedWnd))
        SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
}

// ---- TacGridEhWnd ----

void TacGridEhWnd::WndProc(TMessage& message)
{
    TacGridWnd::WndProc(message);
    // The grid builds its window anew to drop what it drew with the skin's colours.
    if (message.Msg == SM_SKINCMD && SkinCmdOf(message.WParam) == SkinCmdSkinRemoved &&
        message.LParam == reinterpret_cast<LPARAM>(Manager()) && !Detached && IsWindow(AdaptedWnd))
        SendMessageW(AdaptedWnd, CM_RECREATEWND, 0, 0);
}

TacAdapterPtr<> MakeGridWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section)
{
    return MakeAdapter<TacGridWnd>(wnd, true, section, manager, data);
}

TacAdapterPtr<> MakeGridEhWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section)
{
    return MakeAdapter<TacGridEhWnd>(wnd, true, section, manager, data);
}
