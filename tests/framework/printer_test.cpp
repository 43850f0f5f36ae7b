// The printer with no printer installed: every operation reports a clear error, nothing crashes.
#include "framework/Printers.h"

#include "tests/support/test_support.h"

namespace {

class NoPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Printer()->Printers()->Count() > 0)
            GTEST_SKIP() << "a printer is installed here";
    }
    void TearDown() override { FreePrinter(); }
};

TEST_F(NoPrinter, StartingADocumentRaisesAPrinterError)
{
    TPrinter* printer = Printer();
    printer->SetTitle(L"Рецепт");
    try {
        printer->BeginDoc();
        FAIL() << "no exception";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), L"There is no default printer currently selected");
    }
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(printer->PageNumber(), 0);
}

TEST_F(NoPrinter, HandleCanvasAndPageSizeRaise)
{
    TPrinter* printer = Printer();
    EXPECT_THROW(printer->Handle(), EPrinter);
    EXPECT_THROW(printer->Canvas(), EPrinter);
    EXPECT_THROW(printer->PageWidth(), EPrinter);
    EXPECT_THROW(printer->PageHeight(), EPrinter);
}

TEST_F(NoPrinter, EndingOrPagingWithoutADocumentRaises)
{
    TPrinter* printer = Printer();
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    EXPECT_THROW(printer->NewPage(), EPrinter);
    EXPECT_THROW(printer->Abort(), EPrinter);
    EXPECT_THROW(printer->SetPrinterIndex(0), EPrinter);
    EXPECT_EQ(printer->PrinterIndex(), -1);
}

TEST(Printers, OneProcessPrinterUntilFreed)
{
    TPrinter* a = Printer();
    EXPECT_EQ(Printer(), a);
    FreePrinter();
    EXPECT_NE(Printer(), nullptr);
    FreePrinter();
}

} // namespace
