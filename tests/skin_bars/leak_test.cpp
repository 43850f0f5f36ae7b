// Switching skins back and forth with all three bars on a form leaves no GDI objects behind.
#include "tests/skin_bars/bars_support.h"

#include "framework/ExtCtrls.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"

namespace {

DWORD GdiObjects()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

} // namespace

TEST_F(BarsTest, SwitchingSkinsRepeatedlyLeavesNoGdiObjectsBehind)
{
    if (GdiObjects() == 0)
        GTEST_SKIP() << "the system does not count GDI objects";
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
    const DWORD before = GdiObjects();
    for (int i = 0; i < 60; ++i)
        cycle();
    EXPECT_LE(GdiObjects(), before + 5);
}
