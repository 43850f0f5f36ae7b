// The system's own windows as the program shows them: a recipe printed on the real printer (a PDF whose
// text holds the recipe, the view left as it was, Ctrl+P through the menu), and the open-picture, print
// and printer set-up dialogs, a message dialog and both kinds of popup menu wearing the skin, window by
// window.
#include "tests/e2e/notebook_driver.h"
#include "tests/e2e/system_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace {

using namespace e2e;
using testsupport::Narrow;

// Share of a window's pixels that may carry one of the system's own colours: anti-aliased text and
// icons meet them by chance, and the pixels outside a popup menu's rounded corners show the window
// beneath (measured: at most 0.23 %, the list's popup menu; the dialogs 0).
constexpr double kSystemColourTolerance = 0.005;

// Where the printer's PDF files land, as a Windows path; empty without a printer set up.
std::wstring PdfFolderUnix()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"VELMORA_PDF_DIR", buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

std::wstring WindowsPath(const std::wstring& unixPath)
{
    std::wstring path = L"Z:" + unixPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The PDF files of the folder with their last write times. The printer names its files after the
// scheduler's job numbers, which start again when the scheduler does: a new job may overwrite an old
// file of the same name, so a file counts as new when its name or its time is.
std::map<std::wstring, ULONGLONG> PdfFiles(const std::wstring& folder)
{
    std::map<std::wstring, ULONGLONG> files;
    for (const auto& name : FolderEntries(folder))
        if (name.size() > 4 && name.substr(name.size() - 4) == L".pdf") {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            ULONGLONG written = 0;
            if (GetFileAttributesExW((folder + L"\\" + name).c_str(), GetFileExInfoStandard, &data))
                written = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
            files[name] = written;
        }
    return files;
}

// The name of a PDF that is in now but was not in before (new or written again), or empty.
std::wstring NewPdf(const std::map<std::wstring, ULONGLONG>& before, const std::map<std::wstring, ULONGLONG>& now)
{
    for (const auto& [name, written] : now) {
        const auto old = before.find(name);
        if (old == before.end() || old->second != written)
            return name;
    }
    return {};
}

// The text of a PDF as the poppler tools extract it (a program of the host, which Wine starts). Wine
// gives no handle to wait on for a host program, so the text is written under another name and renamed
// when complete; the caller polls for it.
std::wstring PdfText(const std::wstring& unixFolder, const std::wstring& name)
{
    const std::wstring text = unixFolder + L"/" + name + L".txt";
    const std::wstring out = WindowsPath(text);
    // A text of an older job of the same name is no answer.
    DeleteFileW(out.c_str());
    std::wstring command = L"/bin/sh -c \"pdftotext -enc UTF-8 '" + unixFolder + L"/" + name + L"' '" + text +
                           L".part' && mv '" + text + L".part' '" + text + L"'\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {};
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    if (!WaitUntil([&] { return FileExists(out); }, 5000))
        return {};
    return testsupport::Widen(testsupport::ReadFileBytes(out));
}

// How the printer's file name begins for a job of a Cyrillic title: the spooler hands the title over in
// the system's ANSI code page, and the printer writes each of its bytes as three octal digits, "_" between.
std::wstring PrinterFileTitle(const std::wstring& cyrillic)
{
    std::string bytes(cyrillic.size() * 2, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, cyrillic.data(), static_cast<int>(cyrillic.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    std::wstring name;
    for (unsigned char b : bytes) {
        wchar_t octal[5] = {};
        swprintf(octal, 5, L"%03o", b);
        name += (name.empty() ? L"" : L"_") + std::wstring(octal);
    }
    return name;
}

std::wstring Squeezed(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (!iswspace(c))
            out += c;
    return out;
}

// The drop-down lists of a top-level window's combo boxes: windows of their own, owned by it (asking a
// combo box of another process for its list would hand it a pointer into this one).
struct DropDownSearch {
    HWND top;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDropDownList(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<DropDownSearch*>(param);
    if (WindowClass(wnd) == L"ComboLBox" && GetAncestor(GetWindow(wnd, GW_OWNER), GA_ROOT) == search->top)
        search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> DropDownLists(HWND top)
{
    DropDownSearch search{top, {}};
    EnumWindows(CollectDropDownList, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Visible windows of a top-level window and its descendants that do not answer the skin's question,
// with their classes; the drop-down lists of combo boxes are top-level windows of their own, asked too.
std::vector<std::wstring> UnskinnedWindows(HWND top)
{
    std::vector<std::wstring> found;
    std::vector<HWND> windows{top};
    for (HWND child : FindChildWindows(top, {}))
        if (IsWindowVisible(child))
            windows.push_back(child);
    for (HWND list : DropDownLists(top))
        windows.push_back(list);
    for (HWND wnd : windows)
        if (!AnswersSkinned(wnd))
            found.push_back(WindowClass(wnd) + L" \"" + WindowCaption(wnd) + L"\"");
    return found;
}

// Pixels of pure black that lie in a solid 4 x 4 block: the skin paints no black surfaces and its texts
// and icons have thinner strokes, so such blocks are parts of a window nobody painted.
long BlackBlockPixels(const testsupport::Pixels24& pixels)
{
    std::vector<bool> black(static_cast<size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            black[static_cast<size_t>(y) * pixels.width + x] = pixels.At(x, y) == 0;
    std::vector<bool> inBlock(black.size());
    for (int y = 0; y + 4 <= pixels.height; ++y)
        for (int x = 0; x + 4 <= pixels.width; ++x) {
            bool solid = true;
            for (int dy = 0; dy < 4 && solid; ++dy)
                for (int dx = 0; dx < 4 && solid; ++dx)
                    solid = black[static_cast<size_t>(y + dy) * pixels.width + x + dx];
            if (solid)
                for (int dy = 0; dy < 4; ++dy)
                    for (int dx = 0; dx < 4; ++dx)
                        inBlock[static_cast<size_t>(y + dy) * pixels.width + x + dx] = true;
        }
    return static_cast<long>(std::count(inBlock.begin(), inBlock.end(), true));
}

std::set<COLORREF> SystemColours()
{
    std::set<COLORREF> system;
    for (int index : {COLOR_BTNFACE, COLOR_WINDOW, COLOR_MENU, COLOR_HIGHLIGHT, COLOR_3DLIGHT, COLOR_3DSHADOW,
                      COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT, COLOR_MENUBAR, COLOR_MENUHILIGHT})
        system.insert(GetSysColor(index));
    // The stored skin paints edits, lists and check-box insides white, which is also the system's window
    // and 3-D highlight colour: a white pixel cannot tell who painted it, so it is not counted (whether
    // those windows are skinned is asked of each of them).
    system.erase(RGB(255, 255, 255));
    return system;
}

// Two system colours the skin does not replace yet (the README lists them): the selection highlight of a
// combo box's own field, and the face colour a disabled edit fills itself with.
bool KnownGap(HWND at, COLORREF colour)
{
    const std::wstring cls = WindowClass(at);
    if (cls == L"ComboBox")
        return colour == GetSysColor(COLOR_HIGHLIGHT);
    if (cls == L"Edit" && !IsWindowEnabled(at))
        return colour == GetSysColor(COLOR_BTNFACE) || colour == GetSysColor(COLOR_3DFACE);
    return false;
}

// Share of the pixels that have one of the system's face, window, menu, highlight and 3-D colours,
// combo boxes included; where holds the windows those pixels lie in, most first.
double SystemColourShare(HWND top, const testsupport::Pixels24& pixels, std::string* where = nullptr)
{
    RECT frame{};
    GetWindowRect(top, &frame);
    const std::set<COLORREF> system = SystemColours();
    std::vector<std::pair<HWND, RECT>> visible;
    for (HWND child : FindChildWindows(top, {})) {
        RECT r{};
        GetWindowRect(child, &r);
        if (IsWindowVisible(child))
            visible.emplace_back(child, r);
    }
    std::map<HWND, long> byWindow;
    long hits = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF colour = pixels.At(x, y);
            if (!system.count(colour))
                continue;
            POINT p{frame.left + x, frame.top + y};
            HWND at = top;
            for (const auto& [child, r] : visible)
                if (PtInRect(&r, p))
                    at = child; // children come after their parents: the last is the deepest
            if (KnownGap(at, colour))
                continue;
            ++hits;
            ++byWindow[at];
        }
    if (where) {
        std::vector<std::pair<long, HWND>> sorted;
        for (const auto& [wnd, n] : byWindow)
            sorted.emplace_back(n, wnd);
        std::sort(sorted.rbegin(), sorted.rend());
        for (size_t i = 0; i < sorted.size() && i < 6; ++i) {
            RECT r{};
            GetWindowRect(sorted[i].second, &r);
            *where += Narrow(WindowClass(sorted[i].second)) + " \"" + Narrow(WindowCaption(sorted[i].second)) + "\" at " +
                      std::to_string(r.left - frame.left) + "," + std::to_string(r.top - frame.top) + " " +
                      std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + ": " +
                      std::to_string(sorted[i].first) + " px; ";
        }
    }
    const long all = static_cast<long>(pixels.width) * pixels.height;
    return all ? static_cast<double>(hits) / all : 0.0;
}

class SystemLookTest : public NotebookTest {
protected:
    // Checks the window against the audit once its first paint is complete, and keeps its screenshot;
    // the shares measured are printed.
    void Audit(HWND wnd, const std::wstring& name)
    {
        ASSERT_NE(wnd, nullptr) << Narrow(name) << " did not show";
        WaitPainted(Bot(), wnd);
        const testsupport::Pixels24 shot = Shot(wnd, name);
        std::string where;
        const double share = SystemColourShare(wnd, shot, &where);
        const long black = BlackBlockPixels(shot);
        std::printf("%s: system colours %.3f %%, unpainted black %ld px\n", Narrow(name).c_str(), share * 100, black);
        EXPECT_LE(share, kSystemColourTolerance) << Narrow(name) << " shows the system's colours in " << where;
        EXPECT_EQ(black, 0) << Narrow(name) << " shows black blocks nobody painted";
        for (const auto& w : UnskinnedWindows(wnd))
            ADD_FAILURE() << Narrow(name) << ": " << Narrow(w) << " is not skinned";
    }
    HWND WaitForDialog() { return WaitForTopWindow({ProcessId(), L"#32770", {}, true}, 10000); }
    // Opens the print dialog with open, keeps its shot, confirms it and returns the name of the PDF the
    // job made in folder (empty, with a failure, when none came).
    std::wstring PrintedPdf(const std::wstring& folder, const std::function<void()>& open)
    {
        const auto known = PdfFiles(folder);
        open();
        HWND dialog = WaitForDialog();
        if (!dialog) {
            ADD_FAILURE() << "no print dialog";
            return {};
        }
        Shot(dialog, L"print-dialog");
        Bot().PressKey(VK_RETURN);
        if (!WaitForWindowGone(dialog, 10000)) {
            ADD_FAILURE() << "the print dialog stays open";
            return {};
        }
        std::wstring pdf;
        if (!WaitUntil([&] { return !(pdf = NewPdf(known, PdfFiles(folder))).empty(); }, 30000))
            ADD_FAILURE() << "no PDF came from the printer";
        return pdf;
    }
    void Cancel(HWND dialog)
    {
        Bot().PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForWindowGone(dialog, 5000));
    }
};

TEST_F(SystemLookTest, PrintingARecipeReachesThePrinterAndLeavesTheViewAsItWas)
{
    const std::wstring unixFolder = PdfFolderUnix();
    if (unixFolder.empty())
        GTEST_SKIP() << "no printer: VELMORA_PDF_DIR is not set";
    const std::wstring folder = WindowsPath(unixFolder);
    StartNotebook();
    ASSERT_FALSE(ViewText().empty()) << "no recipe in the view";
    SendMessageW(View(), EM_SETSEL, 2, 6);
    const auto before = Shot(View(), L"before");
    const auto known = PdfFiles(folder);

    ClickToolButton(L"Печать");
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    Shot(dialog, L"print-dialog");
    for (const auto& w : UnskinnedWindows(dialog))
        ADD_FAILURE() << "print dialog: " << Narrow(w) << " is not skinned";
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(dialog, 10000));
    EXPECT_TRUE(WaitUntil(
        [&] { return !NewPdf(known, PdfFiles(folder)).empty(); },
        30000))
        << "no PDF came from the printer";

    const DWORD selection = static_cast<DWORD>(SendMessageW(View(), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 2);
    EXPECT_EQ(HIWORD(selection), 6);
    EXPECT_EQ(before.DifferingPixels(Shot(View(), L"after")), 0) << "the view looks otherwise after printing";
}

// Ctrl+P is the shortcut of both the menu's "Печать" and the tool bar's print action: the menu item
// takes it, and its job is titled "Рецепт" (the printer puts a job's title into its file name).
TEST_F(SystemLookTest, CtrlPPrintsThroughTheMenuItemUnderItsJobTitle)
{
    const std::wstring unixFolder = PdfFolderUnix();
    if (unixFolder.empty())
        GTEST_SKIP() << "no printer: VELMORA_PDF_DIR is not set";
    const std::wstring folder = WindowsPath(unixFolder);
    StartNotebook();
    const std::wstring pdf = PrintedPdf(folder, [&] { Bot().PressShortcut({VK_CONTROL, 'P'}); });
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(pdf.rfind(PrinterFileTitle(L"Рецепт"), 0), 0u) << Narrow(pdf);
    EXPECT_EQ(pdf.find(L"Recipes"), std::wstring::npos) << Narrow(pdf);
}

TEST_F(SystemLookTest, APrintedRecipesPdfHoldsItsLinesCyrillicIncluded)
{
    const std::wstring unixFolder = PdfFolderUnix();
    if (unixFolder.empty())
        GTEST_SKIP() << "no printer: VELMORA_PDF_DIR is not set";
    const std::wstring folder = WindowsPath(unixFolder);
    StartNotebook();
    const std::wstring text = ViewText();
    const std::wstring pdf = PrintedPdf(folder, [&] { ClickToolButton(L"Печать"); });
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(pdf.rfind(L"Recipes", 0), 0u) << "the tool bar's job title: " << Narrow(pdf);
    std::wstring printed;
    WaitUntil([&] { return Squeezed(printed = PdfText(unixFolder, pdf)).size() > 0; }, 10000);
    // Every paragraph of the view is in the printed text (line breaks may differ).
    const std::wstring all = Squeezed(printed);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\r', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = Squeezed(text.substr(start, end - start));
        if (line.size() > 1) {
            EXPECT_NE(all.find(line), std::wstring::npos) << "missing: " << Narrow(line);
        }
        start = end + 1;
        while (start < text.size() && text[start] == L'\n')
            ++start;
    }
}

// The system's windows the program shows, each opened on a freshly started notebook: it must wear the
// skin (measured shares printed), hold no unpainted black once first painted, and every visible window
// in it, and every drop-down list of its combo boxes, must answer that it is skinned.
enum class SystemWindow { OpenPicture, Print, PrinterSetup, ListPopup, SystemMenu, Message };

struct SystemWindowCase {
    const char* Name;
    SystemWindow Which;
};

class SystemWindowLook : public SystemLookTest, public ::testing::WithParamInterface<SystemWindowCase> {
protected:
    HWND Open(SystemWindow which)
    {
        switch (which) {
        case SystemWindow::OpenPicture: {
            // From the new-recipe dialog's browse button.
            ClickToolButton(L"Новый");
            recipe_ = WaitForProgramWindow(L"TNewForm", L"Новый рецепт");
            if (!recipe_)
                return nullptr;
            HWND browse = FindChildWindow(recipe_, {}, L"Обзор...");
            if (!browse)
                return nullptr;
            Bot().ClickCentre(browse);
            return WaitForDialog();
        }
        case SystemWindow::Print:
            ClickToolButton(L"Печать");
            return WaitForDialog();
        case SystemWindow::PrinterSetup:
            ChooseMenu(0, 4);
            return WaitForDialog();
        case SystemWindow::ListPopup: {
            ClickRecipe(0, MouseButton::Right);
            HWND popup = WaitForTopWindow({ProcessId(), L"#32768", {}, true}, 5000);
            Bot().WaitIdle(popup);
            return popup;
        }
        case SystemWindow::SystemMenu: {
            // A left click on the title icon opens the skinned system menu.
            RECT frame{};
            GetWindowRect(MainWindow(), &frame);
            POINT icon{frame.left + GetSystemMetrics(SM_CXFRAME) + 8,
                       frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
            ScreenToClient(MainWindow(), &icon);
            Bot().Click(MainWindow(), icon);
            return WaitForTopWindow({ProcessId(), L"#32768", {}, true}, 5000);
        }
        case SystemWindow::Message:
            ClickRecipe(0, MouseButton::Right);
            ChooseLastPopupItem();
            return WaitForProgramWindow(L"TMessageForm");
        }
        return nullptr;
    }
    void Close(SystemWindow which, HWND wnd)
    {
        if (which == SystemWindow::Message) {
            HWND no = FindChildWindow(wnd, {}, L"&Нет");
            ASSERT_NE(no, nullptr);
            Bot().ClickCentre(no);
        } else {
            Bot().PressKey(VK_ESCAPE);
        }
        EXPECT_TRUE(WaitForWindowGone(wnd, 5000));
        if (recipe_) {
            Bot().PressKey(VK_ESCAPE);
            EXPECT_TRUE(WaitForWindowGone(recipe_, 5000));
        }
    }

private:
    HWND recipe_ = nullptr;
};

TEST_P(SystemWindowLook, WearsTheSkinAndEveryWindowInItAnswersThatItIsSkinned)
{
    const SystemWindowCase& c = GetParam();
    StartNotebook();
    HWND wnd = Open(c.Which);
    ASSERT_NE(wnd, nullptr) << c.Name << " did not show";
    Audit(wnd, testsupport::Widen(c.Name));
    Close(c.Which, wnd);
}

INSTANTIATE_TEST_SUITE_P(SystemWindows, SystemWindowLook,
                         ::testing::Values(SystemWindowCase{"open-picture", SystemWindow::OpenPicture},
                                           SystemWindowCase{"print", SystemWindow::Print},
                                           SystemWindowCase{"printer-setup", SystemWindow::PrinterSetup},
                                           SystemWindowCase{"list-popup", SystemWindow::ListPopup},
                                           SystemWindowCase{"system-menu", SystemWindow::SystemMenu},
                                           SystemWindowCase{"message", SystemWindow::Message}),
                         [](const ::testing::TestParamInfo<SystemWindowCase>& info) {
                             std::string name = info.param.Name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace

