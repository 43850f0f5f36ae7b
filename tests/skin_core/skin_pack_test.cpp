// The packed skin container: entries, large entries, wrong magic, damaged and lying containers.
#include "skin/core/acSkinPack.h"
#include "skin/core/ZLibEx.h"
#include "skin/core/sSkinReader.h"
#include "framework/Graphics.h"
#include "framework/SysUtils.h"

#include "tests/skin_core/message_box_watcher.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/live_objects.h"
#include "tests/support/test_support.h"

#include <typeinfo>

using namespace testskin;

namespace {

std::string Pseudorandom(size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s[i] = static_cast<char>((seed >> 16) & 0xFF);
    }
    return s;
}

void SetSource(TacSkinConvertor& c, const std::string& bytes)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    c.SetOwnedSource(std::move(stream));
}

std::string Contents(TMemoryStream* stream)
{
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size()));
}

TEST(SkinContainer, ReadsSeveralEntriesAndALargeOneFollowedByAnother)
{
    const std::string big = Pseudorandom(150000, 11);
    const std::vector<PackEntry> entries = {
        {"Master.bmp", big}, {"options.DAT", "[GLOBALINFO]\r\nVERSION=6\r\n"}, {"WOOD.jpg", "jpegbytes"}};
    TacSkinConvertor c;
    SetSource(c, BuildContainer(entries));
    ASSERT_TRUE(ParsePackedSkin(&c));
    ASSERT_TRUE(c.Options);
    EXPECT_EQ(Contents(c.Options.get()), entries[1].bytes);
    ASSERT_EQ(c.ImageCount, 2);
    ASSERT_EQ(c.Files.size(), 2u);
    EXPECT_EQ(c.Files[0].Name, L"Master.bmp");
    EXPECT_TRUE(c.Files[0].IsBitmap);
    EXPECT_EQ(Contents(c.Files[0].Data.get()), big);
    EXPECT_EQ(c.Files[1].Name, L"WOOD.jpg");
    EXPECT_FALSE(c.Files[1].IsBitmap);
    EXPECT_EQ(Contents(c.Files[1].Data.get()), "jpegbytes");
    EXPECT_EQ(c.FindImage(L"MASTER.BMP"), &c.Files[0]);
}

TEST(SkinContainer, ImageCountIsTheNumberOfEntriesRead)
{
    TacSkinConvertor c;
    SetSource(c, BuildContainer({{"A.bmp", "a"}, {"B.bmp", "b"}, {"Options.dat", "[X]\r\n"}}));
    ASSERT_TRUE(ParsePackedSkin(&c));
    EXPECT_EQ(c.ImageCount, 2);
}

TEST(SkinContainer, EmptyEntryIsRead)
{
    TacSkinConvertor c;
    SetSource(c, BuildContainer({{"Options.dat", ""}, {"E.bmp", ""}, {"F.bmp", "f"}}));
    ASSERT_TRUE(ParsePackedSkin(&c));
    EXPECT_EQ(c.Options->Size(), 0);
    EXPECT_EQ(Contents(c.Files[1].Data.get()), "f");
}

TEST(SkinContainer, NoOrTwoOptionsEntriesAreErrors)
{
    TacSkinConvertor none;
    SetSource(none, BuildContainer({{"A.bmp", "a"}}));
    EXPECT_THROW(ParsePackedSkin(&none), EReadError);
    EXPECT_FALSE(none.Options);
    EXPECT_TRUE(none.Files.empty());

    TacSkinConvertor two;
    SetSource(two, BuildContainer({{"Options.dat", "a"}, {"OPTIONS.DAT", "b"}}));
    EXPECT_THROW(ParsePackedSkin(&two), EReadError);
    EXPECT_FALSE(two.Options);
}

TEST(SkinContainer, StatedSizeThatDoesNotMatchRaises)
{
    TacSkinConvertor shorter;
    SetSource(shorter, BuildContainer({{"Options.dat", "0123456789"}}, -3));
    EXPECT_THROW(ParsePackedSkin(&shorter), EZDecompressionError);
    TacSkinConvertor longer;
    SetSource(longer, BuildContainer({{"Options.dat", "0123456789"}}, +3));
    EXPECT_THROW(ParsePackedSkin(&longer), EReadError);
}

TEST(SkinContainer, TruncationAtEveryOffsetFailsCleanly)
{
    const std::string whole = BuildContainer({{"Options.dat", "[GLOBALINFO]\r\nVERSION=6\r\n"}, {"M.bmp", "pixels"}});
    for (size_t cut = 4; cut < whole.size(); ++cut) {
        TacSkinConvertor c;
        SetSource(c, whole.substr(0, cut));
        EXPECT_ANY_THROW(ParsePackedSkin(&c)) << "cut at " << cut;
        EXPECT_FALSE(c.Options) << "cut at " << cut;
        EXPECT_TRUE(c.Files.empty());
    }
}

// How parsing the container fails: the exception's class and message, or "read" when it does not.
std::string FailureOf(const std::string& bytes, bool straight)
{
    TacSkinConvertor c;
    if (straight)
        ReadBitmapEntriesStraight(&c);
    SetSource(c, bytes);
    try {
        ParsePackedSkin(&c);
    } catch (const Exception& e) {
        EXPECT_TRUE(c.Files.empty());
        EXPECT_FALSE(c.Options);
        return std::string(typeid(e).name()) + ": " + testsupport::Narrow(e.Message());
    }
    return "read";
}

TEST(SkinContainer, PlainBitmapEntriesGoStraightIntoBitmapsOthersKeepTheirBytes)
{
    const std::vector<PackEntry> entries = {
        {"Options.dat", "[A]\r\n"},
        {"PLAIN.BMP", CraftedBitmapFile(13, 7, 24, false)},
        {"Deep.bmp", CraftedBitmapFile(5, 3, 32, false)},
        {"DOWN.BMP", CraftedBitmapFile(13, 7, 24, true)},
        {"GREY.BMP", CraftedBitmapFile(13, 7, 8, false)},
        {"TAIL.BMP", CraftedBitmapFile(13, 7, 24, false, "tail")},
        {"SHORT.BMP", CraftedBitmapFile(13, 7, 24, false).substr(0, 54 + 40 * 7 - 1)},
        {"TINY.BMP", "BM"},
        {"ALSO.JPG.BMP", CraftedBitmapFile(13, 7, 24, false)},
        {"WOOD.JPG", "jpegbytes"},
    };
    TacSkinConvertor c;
    ReadBitmapEntriesStraight(&c);
    SetSource(c, BuildContainer(entries));
    ASSERT_TRUE(ParsePackedSkin(&c));
    ASSERT_EQ(c.Files.size(), entries.size() - 1);
    for (size_t i = 0; i < c.Files.size(); ++i) {
        const TacImageItem& item = c.Files[i];
        const std::string& bytes = entries[i + 1].bytes;
        const bool straight = i < 2;
        EXPECT_EQ(item.Bitmap != nullptr, straight) << testsupport::Narrow(item.Name);
        EXPECT_EQ(item.Data == nullptr, straight) << testsupport::Narrow(item.Name);
        if (item.Data) {
            EXPECT_EQ(Contents(item.Data.get()), bytes) << testsupport::Narrow(item.Name);
            EXPECT_EQ(item.Data->Position(), 0);
        }
    }
    TBitmap& plain = *c.Files[0].Bitmap;
    EXPECT_EQ(plain.Width(), 13);
    EXPECT_EQ(plain.Height(), 7);
    EXPECT_EQ(plain.PixelFormat(), pf24bit);
    EXPECT_EQ(c.Files[1].Bitmap->PixelFormat(), pf32bit);
    // Row y of the picture, bottom-up in memory as in the file.
    for (int y = 0; y < 7; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(plain.ScanLine(y));
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]), CraftedPixel(x, y, 24)) << x << "," << y;
    }
}

TEST(SkinContainer, BitmapEntryCutShortOrDamagedFailsAsBeforeAndFreesItsBitmap)
{
    const PackEntry options{"Options.dat", "[A]\r\n"};
    const std::string whole = BuildContainer({options, {"BIG.BMP", CraftedBitmapFile(200, 150, 24, false)}});
    // The second entry's stream starts after the first entry and the second's name and size.
    const size_t start = BuildContainer({options}).size() + 4 + 7 + 4;
    ASSERT_GT(whole.size(), start + 64);
    std::vector<std::string> damaged;
    damaged.push_back(whole.substr(0, start + 10));                          // inside the headers
    damaged.push_back(whole.substr(0, start + (whole.size() - start) / 2)); // inside the pixels
    damaged.push_back(whole.substr(0, whole.size() - 2));                   // inside the check sum
    std::string flipped = whole;
    for (size_t i = start + (whole.size() - start) / 3; i < start + (whole.size() - start) / 3 + 8; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    damaged.push_back(flipped);
    // The entry's stated size one row short of its pixels, and one row beyond them.
    std::string shorter = whole, longer = whole;
    const std::int32_t stated = 54 + 600 * 150;
    for (int i = 0; i < 4; ++i) {
        shorter[start - 4 + static_cast<size_t>(i)] = static_cast<char>(((stated - 600) >> (8 * i)) & 0xFF);
        longer[start - 4 + static_cast<size_t>(i)] = static_cast<char>(((stated + 600) >> (8 * i)) & 0xFF);
    }
    damaged.push_back(shorter);
    damaged.push_back(longer);

    const int before = testsupport::CountGdiObjects();
    for (size_t i = 0; i < damaged.size(); ++i) {
        const std::string expected = FailureOf(damaged[i], false);
        EXPECT_NE(expected, "read") << i;
        EXPECT_EQ(FailureOf(damaged[i], true), expected) << i;
        EXPECT_EQ(testsupport::CountGdiObjects(), before) << i;
    }
    EXPECT_EQ(FailureOf(whole, true), "read");
    EXPECT_EQ(testsupport::CountGdiObjects(), before);
}

TEST(SkinContainer, HugeCountsAndLengthsAreRefusedBeforeAllocation)
{
    std::string bytes = "ASzf";
    bytes += std::string("\xFF\xFF\xFF\x7F", 4);
    TacSkinConvertor c;
    SetSource(c, bytes);
    EXPECT_THROW(ParsePackedSkin(&c), EReadError);

    std::string names = "ASzf";
    names += std::string("\x01\x00\x00\x00", 4) + std::string("\xFF\xFF\xFF\x7F", 4) + "abc";
    TacSkinConvertor d;
    SetSource(d, names);
    EXPECT_THROW(ParsePackedSkin(&d), EReadError);
}

TEST(SkinContainer, WrongMagicWarnsAndLeavesALentSourceAlone)
{
    const std::string bytes = BuildContainer({{"Options.dat", "x"}}, 0, "ASzF");
    TMemoryStream lent;
    lent.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    TacSkinConvertor c;
    c.LendSource(&lent);
    MessageBoxWatcher watcher;
    EXPECT_FALSE(ParsePackedSkin(&c));
    const SeenBox box = watcher.Wait();
    EXPECT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"Warning");
    EXPECT_EQ(box.text, L"Loaded data is not packed Quorvel file");
    EXPECT_FALSE(c.Options);
    EXPECT_TRUE(c.Files.empty());
    c.ReleaseSource();
    // The lent stream is still whole.
    EXPECT_EQ(lent.Size(), static_cast<std::int64_t>(bytes.size()));
}

class SkinContainerFile : public testsupport::TempFolderTest {};

TEST_F(SkinContainerFile, LoadsAFileAndDropsItsSource)
{
    testsupport::WriteFileBytes(PathOf(L"a.asz"), BuildContainer({{"Options.dat", "[A]\r\n"}}));
    std::unique_ptr<TacSkinConvertor> c;
    EXPECT_TRUE(LoadPackedSkinFile(PathOf(L"a.asz"), c, true));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->PackedData(), nullptr);
    EXPECT_EQ(Contents(c->Options.get()), "[A]\r\n");
}

TEST_F(SkinContainerFile, MissingFileDoesNothing)
{
    std::unique_ptr<TacSkinConvertor> c;
    EXPECT_FALSE(LoadPackedSkinFile(PathOf(L"none.asz"), c, true));
    EXPECT_FALSE(c);
}

TEST(SkinContainer, OnlyPlainEntryNamesCanBeUnpackedIntoAFolder)
{
    EXPECT_TRUE(IsPlainFileName(L"MASTER.BMP"));
    EXPECT_TRUE(IsPlainFileName(L"..wood.jpg"));
    EXPECT_FALSE(IsPlainFileName(L""));
    EXPECT_FALSE(IsPlainFileName(L".."));
    EXPECT_FALSE(IsPlainFileName(L"..\\..\\evil.bmp"));
    EXPECT_FALSE(IsPlainFileName(L"sub/evil.bmp"));
    EXPECT_FALSE(IsPlainFileName(L"C:evil.bmp"));
}

} // namespace
