// The MDI main form's support object: made only for MDI main forms, one client adapter at a time,
// nothing at design time, and dropped with the skin or the provider.
#include "tests/skin_forms/provider_support.h"

#include "skin/core/sSkinLinks.h"
#include "skin/forms/sMDIForm.h"

namespace {

int gMade = 0;
int gAlive = 0;

class TCountedAdapter : public TObject {
public:
    TCountedAdapter() { ++gAlive; }
    ~TCountedAdapter() override { --gAlive; }
};

std::unique_ptr<TObject> MakeCountedAdapter(HWND, TsSkinProvider*)
{
    ++gMade;
    return std::make_unique<TCountedAdapter>();
}

} // namespace

class MDIFormTest : public ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        gMade = gAlive = 0;
        {
            TacSkinLinks links = SkinLinks();
            links.MakeMDIClientAdapter = MakeCountedAdapter;
            SetSkinLinks(links);
        }
    }
    void TearDown() override
    {
        ProviderTest::TearDown();
        {
            TacSkinLinks links = SkinLinks();
            links.MakeMDIClientAdapter = nullptr;
            SetSkinLinks(links);
        }
        EXPECT_EQ(gAlive, 0);
        EXPECT_EQ(MDIMainProvider, nullptr);
    }
    TsSkinProvider* AttachToMDIMainForm()
    {
        Form->SetFormStyle(fsMDIForm);
        Wnd = Form->Handle();
        return Attach();
    }
};

TEST_F(MDIFormTest, OnlyAnMDIMainFormGetsMDISupport)
{
    TsSkinProvider* p = Attach();
    EXPECT_EQ(p->MDIForm(), nullptr);
    EXPECT_EQ(MDIMainProvider, nullptr);
    EXPECT_EQ(gMade, 0);
}

TEST_F(MDIFormTest, MDIMainFormConnectsOneClientAdapter)
{
    TsSkinProvider* p = AttachToMDIMainForm();
    ASSERT_NE(p->MDIForm(), nullptr);
    EXPECT_EQ(MDIMainProvider, p);
    EXPECT_EQ(p->MDIForm()->Form, Form);
    EXPECT_EQ(gMade, 1);
    p->MDIForm()->UpdateMDIClient();
    p->MDIForm()->UpdateMDIClient();
    EXPECT_EQ(gMade, 1);
    EXPECT_EQ(gAlive, 1);
    // Connecting again replaces the adapter.
    p->MDIForm()->ConnectMDIClient();
    EXPECT_EQ(gMade, 2);
    EXPECT_EQ(gAlive, 1);
}

TEST_F(MDIFormTest, AtDesignTimeTheClientIsNeverConnected)
{
    TsSkinProvider* p = AttachToMDIMainForm();
    TsMDIForm designed(p);
    p->SetComponentState(csDesigning);
    designed.UpdateMDIClient();
    p->ClearComponentState(csDesigning);
    EXPECT_EQ(designed.MDIClientWnd, nullptr);
}

TEST_F(MDIFormTest, SkinRemovalDisconnectsTheClientAndDropsTheSupport)
{
    TsSkinProvider* p = AttachToMDIMainForm();
    Free(Manager);
    Manager = nullptr;
    EXPECT_EQ(gAlive, 0);
    EXPECT_EQ(p->MDIForm(), nullptr);
    EXPECT_EQ(MDIMainProvider, nullptr);
}

TEST_F(MDIFormTest, RemovingTheProviderClearsTheMDIMainProvider)
{
    TsSkinProvider* p = AttachToMDIMainForm();
    Free(p);
    EXPECT_EQ(MDIMainProvider, nullptr);
    EXPECT_EQ(gAlive, 0);
}
