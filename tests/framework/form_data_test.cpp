// Form data names the standard controls and their published properties: a dialog read from it has
// its items, lines, styles, results and references in place, and its handlers bound.
#include "framework/Buttons.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/RichEdit.h"
#include "framework/StdCtrls.h"

#include "tests/framework/std_support.h"

class TRecipeDialog : public TForm {
    DECLARE_CLASS_NAME(TRecipeDialog)
public:
    explicit TRecipeDialog(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"CategoryBoxChange", this, &TRecipeDialog::CategoryBoxChange);
        b.Field(L"Label1", &Label1);
        b.Field(L"CategoryBox", &CategoryBox);
        b.Field(L"NameRecipes", &NameRecipes);
        b.Field(L"RatingComboBox", &RatingComboBox);
        b.Field(L"Produkts", &Produkts);
        b.Field(L"RichEdit", &RichEdit);
        b.Field(L"Frame", &Frame);
        b.Field(L"Panel", &Panel);
        b.Field(L"Foto", &Foto);
        b.Field(L"buttonOK", &buttonOK);
        b.Field(L"buttonCancel", &buttonCancel);
        b.Field(L"OpenPictureDialog1", &OpenPictureDialog1);
        b.Field(L"PrintDialog", &PrintDialog);
    }
    void CategoryBoxChange(TObject*)
    {
        NameRecipes->SetEnabled(true);
        NameRecipes->SetColor(clWindow);
    }

    TLabel* Label1 = nullptr;
    TComboBox* CategoryBox = nullptr;
    TEdit* NameRecipes = nullptr;
    TComboBox* RatingComboBox = nullptr;
    TMemo* Produkts = nullptr;
    TRichEdit* RichEdit = nullptr;
    TBevel* Frame = nullptr;
    TPanel* Panel = nullptr;
    TImage* Foto = nullptr;
    TButton* buttonOK = nullptr;
    TButton* buttonCancel = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TPrintDialog* PrintDialog = nullptr;
};

namespace {

class FormData : public StdControlsTest {
protected:
    void SetUp() override
    {
        StdControlsTest::SetUp();
        RegisterClass<TRecipeDialog>(L"TRecipeDialog", L"TForm");
        dialog = Create<TRecipeDialog>(Application);
    }
    void TearDown() override
    {
        Free(dialog);
        StdControlsTest::TearDown();
    }
    TRecipeDialog* dialog = nullptr;
};

} // namespace

TEST_F(FormData, DialogOfStandardControlsReadsItsPropertiesAndBindsItsHandlers)
{
    ASSERT_NE(dialog->CategoryBox, nullptr);
    EXPECT_EQ(dialog->CategoryBox->DropDownCount(), 20);
    EXPECT_FALSE(dialog->NameRecipes->Enabled());
    EXPECT_EQ(dialog->NameRecipes->MaxLength(), 40);
    ASSERT_EQ(dialog->RatingComboBox->Items()->Count(), 6);
    EXPECT_EQ(dialog->RatingComboBox->Items()->Get(5), L"5");
    EXPECT_EQ(dialog->Produkts->Lines()->Count(), 2);
    EXPECT_EQ(dialog->Produkts->Lines()->Get(1), L"молоко");
    EXPECT_EQ(dialog->Produkts->ScrollBars(), ssVertical);
    EXPECT_FALSE(dialog->RichEdit->Visible());
    EXPECT_EQ(dialog->RichEdit->BorderStyle(), bsNoBorder);
    EXPECT_EQ(dialog->Frame->Shape(), bsTopLine);
    EXPECT_EQ(dialog->Panel->BevelOuter(), bvLowered);
    EXPECT_EQ(dialog->Foto->Parent(), dialog->Panel);
    EXPECT_TRUE(dialog->Foto->Center());
    EXPECT_EQ(dialog->buttonOK->ModalResult(), mrOk);
    EXPECT_TRUE(dialog->buttonOK->Default());
    EXPECT_TRUE(dialog->buttonCancel->Cancel());
    EXPECT_EQ(dialog->OpenPictureDialog1->Filter(), L"JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg");
    EXPECT_EQ(dialog->Label1->FocusControl(), dialog->CategoryBox);
    // The label sized itself to its caption once the data was read.
    EXPECT_GT(dialog->Label1->Width(), 100);

    dialog->Show();
    testsupport::PumpMessagesUntilIdle();
    EXPECT_EQ(SendMessageW(dialog->RatingComboBox->Handle(), CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(dialog->RichEdit->Lines()->Count(), 0);
    EXPECT_FALSE(IsWindowVisible(dialog->RichEdit->Handle()));
    dialog->CategoryBox->Items()->Add(L"Супы");
    SendMessageW(dialog->CategoryBox->Handle(), CB_SETCURSEL, 0, 0);
    HWND box = dialog->CategoryBox->Handle();
    SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    EXPECT_TRUE(dialog->NameRecipes->Enabled());
    EXPECT_TRUE(IsWindowEnabled(dialog->NameRecipes->Handle()));
    // Escape presses the cancel button of the data.
    EXPECT_EQ(dialog->Perform(CM_DIALOGKEY, VK_ESCAPE), 1);
    EXPECT_EQ(dialog->ModalResult(), mrCancel);
}

namespace {

// Form data of a bit button with an 8 x 2 glyph of two 4 x 2 frames; NumGlyphs is put in by the test.
std::string BitButtonForm(const char* numGlyphs)
{
    return std::string("object Dlg: TForm\n"
                       "  object Ok: TBitBtn\n"
                       "    Caption = 'OK'\n"
                       "    Glyph = {424D660000000000000036000000280000000800000002000000010018000000000030000000"
                       "130B0000130B000000000000000000000000FF0000FF0000FF0000FF00FF0000FF0000FF0000FF000000FF0000"
                       "FF0000FF0000FF00FF0000FF0000FF0000FF00}\n"
                       "    NumGlyphs = ") +
           numGlyphs +
           "\n"
           "    Layout = blGlyphTop\n"
           "    Margin = 3\n"
           "    Spacing = 0\n"
           "  end\n"
           "end\n";
}

TBitBtn* ReadBitButton(TForm* root, const char* numGlyphs)
{
    TFormReader(root, L"bitbtn.form").Read(ParseFormData(BitButtonForm(numGlyphs), L"bitbtn.form"));
    return dynamic_cast<TBitBtn*>(root->FindComponent(L"Ok"));
}

} // namespace

TEST_F(FormData, ABitButtonReadsItsGlyphAndHowTheGlyphSits)
{
    TOwned<TForm> root(Create<TForm>(Application));
    TBitBtn* button = ReadBitButton(root.get(), "2");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Glyph()->Width(), 8);
    EXPECT_EQ(button->Glyph()->Height(), 2);
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->Layout(), blGlyphTop);
    EXPECT_EQ(button->Margin(), 3);
    EXPECT_EQ(button->Spacing(), 0);
}

TEST_F(FormData, ABitButtonsFrameCountStaysWithinOneToFour)
{
    // The frame width is the glyph's width divided by the count: 0 must not reach a painter.
    for (const auto& [text, count] : {std::pair{"0", 1}, std::pair{"-3", 1}, std::pair{"9", 4}}) {
        TOwned<TForm> root(Create<TForm>(Application));
        TBitBtn* button = ReadBitButton(root.get(), text);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->NumGlyphs(), count) << text;
    }
}
