#include "tests/skin_controls/state_support.h"

#include "framework/Startup.h"
#include "skin/core/sPixels.h"

#include "tests/skin_core/test_skin.h"

TSkinnedBox::TSkinnedBox(TComponent* owner, int coc)
    : TCustomControl(owner), SkinData(std::make_unique<TsCommonData>(this, true))
{
    SkinData->COC = coc;
    SetBounds(10, 10, 40, 30);
}

void TSkinnedBox::Loaded()
{
    TCustomControl::Loaded();
    SkinData->Loaded();
}

void TSkinnedBox::WndProc(TMessage& m)
{
    Messages.push_back(m.Msg);
    if (m.Msg == SM_SKINCMD)
        Commands.push_back(SkinCmdOf(m.WParam));
    // As every skinned control: the commands every one of them answers come first.
    if (m.Msg == SM_SKINCMD && AnswerCommonSkinCmd(m))
        return;
    if (SkinData && CommonMessage(m, SkinData.get()))
        return;
    if (m.Msg == WM_PRINT) { // skinned controls print themselves from their own painting
        Perform(WM_PAINT, m.WParam, 0);
        return;
    }
    TCustomControl::WndProc(m);
}

void TSkinnedBox::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TSkinnedShape::TSkinnedShape(TComponent* owner)
    : TGraphicControl(owner), SkinData(std::make_unique<TsCommonData>(this, false))
{
    SetBounds(60, 10, 20, 20);
}

void TSkinnedShape::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD)
        Commands.push_back(SkinCmdOf(m.WParam));
    if (SkinData && CommonMessage(m, SkinData.get()))
        return;
    TGraphicControl::WndProc(m);
}

void TSkinnedShape::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TCacheForm::TCacheForm(TComponent* owner) : TForm(owner), SkinData(std::make_unique<TsCommonData>(this, true))
{
    SetBounds(50, 50, 200, 150);
}

void TCacheForm::FillCache(TColor color)
{
    SkinData->InitCacheBmp();
    TCanvas* c = SkinData->CacheBmp()->Canvas();
    c->Brush()->SetColor(color);
    c->FillRect(TRect{0, 0, SkinData->CacheBmp()->Width(), SkinData->CacheBmp()->Height()});
}

void TCacheForm::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD)
        Commands.push_back(SkinCmdOf(m.WParam));
    if (SkinData && CommonMessage(m, SkinData.get()))
        return;
    TForm::WndProc(m);
}

void SkinStateTest::SetUp()
{
    SkinnedTest::SetUp();
    if (HasFatalFailure())
        return;
    testskin::WriteTestSkinFolder(Folder(), L"Flat");
    LoadSkin(L"Flat");
    if (HasFatalFailure())
        return;
    Form = Create<TCacheForm>(Application);
}

void SkinStateTest::TearDown()
{
    Free(Form);
    SkinnedTest::TearDown();
}

void SkinStateTest::LoadControl(TSkinnedBox* box)
{
    box->SetComponentState(csLoading);
    box->Loaded();
}

TsGeneralData& SkinStateTest::SectionOf(const std::wstring& name)
{
    const int i = FindSectionIndex(Manager, name);
    EXPECT_GE(i, 0) << testsupport::Narrow(name);
    return Manager->Sections[static_cast<std::size_t>(i < 0 ? 0 : i)];
}
