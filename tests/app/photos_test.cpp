// The recipe photos: real JPEG files of 640 x 480 pixels, one per recipe that has a photo, all different.
#include "tests/app/sample_base.h"
#include "tests/support/test_support.h"

#include <cstdio>
#include <csetjmp>
#include <set>

#include <jpeglib.h>

using namespace samplebase;
using testsupport::Narrow;

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the caller.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// Counts warnings (the default does so too) without printing them.
void JpegQuietMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        ++cinfo->err->num_warnings;
    }
}

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    unsigned long long checksum = 0;
};

// Decodes every scan line, so a truncated or damaged file fails here and not only in its header.
Decoded DecodeJpeg(const std::string& data) {
    Decoded out;
    jpeg_decompress_struct cinfo{};
    JpegError error{};
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = JpegErrorExit;
    error.mgr.emit_message = JpegQuietMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return Decoded{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.components = cinfo.output_components;
    std::vector<unsigned char> row(static_cast<size_t>(out.width) * out.components);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (unsigned char v : row) {
            out.checksum = out.checksum * 131 + v;
        }
    }
    // A file whose data ran out is padded by libjpeg with a warning: count it as damaged.
    out.ok = error.mgr.num_warnings == 0;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return out;
}

struct Photo {
    std::wstring category;
    std::wstring name; // file name less ".jpg"
};

std::vector<Photo> AllPhotos() {
    std::vector<Photo> photos;
    for (const auto& category : Categories()) {
        for (const auto& file : ListNames(PathIn(L"Bases\\" + category), L"*.jpg", false)) {
            photos.push_back({category, file.substr(0, file.size() - 4)});
        }
    }
    return photos;
}

} // namespace

TEST(RecipePhotos, SeveralRecipesHaveOneAndOthersNot) {
    size_t recipes = 0;
    for (const auto& category : Categories()) {
        recipes += ListNames(PathIn(L"Bases\\" + category), L"*.rcp", false).size();
    }
    const size_t photos = AllPhotos().size();
    EXPECT_GE(photos, 10u);
    EXPECT_LT(photos, recipes);
}

TEST(RecipePhotos, EachBelongsToARecipeOfItsCategory) {
    for (const auto& photo : AllPhotos()) {
        const std::wstring recipe = PathIn(L"Bases\\" + photo.category + L"\\" + photo.name + L".rcp");
        EXPECT_NE(GetFileAttributesW(recipe.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(recipe);
    }
}

TEST(RecipePhotos, EachIsAWholeJpegOf640x480) {
    for (const auto& photo : AllPhotos()) {
        const std::wstring path = PathIn(L"Bases\\" + photo.category + L"\\" + photo.name + L".jpg");
        const std::string bytes = ReadBytes(path);
        ASSERT_GE(bytes.size(), 4u) << Narrow(path);
        EXPECT_EQ(bytes.substr(0, 3), std::string("\xFF\xD8\xFF")) << Narrow(path);
        const Decoded decoded = DecodeJpeg(bytes);
        EXPECT_TRUE(decoded.ok) << Narrow(path);
        EXPECT_EQ(decoded.width, 640) << Narrow(path);
        EXPECT_EQ(decoded.height, 480) << Narrow(path);
        EXPECT_EQ(decoded.components, 3) << Narrow(path);
    }
}

TEST(RecipePhotos, NoTwoAreAlike) {
    std::set<unsigned long long> seen;
    for (const auto& photo : AllPhotos()) {
        const Decoded decoded = DecodeJpeg(ReadBytes(PathIn(L"Bases\\" + photo.category + L"\\" + photo.name + L".jpg")));
        EXPECT_TRUE(seen.insert(decoded.checksum).second) << Narrow(photo.name);
    }
}

TEST(RecipePhotos, ADamagedJpegIsToldApartFromAGoodOne) {
    // Guards the check above: a photo cut in half must not pass as a photo.
    const auto photos = AllPhotos();
    ASSERT_FALSE(photos.empty());
    const std::string bytes = ReadBytes(PathIn(L"Bases\\" + photos[0].category + L"\\" + photos[0].name + L".jpg"));
    EXPECT_TRUE(DecodeJpeg(bytes).ok);
    EXPECT_FALSE(DecodeJpeg(bytes.substr(0, bytes.size() / 2)).ok);
    EXPECT_FALSE(DecodeJpeg("not a picture").ok);
}
