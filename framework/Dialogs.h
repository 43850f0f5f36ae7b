// Message dialogs: a framework form of class "TMessageForm" with an icon, the message and buttons with
// Russian captions.
#pragma once

#include "framework/Forms.h"

#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Builds the dialog without showing it (owned by the application; free it after use).
TCustomForm* CreateMessageDialog(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog modally and returns the pressed button's modal result (mrYes, mrOK, ...).
int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// An information message with an OK button, titled with the application's title.
void ShowMessage(const std::wstring& message);
