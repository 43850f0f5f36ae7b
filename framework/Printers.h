// The printer: documents on the default (or a chosen) printer through a canvas on its DC.
#pragma once

#include "framework/Graphics.h"

#include <memory>
#include <string>

class TPrinter : public TObject {
    DECLARE_CLASS_NAME(TPrinter)
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The installed printers by name; PrinterIndex -1 is the system's default printer.
    TStrings* Printers();
    int PrinterIndex() const { return printerIndex_; }
    void SetPrinterIndex(int value);

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& value) { title_ = value; }

    // Without a printer each of these raises EPrinter ("There is no default printer currently
    // selected"); nothing is left half open.
    HDC Handle();
    TCanvas* Canvas();
    int PageWidth();
    int PageHeight();
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }

private:
    std::wstring PrinterName();
    void FreeDc();
    void CheckPrinting(bool value);

    std::unique_ptr<TStringList> printers_;
    int printerIndex_ = -1;
    std::wstring title_;
    HDC dc_ = nullptr; // owned printer DC
    TCanvas canvas_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The process's printer, made on first use.
TPrinter* Printer();
// Frees it at shutdown (a later Printer() makes a new one).
void FreePrinter();
