#include "app/store_dialogs.h"

void TMessageBoxDialogs::ShowMessage(const std::wstring& text)
{
    MessageBoxW(owner_, text.c_str(), title_.c_str(), MB_OK);
}

void TMessageBoxDialogs::ShowInformation(const std::wstring& text)
{
    MessageBoxW(owner_, text.c_str(), title_.c_str(), MB_OK | MB_ICONINFORMATION);
}

void TMessageBoxDialogs::ShowWarning(const std::wstring& text)
{
    MessageBoxW(owner_, text.c_str(), title_.c_str(), MB_OK | MB_ICONWARNING);
}

bool TMessageBoxDialogs::Confirm(const std::wstring& text)
{
    return MessageBoxW(owner_, text.c_str(), title_.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}
