// Skin files from outside, read without windows: known-bad containers fail cleanly with the reader's
// own errors and leave the convertor empty; odd but well-formed ones read to the end.
#include "tests/skin_core/skin_bytes.h"

#include "skin/core/acSkinPack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef VELMORA_BAD_SKINS_DIR
#error "VELMORA_BAD_SKINS_DIR must name the folder of known-bad skins"
#endif

namespace {

std::vector<std::filesystem::path> FilesOf(const char* folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    return files;
}

std::string BytesOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TSkinBytesResult Read(const std::string& bytes)
{
    return ReadSkinBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(SkinFiles, EveryKnownBadContainerFailsWithTheReadersOwnError)
{
    const auto files = FilesOf(VELMORA_BAD_SKINS_DIR);
    ASSERT_GE(files.size(), 15u);
    for (const auto& path : files) {
        const std::string bytes = BytesOf(path);
        auto source = std::make_unique<TMemoryStream>();
        if (!bytes.empty())
            source->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        TacSkinConvertor convertor;
        convertor.SetOwnedSource(std::move(source));
        bool read = false;
        try {
            read = ReadPackedSkin(&convertor);
        } catch (const Exception&) {
        }
        EXPECT_FALSE(read) << path.filename();
        EXPECT_EQ(convertor.Options, nullptr) << path.filename();
        EXPECT_TRUE(convertor.Files.empty()) << path.filename();
        EXPECT_NE(Read(bytes), TSkinBytesResult::Read) << path.filename();
    }
}

TEST(SkinFiles, SeedSkinsReadToTheEndParentLoopsAndOddTextIncluded)
{
    const auto files = FilesOf(VELMORA_SKIN_SEEDS_DIR);
    ASSERT_GE(files.size(), 3u);
    for (const auto& path : files)
        EXPECT_EQ(Read(BytesOf(path)), TSkinBytesResult::Read) << path.filename();
}

TEST(SkinFiles, TextWithoutTheContainerIsReadAsOptions)
{
    EXPECT_EQ(Read("[FORM]\nPARENTCLASS=FORM\nCOLOR=1\n"), TSkinBytesResult::NotPacked);
    EXPECT_EQ(Read(""), TSkinBytesResult::NotPacked);
}

// Counts no frame can be cut by, in every form a text can hold them, and a version whose exponent
// would take seconds to apply: the values are built into masks and sections all the same (a mask left
// unusable ends the program).
TEST(SkinFiles, HostileValuesBuildIntoUsableMasks)
{
    EXPECT_EQ(Read("[GLOBALINFO]\nVERSION=1e2000000000\n[A]\nG=@0000@0000@0030@0012@0@0\n"
                   "B=^0000^0000^0030^0012^0000^0000^0000^0000^0^0^1^0\nO=#x (0,0,30,12) (65536,65535)\n"
                   "N=#x (0,0,30,12) (-1,-1)\nF=!X.BMP!0!-1!0\nH=!X.BMP!65536!65535!2!1!2!3!4\n"
                   "[B]\nPARENTCLASS=A\nCOLOR=-1\n"),
              TSkinBytesResult::NotPacked);
}

} // namespace
