// A control's skin state: section names and defaults, the manager it follows, the indexes it reads from
// the test skin, hover and focus, the shared answers to skin commands, and its cache corners.
#include "tests/skin_controls/state_support.h"

#include "skin/core/sMaskPainter.h"
#include "skin/core/sPixels.h"

#include <algorithm>

namespace {

class CommonData : public SkinStateTest {
protected:
    void SetUp() override
    {
        SkinStateTest::SetUp();
        Box = Create<TSkinnedBox>(Form, 0);
        Box->SetParent(Form);
    }
    TSkinnedBox* Box = nullptr;
};

COLORREF CachePixel(TBitmap* bmp, int x, int y)
{
    return GetPixel(bmp->Canvas()->Handle(), x, y);
}

} // namespace

TEST_F(CommonData, SectionNamesAreStoredUpperCaseAndEmptyMeansUnknown)
{
    Box->SkinData->SetSkinSection(L"statusbar");
    EXPECT_EQ(Box->SkinData->SkinSection(), L"STATUSBAR");
    Box->SkinData->SetSkinSection(L"");
    EXPECT_EQ(Box->SkinData->SkinSection(), L"UNKNOWN");
    EXPECT_EQ(Box->SkinData->SkinIndex, -1);
    EXPECT_FALSE(Box->SkinData->Skinned());
}

TEST_F(CommonData, TheDefaultManagerIsNotStoredButStillAnswers)
{
    Box->SkinData->SetSkinManager(Manager);
    EXPECT_EQ(Box->SkinData->SkinManager(), nullptr);
    EXPECT_EQ(Box->SkinData->GetSkinManager(), Manager);
}

TEST_F(CommonData, LoadedTakesTheSectionOfTheControlTypeOrTheClassName)
{
    auto* bar = Create<TSkinnedBox>(Form, COC_TsStatusBar);
    bar->SetParent(Form);
    LoadControl(bar);
    EXPECT_EQ(bar->SkinData->SkinSection(), L"STATUSBAR");
    EXPECT_FALSE(bar->SkinData->Skinned()); // the test skin has no status bar

    LoadControl(Box);
    EXPECT_EQ(Box->SkinData->SkinSection(), L"TSKINNEDBOX");

    auto* panel = Create<TSkinnedBox>(Form, 51);
    panel->SetParent(Form);
    LoadControl(panel);
    EXPECT_EQ(panel->SkinData->SkinSection(), L"PANEL");
    EXPECT_TRUE(panel->SkinData->Skinned(true));
    // PANEL has no border of its own and inherits FORM's; its pattern is its own.
    const int form = FindSectionIndex(Manager, L"FORM");
    EXPECT_EQ(panel->SkinData->BorderIndex, FindMaskIndex(Manager, form, L"FORM", L"BORDERSMASK"));
    EXPECT_GE(panel->SkinData->BorderIndex, 0);
    EXPECT_EQ(panel->SkinData->Texture,
              FindTextureIndex(Manager, panel->SkinData->SkinIndex, L"PANEL", L"PATTERN"));
}

TEST_F(CommonData, LoadedAsksTheFormToAdaptAWindowedSkinnedControl)
{
    Box->SkinData->COC = 51;
    Form->Commands.clear();
    LoadControl(Box);
    EXPECT_NE(std::find(Form->Commands.begin(), Form->Commands.end(), SkinCmdAdaptControl), Form->Commands.end());
}

TEST_F(CommonData, EditsTakeTheSectionColoursUnlessTheirOwnAreKept)
{
    auto* memo = Create<TSkinnedBox>(Form, COC_TsMemo);
    memo->SetParent(Form);
    memo->SkinData->SetSkinSection(L"PANEL");
    memo->SkinData->SetCustomColor(true);
    LoadControl(memo);
    EXPECT_EQ(memo->Font()->Color(), SectionOf(L"PANEL").FontColor);
    EXPECT_NE(memo->Color(), SectionOf(L"PANEL").Color);
}

TEST_F(CommonData, ASkinWhoseLoadIsUnfinishedCountsOnlyWithoutTheActiveCheck)
{
    Box->SkinData->SetSkinSection(L"PANEL");
    Manager->SkinData()->Active = false;
    EXPECT_TRUE(Box->SkinData->Skinned(false));
    EXPECT_FALSE(Box->SkinData->Skinned(true));
    EXPECT_TRUE(Box->SkinData->Updating());
    Manager->SkinData()->Active = true;
}

TEST_F(CommonData, ToolBarTurnsHotOnlyByFocusAndSplitterByTheMouse)
{
    auto* toolBar = Create<TSkinnedBox>(Form, COC_TsToolBar);
    toolBar->SetParent(Form);
    toolBar->Perform(CM_MOUSEENTER);
    EXPECT_EQ(toolBar->SkinData->CtrlSkinState(), 0);
    toolBar->SetTabStop(true);
    Form->Show();
    toolBar->Perform(WM_SETFOCUS);
    EXPECT_EQ(toolBar->SkinData->CtrlSkinState(), 1);

    auto* splitter = Create<TSkinnedBox>(Form, COC_TsSplitter);
    splitter->SetParent(Form);
    splitter->Perform(CM_MOUSEENTER);
    EXPECT_EQ(splitter->SkinData->CtrlSkinState(), 1);
    splitter->SetEnabled(false);
    EXPECT_EQ(splitter->SkinData->CtrlSkinState(), 0);
    splitter->SetEnabled(true);
    EXPECT_EQ(splitter->SkinData->CtrlSkinState(), 0); // enabling forgets the mouse
    splitter->Perform(CM_MOUSEENTER);
    splitter->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(splitter->SkinData->CtrlSkinState(), 0);
}

TEST_F(CommonData, TheMouseEnteringAWindowedControlMakesItTheManagersActiveControl)
{
    Box->HandleNeeded();
    Box->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Manager->ActiveControl(), Box->Handle());
    EXPECT_EQ(std::count(Box->Commands.begin(), Box->Commands.end(), SkinCmdControlEnter), 1);
    Manager->SetActiveControl(nullptr);
}

TEST_F(CommonData, BackgroundPaintedQueryFollowsTheParentWhenFullyTransparent)
{
    Form->SkinData->SetSkinSection(L"FORM");
    Form->Show();
    Box->SkinData->SetSkinSection(L"PANEL");
    TsGeneralData& panel = SectionOf(L"PANEL");
    TsGeneralData& form = SectionOf(L"FORM");
    panel.GradientPercent = panel.ImagePercent = 0;
    form.GradientPercent = form.ImagePercent = 0;
    EXPECT_FALSE(QuerySkinCmd(Box, SkinCmdIsBgPainted)); // opaque, enabled, no gradient or image

    panel.Transparency = 100;
    EXPECT_FALSE(QuerySkinCmd(Box, SkinCmdIsBgPainted));
    form.GradientPercent = 40;
    EXPECT_TRUE(QuerySkinCmd(Box, SkinCmdIsBgPainted));
}

TEST_F(CommonData, HalfTransparentBackgroundMixesParentAndSectionColours)
{
    Form->SkinData->SetSkinSection(L"NOSUCHSECTION");
    Form->SetColor(static_cast<TColor>(0xFFFFFF));
    Box->SkinData->SetSkinSection(L"PANEL");
    SectionOf(L"PANEL").Transparency = 50;
    SectionOf(L"PANEL").Color = 0;
    Box->HandleNeeded();
    GetParentBgColor(Box);
    EXPECT_EQ(ParentBgColor, static_cast<TColor>(0x313131));
    ParentBgColor = sNoColor;
}

TEST_F(CommonData, SkinCommandsOfAnotherManagerAreIgnored)
{
    Box->SkinData->SetSkinSection(L"PANEL");
    const int index = Box->SkinData->SkinIndex;
    TsSkinManager other;
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSkinRemoved), reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(Box->SkinData->SkinIndex, index);

    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSkinRemoved), reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(Box->SkinData->SkinIndex, -1);
    EXPECT_EQ(Box->SkinData->BorderIndex, -1);
    EXPECT_TRUE(Box->SkinData->FUpdating);
    EXPECT_EQ(Box->SkinData->CacheBmp()->Width(), 0);

    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSkinChanged), reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(Box->SkinData->SkinIndex, index);
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdRefresh), reinterpret_cast<LPARAM>(Manager));
    EXPECT_FALSE(Box->SkinData->FUpdating);
    EXPECT_TRUE(Box->SkinData->BGChanged);
}

TEST_F(CommonData, AManagerBeingDestroyedIsForgottenByItsControls)
{
    auto* own = Create<TsSkinManager>(nullptr);
    Box->SkinData->SetSkinManager(own);
    EXPECT_EQ(Box->SkinData->SkinManager(), own);
    own->SetComponentState(csDestroying);
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSkinRemoved), reinterpret_cast<LPARAM>(own));
    EXPECT_EQ(Box->SkinData->SkinManager(), nullptr);
    delete own;
}

TEST_F(CommonData, FlagCommandsSetAndAnswerTheState)
{
    Box->SkinData->SetSkinSection(L"PANEL");
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSetFlag, 1));
    EXPECT_TRUE(Box->SkinData->NeedsParentBg());
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSetFlag, 0));
    Box->SkinData->PartlyHidden = false;
    EXPECT_FALSE(QuerySkinCmd(Box, SkinCmdGetPartlyHidden));
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSetPartlyHidden));
    EXPECT_TRUE(QuerySkinCmd(Box, SkinCmdGetPartlyHidden));
    Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdSetUpdating, 1));
    EXPECT_TRUE(QuerySkinCmd(Box, SkinCmdIsBgChanged));
    EXPECT_EQ(Box->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdGetApplication)), reinterpret_cast<LRESULT>(Application));
}

TEST_F(CommonData, TheApplicationIsAnsweredButTheCommandIsNotTaken)
{
    TMessage m{SM_SKINCMD, SkinCmdWParam(SkinCmdGetApplication), 0, 0};
    EXPECT_FALSE(CommonSkinCommand(m, Box->SkinData.get()));
    EXPECT_EQ(m.Result, reinterpret_cast<LRESULT>(Application));
}

TEST_F(CommonData, ParentCacheComesFromTheParentsReply)
{
    Form->HandleNeeded();
    TCacheInfo info;
    Box->SkinData->GetParentCache(info);
    EXPECT_TRUE(info.Ready); // the form made an empty cache bitmap at construction
    EXPECT_EQ(info.Bmp, Form->SkinData->CacheBmp());
    auto* orphan = Create<TSkinnedBox>(Form, 0);
    orphan->SkinData->GetParentCache(info);
    EXPECT_FALSE(info.Ready);
    Free(orphan);
}

TEST_F(CommonData, CornersShowTheParentsCacheAtTheControlsPosition)
{
    Form->SkinData->SetSkinSection(L"FORM");
    SectionOf(L"FORM").GradientPercent = 50; // the form's background is painted: corners copy its pixels
    Form->Show();
    Form->FillCache(clRed);
    SetPixel(Form->SkinData->CacheBmp()->Canvas()->Handle(), 10, 10, RGB(0, 255, 0));
    Box->SkinData->SetSkinSection(L"FORM");
    Box->SkinData->InitCacheBmp();
    Box->SkinData->CacheBmp()->Canvas()->Brush()->SetColor(clBlue);
    Box->SkinData->CacheBmp()->Canvas()->FillRect(TRect{0, 0, 40, 30});

    UpdateCacheBorder(Box->SkinData.get(), 0);
    EXPECT_EQ(CachePixel(Box->SkinData->CacheBmp(), 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(CachePixel(Box->SkinData->CacheBmp(), 1, 1), RGB(0, 0, 255)); // not a key pixel of the mask
    EXPECT_EQ(ParentBgColor, sNoColor);
}

TEST_F(CommonData, CornersTakeTheParentsColourWhenItsBackgroundIsPlain)
{
    Form->SkinData->SetSkinSection(L"FORM");
    TsGeneralData& form = SectionOf(L"FORM");
    form.GradientPercent = form.ImagePercent = 0;
    form.Color = 0x123456;
    Form->Show();
    Form->FillCache(clRed);
    Box->SkinData->SetSkinSection(L"FORM");
    Box->SkinData->InitCacheBmp();
    const COLORREF before = CachePixel(Box->SkinData->CacheBmp(), 0, 0);
    UpdateCorners(Box->SkinData.get(), 0, kCornerBottomLeft);
    EXPECT_EQ(CachePixel(Box->SkinData->CacheBmp(), 0, 0), before); // a corner not asked for
    UpdateCorners(Box->SkinData.get(), 0, kCornerTopLeft);
    EXPECT_EQ(CachePixel(Box->SkinData->CacheBmp(), 0, 0), RGB(0x56, 0x34, 0x12));
}
