// Frames painted from a skin the reader loaded: the generated test skin's FORM border, a masked image
// of three states in the master bitmap with key-colour corners.
#include "skin/core/sMaskPainter.h"
#include "skin/core/sVclUtils.h"
#include "tests/skin_core/test_skin.h"
#include "tests/skin_core/paint_support.h"
#include "tests/support/test_support.h"

using namespace painttest;

namespace {

constexpr COLORREF kBack = RGB(10, 200, 30);

COLORREF CachePixel(int x, int y) { return RGB(x, y, 123); }

COLORREF FormBlend(COLORREF d)
{
    // The FORM image and its mask rows are both the flat form colour.
    const COLORREF s = testskin::kFormColor;
    return RGB(MaskBlend(GetRValue(d), GetRValue(s), GetRValue(s)), MaskBlend(GetGValue(d), GetGValue(s), GetGValue(s)),
               MaskBlend(GetBValue(d), GetBValue(s), GetBValue(s)));
}

} // namespace

class SkinFileFrames : public testsupport::TempFolderTest {
protected:
    static void SetUpTestSuite() { StartSkinLibrary(); }
    static void TearDownTestSuite() { FinishSkinLibrary(); }
    void SetUp() override
    {
        TempFolderTest::SetUp();
        testskin::WriteTestSkinFolder(Folder(), L"Flat");
        sm.SetSkinDirectory(Folder());
        sm.SetSkinName(L"Flat");
        index = FindMaskIndex(&sm, FindSectionIndex(&sm, L"FORM"), L"FORM", L"BORDERSMASK");
    }
    TsSkinManager sm;
    int index = -1;
};

TEST_F(SkinFileFrames, KeyCornersOfEachStateShowTheParentCache)
{
    ASSERT_TRUE(IsValidMaskIndex(&sm, index));
    const TsMaskData& md = sm.Masks[static_cast<size_t>(index)];
    ASSERT_EQ(md.MaskType, 1);
    ASSERT_EQ(md.ImageCount, 3);
    auto cache = PaintedBitmap(64, 64, CachePixel);
    const TCacheInfo ci = MakeCacheInfo(cache.get(), 5, 6);

    // The key pixels lie at the corners of the whole image: the top-left of state 0, the top-right of
    // state 2.
    auto first = MakeBitmap(20, 20, kBack);
    DrawSkinRect(first.get(), TRect{0, 0, 20, 20}, true, ci, md, 0, false);
    EXPECT_EQ(Get(first.get(), 0, 0), CachePixel(5, 6));
    EXPECT_EQ(Get(first.get(), 19, 0), FormBlend(kBack));
    EXPECT_EQ(Get(first.get(), 10, 10), FormBlend(kBack));

    auto last = MakeBitmap(20, 20, kBack);
    DrawSkinRect(last.get(), TRect{0, 0, 20, 20}, true, ci, md, 2, false);
    EXPECT_EQ(Get(last.get(), 19, 0), CachePixel(24, 6));
    EXPECT_EQ(Get(last.get(), 0, 0), FormBlend(kBack));
}
