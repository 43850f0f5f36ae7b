// The printer over the spooler's DCs.
#include "framework/Printers.h"

#include <winspool.h>

#include <vector>

namespace {

std::unique_ptr<TPrinter>& ProcessPrinter()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

} // namespace

TPrinter* Printer()
{
    auto& printer = ProcessPrinter();
    if (!printer)
        printer = std::make_unique<TPrinter>();
    return printer.get();
}

void FreePrinter() { ProcessPrinter().reset(); }

TPrinter::TPrinter() = default;

TPrinter::~TPrinter()
{
    if (printing_)
        AbortDoc(dc_);
    FreeDc();
}

void TPrinter::FreeDc()
{
    canvas_.SetHandle(nullptr);
    if (dc_)
        DeleteDC(dc_);
    dc_ = nullptr;
}

TStrings* TPrinter::Printers()
{
    if (!printers_) {
        printers_ = std::make_unique<TStringList>();
        DWORD needed = 0, count = 0;
        DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
        if (needed > 0) {
            std::vector<BYTE> buffer(needed);
            if (EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
                auto* info = reinterpret_cast<PRINTER_INFO_4W*>(buffer.data());
                for (DWORD i = 0; i < count; ++i)
                    if (info[i].pPrinterName)
                        printers_->Add(info[i].pPrinterName);
            }
        }
    }
    return printers_.get();
}

void TPrinter::SetPrinterIndex(int value)
{
    CheckPrinting(false);
    if (value < -1 || value >= Printers()->Count())
        throw EPrinter(L"Printer selected is not valid");
    printerIndex_ = value;
    FreeDc();
}

std::wstring TPrinter::PrinterName()
{
    if (printerIndex_ >= 0)
        return Printers()->Get(printerIndex_);
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        throw EPrinter(L"There is no default printer currently selected");
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        throw EPrinter(L"There is no default printer currently selected");
    name.resize(wcslen(name.c_str()));
    if (name.empty())
        throw EPrinter(L"There is no default printer currently selected");
    return name;
}

HDC TPrinter::Handle()
{
    if (!dc_) {
        std::wstring name = PrinterName();
        dc_ = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
        if (!dc_)
            throw EPrinter(L"Printer \"" + name + L"\" is not available");
        canvas_.SetHandle(dc_);
    }
    return dc_;
}

TCanvas* TPrinter::Canvas()
{
    Handle();
    return &canvas_;
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }

int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

void TPrinter::CheckPrinting(bool value)
{
    if (printing_ != value)
        throw EPrinter(value ? L"Printing not in progress" : L"Printing in progress");
}

void TPrinter::BeginDoc()
{
    CheckPrinting(false);
    HDC dc = Handle();
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title_.c_str();
    if (StartDocW(dc, &info) <= 0)
        throw EPrinter(L"The printer could not start the document");
    if (StartPage(dc) <= 0) {
        AbortDoc(dc);
        throw EPrinter(L"The printer could not start a page");
    }
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
}

void TPrinter::NewPage()
{
    CheckPrinting(true);
    EndPage(dc_);
    StartPage(dc_);
    ++pageNumber_;
    // A new page resets the DC's selections.
    canvas_.SetHandle(nullptr);
    canvas_.SetHandle(dc_);
}

void TPrinter::EndDoc()
{
    CheckPrinting(true);
    EndPage(dc_);
    if (!aborted_)
        ::EndDoc(dc_);
    printing_ = false;
    aborted_ = false;
    pageNumber_ = 0;
}

void TPrinter::Abort()
{
    CheckPrinting(true);
    AbortDoc(dc_);
    aborted_ = true;
    EndDoc();
}
