#include "tests/skin_controls/menus_support.h"

#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "tests/skin_core/test_skin.h"

namespace menutest {

namespace {

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

} // namespace

void WriteMenuSkin(const std::wstring& folder)
{
    auto entries = testskin::TestSkinEntries();
    std::string& options = entries[0].bytes;
    const std::string box = "BOXCHECKED=@0000@0000@0039@0013@3@0\r\n";
    options.replace(options.find(box), box.size(), box + "CHECK=!CHECK.BMP!2!0!2\r\n");
    options += "[MAINMENU]\r\nCOLOR=" + Hex(kMenuBg) +
               "\r\nBORDERSMASK=!MENUBORDER.BMP!1!0!0!0003!0003!0003!0003\r\n"
               "[MENUITEM]\r\nCOLOR=" + Hex(kItem) + "\r\nHOTCOLOR=" + Hex(kItemHot) + "\r\nFONTCOLOR=" +
               Hex(kItemText) + "\r\nHOTFONTCOLOR=" + Hex(kItemHotText) +
               "\r\n"
               "[MENULINE]\r\nFONTCOLOR=" + Hex(kLineText) + "\r\nHOTFONTCOLOR=" + Hex(kLineText) +
               "\r\n"
               "[ICOLINE]\r\nCOLOR=" + Hex(kIcoLine) +
               "\r\n"
               "[EXTRALINE]\r\nCOLOR=" + Hex(kExtraLine) + "\r\nFONTCOLOR=" + Hex(kExtraText) +
               "\r\n"
               "[DIVIDERV]\r\nBORDERSMASK=!DIVIDER.BMP!1!0!0!0001!0001!0001!0001\r\n"
               "[TOOLBAR]\r\nCOLOR=" + Hex(kToolbar) + "\r\nFONTCOLOR=0x000000\r\n";
    entries.push_back({"MENUBORDER.BMP", testskin::FlatBitmapFile(12, 12, kMenuBg)});
    entries.push_back({"DIVIDER.BMP", testskin::FlatBitmapFile(6, 6, kDivider)});
    entries.push_back({"CHECK.BMP", testskin::FlatBitmapFile(16, 8, kCheck)});
    for (const auto& e : entries)
        testsupport::WriteFileBytes(folder + L"\\Menus\\" + testsupport::Widen(e.name), e.bytes);
}

COLORREF Pixel(TBitmap* bmp, int x, int y)
{
    const auto* row = static_cast<const std::uint8_t*>(bmp->ScanLine(y)) + x * 3;
    return RGB(row[2], row[1], row[0]);
}

bool AnyPixel(TBitmap* bmp, const TRect& r, COLORREF color)
{
    for (int y = std::max(0, r.Top); y < std::min(r.Bottom, bmp->Height()); ++y)
        for (int x = std::max(0, r.Left); x < std::min(r.Right, bmp->Width()); ++x)
            if (Pixel(bmp, x, y) == color)
                return true;
    return false;
}

std::unique_ptr<TBitmap> Bitmap24(int width, int height, COLORREF fill)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetHandleType(bmDIB);
    bmp->SetSize(width, height);
    RECT r{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(bmp->Canvas()->Handle(), &r, brush);
    DeleteObject(brush);
    return bmp;
}

void TMenuForm::Dispatch(TMessage& m)
{
    if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SkinCmdGetProvider) {
        m.Result = Provider;
        return;
    }
    TForm::Dispatch(m);
}

void MenuTest::SetUp()
{
    TempFolderTest::SetUp();
    WriteMenuSkin(Folder());
    form = new TMenuForm(Application);
    form->SetBounds(40, 40, 300, 200);
    mainMenu = new TMainMenu(form);
    fileItem = AddItem(mainMenu->Items(), L"Файл");
    openItem = AddItem(fileItem, L"Открыть");
    form->SetMenu(mainMenu);
    popup = new TPopupMenu(form);
    AddItem(popup->Items(), L"Первый");
    sm = std::make_unique<TsSkinManager>(nullptr);
    sm->SetSkinDirectory(Folder());
    // As when read from form data: the icon column takes its default section.
    sm->Loaded();
}

void MenuTest::TearDown()
{
    sm.reset();
    Free(form);
    form = nullptr;
    ClearMenuCache();
    TacSkinLinks links = SkinLinks();
    links.MenuLineSource = nullptr;
    SetSkinLinks(links);
    TempFolderTest::TearDown();
}

void MenuTest::LoadSkin()
{
    sm->SetSkinName(L"Menus");
    ASSERT_TRUE(sm->SkinData()->Active);
    // The form's provider does this on the skin command; these forms have none.
    Menus()->UpdateActive();
}

TMenuItem* MenuTest::AddItem(TMenuItem* parent, const std::wstring& caption, const std::wstring& name)
{
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    if (!name.empty())
        item->SetName(name);
    parent->Add(item);
    return item;
}

} // namespace menutest
