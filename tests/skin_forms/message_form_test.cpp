// The framework's message dialogs ("TMessageForm") under the hook: skinned only with the standard
// dialogs rule, and without the skin-selection menu; their buttons are skinned with them.
#include "skin/forms/acDials.h"

#include "framework/Dialogs.h"
#include "skin/core/sMessages.h"
#include "tests/skin_forms/provider_support.h"

#include <functional>

namespace {

struct MessageSeen {
    bool Found = false;
    bool FormSkinned = false;
    bool HasSkinMenu = true;
    int Buttons = 0;
    int SkinnedButtons = 0;
};
MessageSeen gSeen;

BOOL CALLBACK LookAtButton(HWND child, LPARAM)
{
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (std::wstring(cls).find(L"Button") != std::wstring::npos) {
        ++gSeen.Buttons;
        if (QuerySkinCmdHwnd(child, SkinCmdIsSkinned))
            ++gSeen.SkinnedButtons;
    }
    return TRUE;
}

BOOL CALLBACK FindMessageForm(HWND wnd, LPARAM)
{
    if (GetWndClassName(wnd) != L"TMessageForm" || !IsWindowVisible(wnd))
        return TRUE;
    gSeen.Found = true;
    gSeen.FormSkinned = QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned);
    if (auto* provider = reinterpret_cast<TsSkinProvider*>(SendSkinCmd(wnd, SkinCmdGetProvider, 0)))
        gSeen.HasSkinMenu = provider->MakeSkinMenu;
    EnumChildWindows(wnd, LookAtButton, 0);
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    return FALSE;
}

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), FindMessageForm, 0);
    if (gSeen.Found)
        KillTimer(nullptr, id);
}

MessageSeen ShowConfirmation()
{
    gSeen = MessageSeen{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, LookAndClose);
    MessageDlg(L"Удалить рецепт?", mtConfirmation, {mbYes, mbNo});
    KillTimer(nullptr, timer);
    return gSeen;
}

class MessageForm : public ProviderTest {
protected:
    MessageForm() { Rules = {srStdForms, srStdDialogs, srThirdParty}; }
};

TEST_F(MessageForm, AMessageDialogIsSkinnedWithoutTheSkinMenu)
{
    const MessageSeen seen = ShowConfirmation();
    ASSERT_TRUE(seen.Found);
    EXPECT_TRUE(seen.FormSkinned);
    EXPECT_FALSE(seen.HasSkinMenu);
    EXPECT_EQ(seen.Buttons, 2);
    EXPECT_EQ(seen.SkinnedButtons, 2) << "the buttons are adapted like any skinned form's buttons";
}

TEST_F(MessageForm, WithoutTheStandardDialogsRuleAMessageDialogKeepsTheSystemLook)
{
    Manager->SkinningRules = {srStdForms, srThirdParty};
    const MessageSeen seen = ShowConfirmation();
    ASSERT_TRUE(seen.Found);
    EXPECT_FALSE(seen.FormSkinned);
    EXPECT_EQ(seen.SkinnedButtons, 0);
}

} // namespace
