#include "skin/core/sSkinLinks.h"
#include "tests/skin_forms/manager_support.h"

namespace {

LRESULT CALLBACK StandInCBTProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && FormsLayerStandIn::Current)
        ++FormsLayerStandIn::Current->WindowsCreated;
    return CallNextHookEx(DialogsHookHandle(), code, wParam, lParam);
}

} // namespace

bool SkinCommandLog::Handle(TMessage& m)
{
    if (m.Msg == WM_SETREDRAW)
        Redraws.push_back(m.WParam);
    if (m.Msg != SM_SKINCMD)
        return false;
    const WORD cmd = HIWORD(m.WParam);
    if (cmd == SkinCmdIsSkinned) {
        if (Skinned)
            m.LParam = 1;
        if (Skinned && AnswersInResult)
            m.Result = 1;
        return true;
    }
    if (cmd == SkinCmdGetProvider) {
        m.Result = Provider;
        return true;
    }
    Heard.emplace_back(cmd, m.LParam);
    return true;
}

std::vector<WORD> SkinCommandLog::Commands() const
{
    std::vector<WORD> commands;
    for (const HeardCommand& c : Heard)
        commands.push_back(c.first);
    return commands;
}

FormsLayerStandIn* FormsLayerStandIn::Current = nullptr;

FormsLayerStandIn::FormsLayerStandIn()
{
    Current = this;
    saved_ = SkinLinks();
    TacSkinLinks links;
    links.MakeSkinMenus = [](TsSkinManager* owner) -> std::unique_ptr<IacSkinMenus> {
        return std::make_unique<TRecordingMenus>(owner);
    };
    links.DialogsCBTProc = StandInCBTProc;
    links.ClearMenuWnds = [] { ++Current->ClearMenuWndsCalls; };
    links.PopupBitmap = [] { return Current->PopupBackground; };
    links.ProviderManager = [](LRESULT) { return Current->ProviderManager; };
    links.RefreshProvider = [](LRESULT provider) { Current->RefreshedProviders.push_back(provider); };
    SetSkinLinks(links);
}

FormsLayerStandIn::~FormsLayerStandIn()
{
    SetSkinLinks(saved_);
    Current = nullptr;
}

