#include "app/about.h"

#include "framework/SysUtils.h"

namespace {

// Owns a global memory block until it is handed to the clipboard.
class GlobalBlock {
public:
    explicit GlobalBlock(size_t size) : memory_(GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size)) {}
    ~GlobalBlock()
    {
        if (memory_)
            GlobalFree(memory_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL Get() const { return memory_; }
    void Release() { memory_ = nullptr; }

private:
    HGLOBAL memory_; // owned until Release
};

// Keeps the clipboard open for one scope.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~ClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text)
{
    ClipboardScope clipboard(owner);
    if (!clipboard.Open())
        return false;
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    GlobalBlock block(static_cast<size_t>(length) + 1);
    if (!block.Get())
        throw EOSError(L"Not enough memory for the clipboard");
    auto* bytes = static_cast<char*>(GlobalLock(block.Get()));
    if (!bytes)
        throw EOSError(L"Not enough memory for the clipboard");
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes, length, nullptr, nullptr);
    bytes[length] = '\0';
    EmptyClipboard();
    const bool handedOver = SetClipboardData(CF_TEXT, block.Get()) != nullptr;
    GlobalUnlock(block.Get());
    if (!handedOver)
        throw EOSError(L"The clipboard did not take the text");
    // The clipboard owns the memory now.
    block.Release();
    return true;
}

void TAboutForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormShow", this, &TAboutForm::FormShow);
    b.Handler(L"ASLink1Click", this, &TAboutForm::ASLink1Click);
    b.Field(L"startn", &startn);
    b.Field(L"receptsn", &receptsn);
    b.Field(L"MailLink1", &MailLink1);
    b.Field(L"MailLink2", &MailLink2);
    b.Field(L"SiteLink", &SiteLink);
    b.Field(L"ASLink1", &ASLink1);
    b.Field(L"Picture", &Picture);
    b.Field(L"OKButton", &OKButton);
}

void TAboutForm::FormShow(TObject*)
{
    startn->SetCaption(IntToStr(Host->StartCount()));
    receptsn->SetCaption(IntToStr(Host->ViewCount()));
    // The program's own icon, drawn for the picture's size; a program built without it (a test's)
    // leaves the picture empty.
    if (auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                                   Picture->Width(), Picture->Height(), 0)))
        Picture->Picture()->Icon()->SetHandle(icon);
}

void TAboutForm::ASLink1Click(TObject*)
{
    CopyTextToClipboard(Handle(), ASLink1->Caption());
}
