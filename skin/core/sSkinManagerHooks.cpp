// The manager's ties to the rest of the program: the dialogs hook, the application-window hook, the
// hot control and the list of skins a user can pick.
#include "skin/core/sSkinManager.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"

#include <algorithm>

namespace {

HHOOK gDialogsHook = nullptr;                         // owned while installed
std::unique_ptr<std::vector<TObject*>> gHookObjects; // the objects are owned, freed on removal

constexpr UINT kPopupItemShown = 0xBCB3;
constexpr UINT kPopupWindowShown = 0xBCB4;

// The window of the popup showing Item: the window under the centre of the item's rectangle.
HWND PopupWindowOfItem(TMenuItem* item)
{
    TMenuItem* parent = item->Parent();
    if (!parent)
        return nullptr;
    HMENU menu = parent->Handle();
    const int index = item->MenuIndex();
    RECT r{};
    if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &r) &&
        !GetMenuItemRect(PopupList()->Window(), menu, static_cast<UINT>(index), &r))
        return nullptr;
    const POINT centre{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
    return WindowFromPoint(centre);
}

} // namespace

HHOOK DialogsHookHandle()
{
    return gDialogsHook;
}

std::vector<TObject*>* DialogsHookObjects()
{
    return gHookObjects.get();
}

void TsSkinManager::SetActiveControl(HWND wnd)
{
    if (wnd == activeControl_)
        return;
    HWND previous = activeControl_;
    activeControl_ = wnd;
    if (previous)
        SendSkinCmd(previous, SkinCmdControlExit, reinterpret_cast<LPARAM>(this));
    if (wnd)
        SendSkinCmd(wnd, SkinCmdControlEnter, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::ListSkinNames(TStrings* list, TacSkinListKind kind, std::wstring& firstName) const
{
    list->Clear();
    firstName.clear();
    std::vector<std::wstring> names;
    for (int i = 0; i < internalSkins_->Count(); ++i) {
        names.push_back(internalSkins_->Items(i)->Name());
        if (i == 0)
            firstName = names.back();
    }
    const std::wstring dir = ResolveSkinDirectory();
    if (DirectoryExists(dir)) {
        TSearchRec rec;
        const std::wstring folder = IncludeTrailingPathDelimiter(dir);
        for (int found = FindFirst(folder + L"*.*", faAnyFile, rec); found == 0; found = FindNext(rec)) {
            if (rec.Name.empty() || rec.Name[0] == L'.')
                continue;
            std::wstring name;
            if (rec.Attr & faDirectory) {
                if (kind != slPackedFiles && FileExists(folder + rec.Name + L"\\Options.dat"))
                    name = rec.Name;
            } else if (kind != slFolders && rec.Name.size() > 4 &&
                       rec.Name.compare(rec.Name.size() - 4, 4, L".asz") == 0) {
                // The whole name before ".asz": that is the name the skin is loaded by again.
                name = rec.Name.substr(0, rec.Name.size() - 4);
            }
            if (name.empty())
                continue;
            names.push_back(name);
            if (firstName.empty())
                firstName = name;
        }
        FindClose(rec);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const std::wstring& a, const std::wstring& b) { return AnsiCompareText(a, b) < 0; });
    for (const std::wstring& name : names)
        list->Add(name);
}

void TsSkinManager::InstallDialogsHook()
{
    // One hook per thread: a hook of another manager (or one this manager already set) stays alone.
    if (!IsDefault() || hookInstalled_ || gDialogsHook)
        return;
    if (!SkinLinks().DialogsCBTProc)
        return;
    if (!gHookObjects)
        gHookObjects = std::make_unique<std::vector<TObject*>>();
    gDialogsHook = SetWindowsHookExW(WH_CBT, SkinLinks().DialogsCBTProc, nullptr, GetCurrentThreadId());
    hookInstalled_ = gDialogsHook != nullptr;
}

void TsSkinManager::RemoveDialogsHook()
{
    if (!hookInstalled_)
        return;
    if (SkinLinks().ClearMenuWnds)
        SkinLinks().ClearMenuWnds();
    if (gDialogsHook)
        UnhookWindowsHookEx(gDialogsHook);
    gDialogsHook = nullptr;
    hookInstalled_ = false;
    // The list goes first, so that an object freed below finds no list to clear its slot in.
    std::unique_ptr<std::vector<TObject*>> objects = std::move(gHookObjects);
    if (objects)
        for (TObject* object : *objects)
            delete object;
}

void TsSkinManager::HookApplication()
{
    if (appHooked_ || !Application)
        return;
    Application->HookMainWindow(TWindowHook(this, &TsSkinManager::AppHookHandler));
    appHooked_ = true;
}

void TsSkinManager::UnhookApplication()
{
    if (!appHooked_)
        return;
    if (Application)
        Application->UnhookMainWindow(TWindowHook(this, &TsSkinManager::AppHookHandler));
    appHooked_ = false;
}

void TsSkinManager::AppHookHandler(TMessage& message, bool& handled)
{
    handled = AppHook(message);
}

bool TsSkinManager::AppHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_THEMECHANGED:
        return true;
    case kPopupItemShown:
    case kPopupWindowShown: {
        TBitmap* background = SkinLinks().PopupBitmap ? SkinLinks().PopupBitmap() : nullptr;
        if (message.Msg == kPopupItemShown && !background)
            return false;
        HWND wnd = nullptr;
        if (message.Msg == kPopupWindowShown) {
            wnd = reinterpret_cast<HWND>(message.LParam);
        } else if (message.LParam) {
            wnd = PopupWindowOfItem(reinterpret_cast<TMenuItem*>(message.LParam));
        }
        if (wnd && IsWindow(wnd) && menus_)
            menus_->SetPopupRegion(wnd, background);
        return true;
    }
    default:
        return false;
    }
}
