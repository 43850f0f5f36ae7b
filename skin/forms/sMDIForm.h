// Support for an MDI main form: the adapter on its MDI client window, which the form's provider does
// not paint itself, connected while the provider's skin state is skinned.
#pragma once

#include "framework/Classes.h"
#include "framework/WinApi.h"

#include <memory>

class TsSkinProvider;
class TCustomForm;

class TsMDIForm : public TPersistent {
    DECLARE_CLASS_NAME(TsMDIForm)
public:
    explicit TsMDIForm(TsSkinProvider* skinProvider);
    ~TsMDIForm() override;

    // Connects the client adapter unless the form is being designed or one is connected already.
    void UpdateMDIClient();
    // A fresh adapter on the MDI client while the provider is skinned; none otherwise.
    void ConnectMDIClient();
    void DisconnectMDIClient();
    void RefreshProviderFrame();

    TsSkinProvider* SkinProvider = nullptr; // the owner
    TCustomForm* Form = nullptr;            // the provider's form, nil when it has none
    std::unique_ptr<TObject> MDIClientWnd;  // owned: the adapter on the MDI client window, nil when not connected
};
