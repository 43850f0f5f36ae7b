// Files the encoder writes, judged by tools nobody here wrote: pngfix must find nothing to repair in them
// and ImageMagick must decode them to the pixels the image holds, for every filter set, both interlace
// methods and several deflate levels. Host build only: it runs those tools.
#include "png/PngCore.h"
#include "tests/png/png_test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace pngtest;

namespace {

struct TEncoding {
    const char* Label;
    TFilters Filters;
    int Interlace;
    int Level;
};

const TEncoding kEncodings[] = {
    {"default", TFilters{TFilter::pfSub}, 0, 7},
    {"nofilters", TFilters{}, 1, 7},
    {"none", TFilters{TFilter::pfNone}, 0, 0},
    {"sub", TFilters{TFilter::pfSub}, 1, 9},
    {"up", TFilters{TFilter::pfUp}, 0, 1},
    {"average", TFilters{TFilter::pfAverage}, 1, 7},
    {"paeth", TFilters{TFilter::pfPaeth}, 0, 9},
    {"subup", TFilters{TFilter::pfSub, TFilter::pfUp}, 1, 3},
    {"all", TFilters{TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth}, 0, 7},
    {"allinterlaced", TFilters{TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth},
     1, 7},
};

int RunTool(const std::string& command)
{
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

class PngInteropFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-png-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
};

class PngEncodeInterop : public PngInteropFolder, public ::testing::WithParamInterface<std::string> {};

} // namespace

TEST_P(PngEncodeInterop, PngfixAcceptsAndImageMagickDecodesTheSamePixels)
{
    // Without gAMA the image holds the file's own samples, which ImageMagick reports unchanged.
    Bytes source = WithoutChunk(ReadFile(SuitePath(GetParam())), "gAMA");
    for (const TEncoding& e : kEncodings) {
        TPNGCore image;
        Load(image, source);
        image.RowFilters = e.Filters;
        image.InterlaceMethod = std::uint8_t(e.Interlace);
        image.DeflateLevel = std::uint8_t(e.Level);
        Bytes saved = Save(image);
        std::filesystem::path file = folder_ / (std::string(e.Label) + ".png");
        std::ofstream(file, std::ios::binary).write(saved.data(), std::streamsize(saved.size()));
        EXPECT_EQ(RunTool(std::string(VELMORA_PNGFIX) + " -q " + Quoted(file)), 0) << GetParam() << " " << e.Label;
    }
    ASSERT_EQ(RunTool(std::string(VELMORA_MOGRIFY) + " -format rgba -depth 16 -endian MSB " + Quoted(folder_) + "/*.png"),
              0);
    for (const TEncoding& e : kEncodings) {
        TPNGCore image;
        Load(image, source);
        Bytes decoded = ReadFile((folder_ / (std::string(e.Label) + ".rgba")).string());
        ExpectMatchesReference(image, decoded, GetParam() + " " + e.Label, [](std::uint8_t v) { return v; });
    }
}

// The pixels an image leaves out once its transparent colour is set are the ones another reader leaves out
// of the file it writes, and that reader finds nothing to warn about in the file (a transparency chunk
// longer than the palette is one such warning).
TEST_F(PngInteropFolder, ImageMagickLeavesOutThePixelsOfTheTransparentColourSet)
{
    std::vector<std::pair<std::string, std::vector<bool>>> keyed;
    for (const TKeyRow& row : KeyRows()) {
        TPNGCore image;
        Load(image, KeyedPng(row.Format, row.Gamma));
        image.Chunks.FirstOfClass<TChunktRNS>()->SetTransparentColor(KeyColourOf(row, image));
        std::vector<bool> keys;
        for (int y = 0; y < image.PngHeight(); ++y)
            for (int x = 0; x < image.PngWidth(); ++x)
                keys.push_back(image.IsKeyPixel(x, y));
        keyed.emplace_back(KeyRowName(row), keys);
        EXPECT_TRUE(row.Black || keys[std::size_t(kKeyY * image.PngWidth() + kKeyX)]) << keyed.back().first;
        Bytes saved = Save(image);
        std::filesystem::path file = folder_ / (keyed.back().first + ".png");
        std::ofstream(file, std::ios::binary).write(saved.data(), std::streamsize(saved.size()));
        EXPECT_EQ(RunTool(std::string(VELMORA_PNGFIX) + " -q " + Quoted(file)), 0) << keyed.back().first;
    }
    ASSERT_EQ(RunTool(std::string(VELMORA_MOGRIFY) + " -regard-warnings -format rgba -depth 16 -endian MSB " +
                      Quoted(folder_) + "/*.png"),
              0);
    for (const auto& [label, keys] : keyed) {
        Bytes decoded = ReadFile((folder_ / (label + ".rgba")).string());
        ASSERT_EQ(decoded.size(), keys.size() * 8) << label;
        int wrong = 0;
        for (std::size_t i = 0; i < keys.size(); ++i)
            wrong += (decoded[i * 8 + 6] == 0 && decoded[i * 8 + 7] == 0) != keys[i];
        EXPECT_EQ(wrong, 0) << label;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PngEncodeInterop, ::testing::ValuesIn(SuiteFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param.substr(0, info.param.size() - 4);
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });
