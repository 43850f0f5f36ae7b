#include "framework/ComObj.h"

#include "framework/SysUtils.h"

void OleCheck(HRESULT result)
{
    if (SUCCEEDED(result))
        return;
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? std::wstring(text) : std::wstring();
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty())
        message = L"OLE error " + IntToHex(static_cast<std::uint32_t>(result), 8);
    throw EOleSysError(message, result);
}
