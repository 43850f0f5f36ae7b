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

} // namespace
