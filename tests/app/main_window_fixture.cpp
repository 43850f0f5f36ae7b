#include "tests/app/main_window_fixture.h"

#include "app/icon_theme.h"
#include "app/recipe_document.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <commctrl.h>

namespace apptest {

namespace {

// A square icon of one colour, opaque everywhere.
HICON SolidIcon(int size, COLORREF colour)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::uint32_t bgra = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < size * size; ++i)
        pixels[i] = bgra;
    std::vector<std::uint8_t> zeros(static_cast<size_t>(size * size / 8), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO iconInfo{TRUE, 0, 0, mask, image};
    HICON icon = CreateIconIndirect(&iconInfo);
    DeleteObject(mask);
    DeleteObject(image);
    return icon;
}

int unique = 0;

} // namespace

void MainWindowTest::SetUp()
{
    StoreTest::SetUp();
    ASSERT_TRUE(SetCurrentDir(Folder()));
    keyPath = L"Software\\Korvadin Tests\\MainWindow" + std::to_wstring(GetCurrentProcessId()) + L"_" +
              std::to_wstring(++unique);
    settings = std::make_unique<TRegistrySettings>(keyPath);
    // A failure would otherwise stop the test at a message box nobody closes.
    Application->OnException = [this](TObject*, const Exception& e) { errors.push_back(e.Message()); };
}

void MainWindowTest::TearDown()
{
    if (form) {
        Free(form);
        form = nullptr;
    }
    MainForm = nullptr;
    testsupport::PumpMessagesUntilIdle(200);
    Application->OnException = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    StoreTest::TearDown();
}

void MainWindowTest::WriteRecipe(const std::wstring& category, const std::wstring& name,
                                 const std::wstring& rating) const
{
    CreateDir(Bases() + L"\\" + category);
    recipes::HiddenRichEdit edit;
    ASSERT_TRUE(edit.Valid());
    recipes::RecipeFields fields;
    fields.name = name;
    fields.rating = rating;
    fields.portions = L"2";
    fields.products = L"Мука";
    fields.method = L"Смешать";
    recipes::ComposeRecipe(edit.Handle(), fields);
    std::wstring error;
    ASSERT_TRUE(recipes::SaveRichEditRtf(edit.Handle(), InCategory(category, name + L".rcp"), error)) << Utf8(error);
}

void MainWindowTest::WriteTheme(const std::wstring& theme, COLORREF colour, const std::vector<std::wstring>& names) const
{
    const std::wstring folder = ThemeFolder(Folder(), theme);
    CreateDir(Folder() + L"\\Resource");
    ASSERT_TRUE(CreateDir(folder));
    std::vector<std::wstring> all = names;
    if (all.empty()) {
        for (const wchar_t* name : kToolBarIconNames)
            all.push_back(name);
        for (const wchar_t* name : kMenuIconNames)
            all.push_back(name);
        all.push_back(L"ls_doc");
    }
    for (const std::wstring& name : all) {
        TIcon icon;
        icon.SetHandle(SolidIcon(32, colour));
        icon.SaveToFile(folder + name + L".ico");
    }
}

void MainWindowTest::WriteSetting(const std::wstring& section, const std::wstring& name, const std::wstring& value)
{
    settings->WriteString(section, name, value);
}

std::wstring MainWindowTest::ReadSetting(const std::wstring& section, const std::wstring& name)
{
    return settings->ReadString(section, name, L"<missing>");
}

TMainForm* MainWindowTest::Start()
{
    EXPECT_TRUE(SetCurrentDir(Folder()));
    // The pointer rests in the screen's corner, away from the centred window: windows of other tests
    // opening and closing under it would otherwise send the view hover moves that rewrite the
    // status text.
    SetCursorPos(0, 0);
    form = Create<TMainForm>(Application);
    MainForm = form;
    form->UseSettings(settings.get());
    form->UseDialogs(&dialogs);
    form->Show();
    testsupport::PumpMessagesUntilIdle(500);
    return form;
}

TMainForm* MainWindowTest::Restart()
{
    Free(form);
    form = nullptr;
    testsupport::PumpMessagesUntilIdle(200);
    return Start();
}

std::vector<std::wstring> MainWindowTest::ListCaptions() const
{
    std::vector<std::wstring> captions;
    for (int i = 0; i < form->RecipesList->Items()->Count(); ++i)
        captions.push_back(form->RecipesList->Items()->Item(i)->Caption());
    return captions;
}

std::vector<std::wstring> MainWindowTest::TabTexts() const
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < form->sTabControl->Tabs()->GetCount(); ++i)
        texts.push_back(form->sTabControl->Tabs()->Get(i));
    return texts;
}

std::vector<std::wstring> MainWindowTest::ViewLines() const
{
    return recipes::RichEditParagraphs(form->Rich->Handle());
}

std::vector<bool> MainWindowTest::StarsVisible() const
{
    return {form->imgStar1->Visible(), form->imgStar2->Visible(), form->imgStar3->Visible(),
            form->imgStar4->Visible(), form->imgStar5->Visible()};
}

void MainWindowTest::TypeIntoView(wchar_t key)
{
    SendMessageW(form->Rich->Handle(), WM_CHAR, key, 1);
    testsupport::PumpMessagesUntilIdle(200);
}

void MainWindowTest::ClickTab(int index)
{
    HWND tabs = form->sTabControl->Handle();
    RECT r{};
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    testsupport::PumpMessagesUntilIdle(300);
}

COLORREF ImageCentre(TCustomImageList* list, int index)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(list->Width(), list->Height());
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, list->Width(), list->Height()));
    list->Draw(bitmap.Canvas(), 0, 0, index);
    return GetPixel(bitmap.Canvas()->Handle(), list->Width() / 2, list->Height() / 2);
}

} // namespace apptest
