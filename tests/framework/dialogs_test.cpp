// The system's dialogs: the open dialog returns the chosen file and filter, the picture dialog lists
// the picture formats, and the print dialogs without a printer say so and return False.
#include "framework/Dialogs.h"
#include "framework/Jpeg.h"
#include "framework/Printers.h"
#include "framework/StdCtrls.h"

#include "tests/framework/std_support.h"

#include <dlgs.h>

namespace {

class Dialogs : public StdControlsTest {};

// The text of the message label of an open message dialog.
std::wstring MessageTextOf(HWND wnd)
{
    auto* form = dynamic_cast<TCustomForm*>(FindControl(wnd));
    if (!form)
        return {};
    TComponent* label = form->FindComponent(L"Message");
    auto* control = dynamic_cast<TControl*>(label);
    return control ? control->Text() : std::wstring();
}

} // namespace

TEST_F(Dialogs, PrintDialogsWithoutAPrinterSayThereIsNoneAndReturnFalse)
{
    if (Printer()->Printers()->Count() > 0)
        GTEST_SKIP() << "a printer is installed here";
    TOwned<TPrintDialog> print(Create<TPrintDialog>(nullptr));
    TOwned<TPrinterSetupDialog> setup(Create<TPrinterSetupDialog>(nullptr));
    for (TCommonDialog* dialog : std::vector<TCommonDialog*>{print.get(), setup.get()}) {
        std::wstring shown;
        ModalWatcher watcher([&]() {
            HWND wnd = FindThreadWindow(L"TMessageForm");
            if (!wnd)
                return false;
            shown = MessageTextOf(wnd);
            PostMessageW(wnd, WM_CLOSE, 0, 0);
            return true;
        });
        EXPECT_FALSE(dialog->Execute());
        EXPECT_EQ(shown, kNoPrinterMessage);
    }
}

TEST_F(Dialogs, OpenDialogReturnsTheChosenFileAndFilter)
{
    TempFolder temp;
    std::wstring file = temp.Path(L"фото.jpeg");
    testsupport::WriteFileBytes(file, "x");
    TOwned<TOpenDialog> dialog(Create<TOpenDialog>(nullptr));
    dialog->SetFilter(L"JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg");
    dialog->SetFilterIndex(2);
    dialog->SetInitialDir(temp.Path(L""));
    dialog->SetOptions({ofFileMustExist, ofHideReadOnly});
    int shows = 0;
    dialog->OnShow = [&](TObject*) { ++shows; };
    ModalWatcher watcher([&]() {
        HWND wnd = FindThreadWindow(L"#32770");
        if (!wnd)
            return false;
        SendMessageW(wnd, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(file.c_str()));
        SendMessageW(wnd, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(wnd, WM_COMMAND, IDOK, 0);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(dialog->FileName(), file);
    EXPECT_EQ(dialog->FilterIndex(), 2);
    ASSERT_EQ(dialog->Files()->Count(), 1);
}

TEST_F(Dialogs, CancelledOpenDialogKeepsTheFileName)
{
    TOwned<TOpenDialog> dialog(Create<TOpenDialog>(nullptr));
    dialog->SetFileName(L"C:\\old.jpg");
    ModalWatcher watcher([&]() {
        HWND wnd = FindThreadWindow(L"#32770");
        if (!wnd)
            return false;
        PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName(), L"C:\\old.jpg");
}

TEST_F(Dialogs, PictureDialogFilterListsTheRegisteredPictureFormats)
{
    RegisterJpegFormats();
    TOwned<TOpenPictureDialog> dialog(Create<TOpenPictureDialog>(nullptr));
    std::wstring filter = dialog->Filter();
    UnregisterJpegFormats();
    EXPECT_NE(filter.find(L"*.jpg"), std::wstring::npos);
    EXPECT_NE(filter.find(L"*.bmp"), std::wstring::npos);
}
