// Switching skins back and forth with all three bars on a form leaves no GDI objects, menus or windows behind.
#include "tests/skin_controls/bars_support.h"

#include "framework/ExtCtrls.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"

#include "tests/support/live_objects.h"

TEST_F(BarsTest, SwitchingSkinsRepeatedlyLeavesNoGdiObjectsBehind)
{
    MakeManager();
    auto* status = Create<TsStatusBar>(Form);
    status->SetParent(Form);
    status->Panels()->Add()->SetWidth(80);
    status->Panels()->Add()->SetWidth(80);
    auto* tools = Create<TsToolBar>(Form);
    tools->SetParent(Form);
    Create<TToolButton>(Form)->SetParent(tools);
    auto* split = Create<TsSplitter>(Form);
    split->SetParent(Form);
    Form->Show();
    const auto cycle = [this] {
        Manager->SetSkinName(L"Bars2");
        testsupport::CaptureWindow(Form->Handle());
        Manager->SetSkinName(L"Bars");
        testsupport::CaptureWindow(Form->Handle());
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    const auto before = testsupport::LiveObjects::Now();
    for (int i = 0; i < 60; ++i)
        cycle();
    EXPECT_TRUE(testsupport::LiveObjectsBackWithin(before));
}
