// The start-up floor: a bare program written with plain calls that makes the windows the main window
// shows at start (menu bar, a tool bar with the same theme icons, the category tabs, the recipe list
// with the first category's recipes, a rich edit holding the first recipe, a three-part status bar)
// on the recipe base in its working folder, paints them and waits for input. Nothing is skinned.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t kTheme[] = L"Resource\\Стандарт\\";

const std::array<const wchar_t*, 12> kToolBarIcons = {L"tb_exit", L"tb_prev",  L"tb_next", L"tb_update",
                                                      L"tb_print", L"tb_about", L"tb_new",  L"tb_favor",
                                                      L"tb_find", L"tb_pict",  L"tb_group", L"tb_save"};
const std::array<const wchar_t*, 14> kMenuIcons = {L"mn_new",  L"mn_favor", L"mn_info",   L"mn_print", L"mn_exit",
                                                   L"mn_copy", L"mn_delete", L"mn_icon",  L"mn_list",  L"mn_about",
                                                   L"mn_rating", L"mn_move", L"mn_skin", L"mn_base"};
// Button captions and image indexes, in tool-bar order; -1 is a separator.
const std::array<std::pair<const wchar_t*, int>, 14> kButtons = {{{L"Выйти", 0}, {nullptr, -1}, {L"Новый", 6},
    {L"Группа", 10}, {L"Избран...", 7}, {L"Сохран...", 11}, {nullptr, -1}, {L"Найти", 8}, {nullptr, -1},
    {L"Назад", 1}, {L"Вперед", 2}, {L"Обновить", 3}, {L"Печать", 4}, {L"О прогр...", 5}}};

HWND gToolBar, gTabs, gList, gRich, gStatus;

HIMAGELIST IconList(int size, const wchar_t* const* names, size_t count)
{
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 4);
    for (size_t i = 0; i < count; ++i) {
        const std::wstring file = std::wstring(kTheme) + names[i] + L".ico";
        HICON icon = static_cast<HICON>(LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
    }
    return list;
}

std::vector<std::wstring> Entries(const std::wstring& pattern, bool folders)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder == folders && data.cFileName[0] != L'.')
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

HMENU MakeMenu()
{
    const std::vector<std::pair<const wchar_t*, std::vector<const wchar_t*>>> menus = {
        {L"Файл", {L"Новый документ", L"Сохранить изменения", L"Копировать в Избранное", nullptr, L"Информация",
                   nullptr, L"Настройка печати...", L"Печать", nullptr, L"Выход"}},
        {L"Правка", {L"Копировать", L"Выделить все", nullptr, L"Рейтинг блюда", L"Переместить блюдо", nullptr,
                     L"Удалить рецепт"}},
        {L"Вид", {L"Большие иконки", L"Список", nullptr, L"Закладки", nullptr, L"Темы..."}},
        {L"Помощь", {L"О программе"}}};
    HMENU bar = CreateMenu();
    UINT id = 100;
    for (const auto& [caption, items] : menus) {
        HMENU popup = CreatePopupMenu();
        for (const wchar_t* item : items)
            AppendMenuW(popup, item ? MF_STRING : MF_SEPARATOR, id++, item);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
    }
    return bar;
}

DWORD CALLBACK ReadRecipe(DWORD_PTR file, LPBYTE buffer, LONG size, LONG* done)
{
    DWORD read = 0;
    const BOOL ok = ReadFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(size), &read, nullptr);
    *done = static_cast<LONG>(read);
    return ok ? 0 : 1;
}

void MakeChildren(HWND main)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, L"Tahoma");

    gToolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                               0, 0, 0, 0, main, nullptr, instance, nullptr);
    SendMessageW(gToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(gToolBar, TB_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(IconList(32, kToolBarIcons.data(), kToolBarIcons.size())));
    std::vector<TBBUTTON> buttons;
    for (const auto& [caption, image] : kButtons) {
        TBBUTTON b{};
        b.iBitmap = image < 0 ? 0 : image;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = image < 0 ? BTNS_SEP : BTNS_BUTTON;
        b.iString = reinterpret_cast<INT_PTR>(caption);
        buttons.push_back(b);
    }
    SendMessageW(gToolBar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(gToolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(56, 52));
    SendMessageW(gToolBar, TB_AUTOSIZE, 0, 0);
    // The menu's images, loaded as the program loads them.
    IconList(16, kMenuIcons.data(), kMenuIcons.size());

    gStatus = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main, nullptr,
                              instance, nullptr);
    int parts[] = {232, 462, -1};
    SendMessageW(gStatus, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageW(gStatus, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"Оценка:"));

    gTabs = CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, main,
                            nullptr, instance, nullptr);
    SendMessageW(gTabs, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    const std::vector<std::wstring> categories = Entries(L"Bases\\*", true);
    const std::array<const wchar_t*, 1> tabIcon = {L"tb_new"};
    HIMAGELIST tabImages = ImageList_Create(24, 24, ILC_COLOR32 | ILC_MASK, 0, 4);
    HIMAGELIST one = IconList(24, tabIcon.data(), 1);
    for (size_t i = 0; i < categories.size(); ++i) {
        HICON icon = ImageList_GetIcon(one, 0, ILD_TRANSPARENT);
        ImageList_AddIcon(tabImages, icon);
        DestroyIcon(icon);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(categories[i].c_str());
        item.iImage = static_cast<int>(i);
        SendMessageW(gTabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(gTabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(tabImages));

    gList = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL,
                            0, 0, 0, 0, main, nullptr, instance, nullptr);
    SendMessageW(gList, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    const std::array<const wchar_t*, 1> recipeIcon = {L"tb_new"};
    const std::array<const wchar_t*, 1> smallIcon = {L"ls_doc"};
    SendMessageW(gList, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(IconList(32, recipeIcon.data(), 1)));
    SendMessageW(gList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(IconList(16, smallIcon.data(), 1)));
    const std::wstring folder = categories.empty() ? L"" : L"Bases\\" + categories[0] + L"\\";
    const std::vector<std::wstring> recipes = Entries(folder + L"*.rcp", false);
    for (size_t i = 0; i < recipes.size(); ++i) {
        std::wstring caption = recipes[i].substr(0, recipes[i].size() - 4);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = caption.data();
        SendMessageW(gList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    LoadLibraryW(L"riched20.dll");
    gRich = CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0, 0, main,
                            nullptr, instance, nullptr);
    SendMessageW(gRich, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    if (!recipes.empty()) {
        HANDLE file = CreateFileW((folder + recipes[0]).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, ReadRecipe};
            SendMessageW(gRich, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
            CloseHandle(file);
        }
        LVITEMW state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(gList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
}

void Layout(HWND main)
{
    RECT client;
    GetClientRect(main, &client);
    SendMessageW(gToolBar, TB_AUTOSIZE, 0, 0);
    SendMessageW(gStatus, WM_SIZE, 0, 0);
    RECT bar, status;
    GetWindowRect(gToolBar, &bar);
    GetWindowRect(gStatus, &status);
    const int top = bar.bottom - bar.top, bottom = client.bottom - (status.bottom - status.top);
    MoveWindow(gTabs, 0, top, client.right, 32, TRUE);
    MoveWindow(gList, 0, top + 32, 235, bottom - top - 32, TRUE);
    MoveWindow(gRich, 239, top + 32, client.right - 239, bottom - top - 32, TRUE);
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        MakeChildren(wnd);
        return 0;
    case WM_SIZE:
        if (gStatus)
            Layout(wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    // The benchmark finds the main window by its class, as it finds the program's.
    wc.lpszClassName = L"TMainForm";
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(0, wc.lpszClassName, L"Велмора", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                777, 534, nullptr, MakeMenu(), instance, nullptr);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    OleUninitialize();
    return 0;
}
