#include "skin/forms/acDials.h"

#include "skin/core/sMessageBox.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

int ComboListCount = 0;
TRect Kind1PaintRect{0, 0, 0, 0};

namespace {

std::vector<TacMainWnd*> gMenuWnds; // not owned: each adapter frees itself with its window

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

void ClearSlotsOf(TObject* object)
{
    if (std::vector<TObject*>* list = ProviderList())
        std::replace(list->begin(), list->end(), object, static_cast<TObject*>(nullptr));
}

void AddToProviderList(TacProvider* provider)
{
    if (std::vector<TObject*>* list = ProviderList())
        list->push_back(provider);
}

bool HasChildStyle(HWND wnd)
{
    return (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) != 0;
}

} // namespace

HRGN Kind3Region()
{
    // Built once and kept for the life of the process: the frame adapter selects it as a clip region
    // (the system copies it), so it is never handed out for deletion.
    static const HRGN region = [] {
        HRGN result = CreateRectRgn(447, 0, 455, 200);
        for (const RECT& r : {RECT{6, 23, 216, 163}, RECT{6, 189, 216, 235}}) {
            GdiObject<HRGN> part(CreateRectRgnIndirect(&r));
            CombineRgn(result, result, part.Get(), RGN_OR);
        }
        return result;
    }();
    return region;
}

std::vector<TacMainWnd*>& MenuWnds()
{
    return gMenuWnds;
}

void ClearMenuWnds()
{
    gMenuWnds.clear();
}

void ForgetMenuWnd(TacMainWnd* adapter)
{
    gMenuWnds.erase(std::remove(gMenuWnds.begin(), gMenuWnds.end(), adapter), gMenuWnds.end());
}

std::vector<TObject*>* ProviderList()
{
    return DialogsHookObjects();
}

std::wstring GetWndClassName(HWND wnd)
{
    wchar_t buffer[128] = {};
    const int length = GetClassNameW(wnd, buffer, 128);
    return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

TacProvider* FindProviderByHandle(HWND wnd)
{
    if (std::vector<TObject*>* list = ProviderList())
        for (TObject* object : *list)
            if (auto* provider = dynamic_cast<TacProvider*>(object); provider && provider->DialogHandle == wnd)
                return provider;
    return nullptr;
}

TCustomForm* FindFormByHandle(HWND wnd)
{
    if (!Screen || !wnd)
        return nullptr;
    // A form without a window cannot be the one asked for; asking it for its handle would make a window
    // for it inside the hook (or make one again for a form that is going).
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
        TCustomForm* form = Screen->CustomForms(i);
        if (!form)
            continue;
        if (form->HandleAllocated() && form->Handle() == wnd)
            return form;
        if (form->FormStyle() == fsMDIForm)
            for (int j = 0; j < form->MDIChildCount(); ++j) {
                TCustomForm* child = form->MDIChildren(j);
                if (child && child->HandleAllocated() && child->Handle() == wnd)
                    return child;
            }
    }
    return nullptr;
}

int VisibleDialogCount()
{
    int count = 0;
    if (std::vector<TObject*>* list = ProviderList())
        for (TObject* object : *list)
            if (auto* provider = dynamic_cast<TacProvider*>(object);
                provider && provider->DialogWnd && IsWindowVisible(provider->DialogHandle))
                ++count;
    return count;
}

bool HasChildOfClass(HWND wnd, const std::wstring& name)
{
    for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (Lower(GetWndClassName(child)) == name)
            return true;
        if (HasChildOfClass(child, name))
            return true;
    }
    return false;
}

TacChildChoice ChooseDialogChild(const std::wstring& lowerClass, LONG_PTR style, int width, int height)
{
    TacChildChoice c;
    auto pick = [&c](TacChildAdapterKind kind, const wchar_t* section) {
        c.Kind = kind;
        c.Section = section;
    };
    const auto sized = [&](int w, int h) { return width == w && height == h; };
    if (lowerClass == L"static") {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (sized(152, 49)) {
            pick(akStatic, L"CHECKBOX");
            c.DialogKind = 2;
        } else if (sized(150, 37)) {
            c.DialogKind = 1;
        } else if (sized(192, 189) || sized(210, 140) || sized(12, 189) || sized(210, 46) || sized(60, 42)) {
            c.DialogKind = 3;
            c.FormSection = true;
        } else if ((style & 3) == 3) {
            pick(akIcon, L"CHECKBOX");
        } else if ((style & 0xE) == 0xE || (style & 0xD) == 0xD) {
            // bitmaps, owner-drawn statics and metafiles paint themselves
        } else if (type == 5 || type == 6) {
            // grey and white rectangles
        } else {
            pick(akStatic, L"CHECKBOX");
        }
    } else if (lowerClass == L"#32770") {
        pick(akTransPanel, L"CHECKBOX");
    } else if (lowerClass == L"button") {
        if ((style & 7) == 7)
            pick(akGroupBox, L"GROUPBOX");
        else if ((style & 2) || (style & 4) || (style & 9) == 9)
            pick(akCheckBox, L"CHECKBOX");
        else
            pick(akBtn, L"BUTTON");
    } else if (lowerClass == L"combobox" || lowerClass == L"comboboxex32") {
        pick(akComboBox, L"COMBOBOX");
    } else if (lowerClass == L"combolbox") {
        pick(akEdit, L"COMBOBOX");
        c.ComboList = true;
    } else if (lowerClass == L"scrollbar") {
        pick(akSizer, L"CHECKBOX");
    } else if (lowerClass == L"systabcontrol32") {
        // This tab page layout is drawn by the system in a way the skin cannot follow.
        c.Refuse = sized(470, 349);
    } else if (lowerClass == L"syslistview32") {
        pick(akListView, L"EDIT");
    } else if (lowerClass == L"msctls_updown32") {
        pick(akSpin, L"SPEEDBUTTON_SMALL");
    } else if (lowerClass == L"listbox" || lowerClass == L"edit") {
        pick(akEdit, L"EDIT");
    } else if (lowerClass == L"link window") {
        pick(akLink, L"CHECKBOX");
    } else if (lowerClass == L"toolbarwindow32") {
        pick(akToolBar, (style & 0x200) ? L"BAR" : L"CHECKBOX");
    } else if (lowerClass == L"systreeview32") {
        pick(akTreeView, L"EDIT");
    } else if (lowerClass.find(L"shbrowseforfolder") != std::wstring::npos || lowerClass == L"shelldll_defview") {
        // Containers of the shell's folder views: the view inside is a list view, adapted on its own.
        pick(akTransPanel, L"CHECKBOX");
    }
    return c;
}

// ---- TacProvider ----

TacProvider::TacProvider(TComponent* owner) : TComponent(owner) {}

TacProvider::~TacProvider()
{
    ChildWnds.clear(); // in list order: the vector frees front to back below
    DialogWnd.reset();
    ClearSlotsOf(this);
}

void TacProvider::CreateSkinProvider(TCustomForm* form)
{
    SkinProvider = Create<TsSkinProvider>(form);
}

void TacProvider::InitDialogWnd(HWND wnd, TacAdapterPtr<>& adapter)
{
    TsSkinManager* sm = DefaultManager();
    if (sm && sm->Active()) {
        CallFlatSB("UninitializeFlatSB", wnd);
        if (adapter && adapter->Released)
            adapter.reset();
        if (adapter)
            return;
        if (SkinLinks().MakeDialogWnd) {
            adapter = SkinLinks().MakeDialogWnd(wnd, this);
            if (adapter)
                adapter->AdaptedWnd = wnd;
        }
    } else {
        adapter.reset();
        CallFlatSB("InitializeFlatSB", wnd);
    }
}

bool TacProvider::AdaptDialog(HWND wnd)
{
    DialogHandle = wnd;
    ChildWnds.clear();
    TsSkinManager* sm = DefaultManager();
    if (DialogWnd || !sm || !sm->Active())
        return true;
    const std::wstring className = GetWndClassName(wnd);
    if (className != L"#32770" && className != L"TMessageForm")
        return true;
    InitDialogWnd(wnd, DialogWnd);
    if (gMessageBoxX != -1 || gMessageBoxY != -1)
        SetWindowPos(wnd, nullptr, gMessageBoxX, gMessageBoxY, 0, 0,
                     SWP_NOOWNERZORDER | SWP_NOREDRAW | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ComboListCount = 0;
    if (!AdaptChildren(wnd)) {
        ClearSlotsOf(this);
        return false;
    }
    if (DialogWnd && SkinLinks().PrepareDialogFrame)
        SkinLinks().PrepareDialogFrame(DialogWnd.get());
    if (ComboListCount == 3) {
        DialogKind = 1;
        Kind1PaintRect = TRect{178, 181, 327, 217};
    }
    SendSkinCmd(wnd, SkinCmdSkinChanged, reinterpret_cast<LPARAM>(DefaultManager()));
    return true;
}

bool TacProvider::AdaptChildren(HWND wnd)
{
    for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!AdaptChildren(child))
            return false;
        if (HasChildStyle(child) && !AdaptChildWindow(child))
            return false;
    }
    return true;
}

bool TacProvider::AdaptChildWindow(HWND wnd)
{
    if (!wnd || QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned))
        return true;
    struct Flag {
        Flag() { AdaptingDialog = true; }
        ~Flag() { AdaptingDialog = false; }
    } adapting;
    RECT r{};
    GetWindowRect(wnd, &r);
    const TacChildChoice choice =
        ChooseDialogChild(Lower(GetWndClassName(wnd)), GetWindowLongPtrW(wnd, GWL_STYLE), r.right - r.left,
                          r.bottom - r.top);
    if (choice.Refuse)
        return false;
    if (choice.DialogKind)
        DialogKind = choice.DialogKind;
    if (choice.FormSection && DialogWnd && SkinLinks().SetDialogSection)
        SkinLinks().SetDialogSection(DialogWnd.get(), L"FORM");
    if (choice.ComboList)
        ++ComboListCount;
    if (choice.Kind == akNone || !SkinLinks().MakeChildAdapter)
        return true;
    TsSkinManager* sm = DialogWnd && DialogWnd->SkinData ? DialogWnd->Manager() : DefaultManager();
    TacAdapterPtr<> adapter = SkinLinks().MakeChildAdapter(choice.Kind, wnd, choice.Section, sm);
    if (adapter) {
        adapter->ParentHandle = DialogHandle;
        GetWndPosInfo(wnd, adapter->ParentHandle, adapter->WindowBounds, adapter->ParentOffset,
                      adapter->WndSize, adapter->ParentRect);
        ChildWnds.push_back(std::move(adapter));
    }
    return true;
}

// ---- The filter and the hook ----

bool AdaptActivatedWindow(HWND wnd)
{
    TsSkinManager* sm = DefaultManager();
    if (!wnd || !sm || !ProviderList() || QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned) || FindProviderByHandle(wnd))
        return false;
    TCustomForm* form = FindFormByHandle(wnd);
    const std::wstring className = GetWndClassName(wnd);
    if (className == L"TApplication" || className == L"TQRStandardPreview")
        return false;
    if (form) {
        const bool messageForm = className == L"TMessageForm";
        if (messageForm) {
            if (!sm->SkinningRules.Contains(srStdDialogs))
                return false;
        } else {
            if (!sm->SkinningRules.Contains(srStdForms))
                return false;
            const std::wstring caption = form->Caption();
            if (caption == L"Mgn" || caption == L"Calculator")
                return false;
        }
        // The TacProvider first: the form frees its components last made first, so the skin provider
        // goes before it.
        auto* provider = Create<TacProvider>(form);
        AddToProviderList(provider);
        provider->CreateSkinProvider(form);
        if (messageForm && provider->SkinProvider)
            provider->SkinProvider->MakeSkinMenu = false;
        return true;
    }
    if (!sm->SkinningRules.Contains(srStdDialogs))
        return false;
    if (VisibleDialogCount() != 0 && !HasChildOfClass(wnd, L"toolbarwindow32"))
        return false;
    auto* provider = Create<TacProvider>(nullptr);
    AddToProviderList(provider);
    bool adapted = false;
    try {
        adapted = provider->AdaptDialog(wnd);
    } catch (...) {
        // A dialog whose adapting failed part-way keeps the system's look: nothing of the attempt stays.
        delete provider;
        throw;
    }
    if (!adapted) {
        // Refused: the dialog keeps the system's look, and nothing of the attempt is left.
        delete provider;
        return false;
    }
    return true;
}

LRESULT CALLBACK DialogsCBTProc(int code, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallNextHookEx(DialogsHookHandle(), code, wParam, lParam);
    try {
        if (code == HCBT_CREATEWND) {
            HWND wnd = reinterpret_cast<HWND>(wParam);
            if (SkinLinks().MakeMenuWnd && GetWndClassName(wnd) == L"#32768" &&
                !QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned)) {
                TacAdapterPtr<> adapter = SkinLinks().MakeMenuWnd(wnd);
                if (adapter) {
                    adapter->AdaptedWnd = wnd;
                    gMenuWnds.push_back(adapter.release());
                }
            }
        } else if (code == HCBT_ACTIVATE) {
            AdaptActivatedWindow(reinterpret_cast<HWND>(wParam));
        }
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
    }
    return result;
}
