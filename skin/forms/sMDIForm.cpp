#include "skin/forms/sMDIForm.h"

#include "framework/Forms.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/sSkinProvider.h"

TsMDIForm::TsMDIForm(TsSkinProvider* skinProvider) : SkinProvider(skinProvider)
{
    if (!skinProvider || !skinProvider->Form())
        return;
    Form = skinProvider->Form();
    // The MDI client window comes with the form's window.
    Form->HandleNeeded();
}

TsMDIForm::~TsMDIForm()
{
    DisconnectMDIClient();
}

void TsMDIForm::UpdateMDIClient()
{
    if (!SkinProvider || SkinProvider->HasState(csDesigning) || MDIClientWnd)
        return;
    ConnectMDIClient();
}

void TsMDIForm::ConnectMDIClient()
{
    DisconnectMDIClient();
    if (!SkinProvider || !SkinProvider->SkinData()->Skinned() || !Form || !SkinLinks().MakeMDIClientAdapter)
        return;
    MDIClientWnd = SkinLinks().MakeMDIClientAdapter(Form->ClientHandle(), SkinProvider);
}

void TsMDIForm::DisconnectMDIClient()
{
    MDIClientWnd.reset();
}

void TsMDIForm::RefreshProviderFrame()
{
    if (SkinProvider)
        SkinProvider->RepaintFrame();
}
