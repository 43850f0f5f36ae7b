// The inflate stream: where it leaves its source, its seek rules and its errors.
#include "skin/core/ZLibEx.h"

#include "tests/support/test_support.h"

#include <zlib.h>

#include <string>

namespace {

std::string Deflate(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
              static_cast<uLong>(bytes.size()), 9);
    out.resize(size);
    return out;
}

std::string Pseudorandom(size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s[i] = static_cast<char>((seed >> 16) & 0x3F);
    }
    return s;
}

void Fill(TMemoryStream& stream, const std::string& bytes)
{
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

std::string ReadAll(TStream& stream, size_t n)
{
    std::string out(n, '\0');
    stream.ReadBuffer(out.data(), static_cast<std::int32_t>(n));
    return out;
}

TEST(InflateStream, LeavesSourceRightAfterStreamWhenReadToTheEnd)
{
    const std::string text = "Options text for the test skin";
    TMemoryStream source;
    Fill(source, "head");
    Fill(source, Deflate(text));
    Fill(source, "TAIL");
    source.SetPosition(4);
    TZDecompressionStream z(&source);
    EXPECT_EQ(ReadAll(z, text.size()), text);
    z.FinishStream();
    EXPECT_EQ(source.Position(), source.Size() - 4);
}

TEST(InflateStream, LeavesSourceAfterStreamWhenOutputFillsBeforeTheTrailer)
{
    // Larger than one input block, so the exact-size read ends with input left over.
    const std::string big = Pseudorandom(200000, 7);
    const std::string packed = Deflate(big);
    ASSERT_GT(packed.size(), 65536u);
    TMemoryStream source;
    Fill(source, packed);
    Fill(source, "NEXT");
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    EXPECT_EQ(ReadAll(z, big.size()), big);
    z.FinishStream();
    EXPECT_EQ(source.Position(), static_cast<std::int64_t>(packed.size()));
}

TEST(InflateStream, SeekForwardSkipsAndBackwardRaises)
{
    const std::string text = "0123456789abcdef";
    TMemoryStream source;
    Fill(source, Deflate(text));
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    EXPECT_EQ(ReadAll(z, 4), "0123");
    EXPECT_EQ(z.Seek(10, TSeekOrigin::soBeginning), 10);
    EXPECT_EQ(ReadAll(z, 2), "ab");
    try {
        z.Seek(2, TSeekOrigin::soBeginning);
        FAIL() << "seeking backwards must raise";
    } catch (const EZDecompressionError& e) {
        EXPECT_EQ(e.Message(), L"Invalid ZStream operation!");
    }
    EXPECT_THROW(z.Seek(-1, TSeekOrigin::soCurrent), EZDecompressionError);
    EXPECT_THROW(z.Seek(5, TSeekOrigin::soEnd), EZDecompressionError);
    EXPECT_EQ(z.Seek(0, TSeekOrigin::soEnd), 16);
}

TEST(InflateStream, SeekToZeroRestartsTheEntryNotTheContainer)
{
    const std::string text = "second entry";
    TMemoryStream source;
    Fill(source, "PREFIX-BYTES");
    Fill(source, Deflate(text));
    source.SetPosition(12);
    TZDecompressionStream z(&source);
    EXPECT_EQ(ReadAll(z, 6), "second");
    EXPECT_EQ(z.Seek(0, TSeekOrigin::soBeginning), 0);
    EXPECT_EQ(ReadAll(z, text.size()), text);
}

TEST(InflateStream, WriteRaisesInvalidOperation)
{
    TMemoryStream source;
    Fill(source, Deflate("x"));
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    try {
        z.Write("a", 1);
        FAIL();
    } catch (const EZDecompressionError& e) {
        EXPECT_EQ(e.Message(), L"Invalid ZStream operation!");
    }
}

TEST(InflateStream, DamagedDataRaisesDataError)
{
    std::string packed = Deflate(Pseudorandom(1000, 3));
    for (size_t i = 2; i < packed.size(); i += 3)
        packed[i] = static_cast<char>(packed[i] ^ 0x5A);
    TMemoryStream source;
    Fill(source, packed);
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    std::string out(1000, '\0');
    try {
        z.Read(out.data(), 1000);
        z.FinishStream();
        FAIL() << "damaged data must raise";
    } catch (const EZDecompressionError& e) {
        EXPECT_LT(e.ZlibCode(), 0);
    }
}

TEST(InflateStream, PresetDictionaryRaisesInsteadOfSpinning)
{
    // A zlib header with the FDICT bit: 0x78 0xBB, followed by a dictionary id and some data.
    const std::string packed = std::string("\x78\xBB\x00\x00\x00\x01\x4B\x04\x00", 9);
    TMemoryStream source;
    Fill(source, packed);
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    char out[8];
    try {
        z.Read(out, 8);
        FAIL() << "a stream asking for a dictionary must raise";
    } catch (const EZDecompressionError& e) {
        EXPECT_EQ(e.ZlibCode(), 2);
        EXPECT_EQ(e.Message(), L"need dictionary");
    }
}

TEST(InflateStream, ContentLongerThanStatedRaisesOnFinish)
{
    TMemoryStream source;
    Fill(source, Deflate("twelve bytes"));
    source.SetPosition(0);
    TZDecompressionStream z(&source);
    EXPECT_EQ(ReadAll(z, 6), "twelve");
    EXPECT_THROW(z.FinishStream(), EZDecompressionError);
}

TEST(InflateStream, ErrorTextsFollowTheCodeTable)
{
    EXPECT_EQ(EZLibError(-3).Message(), L"data error");
    EXPECT_EQ(EZLibError(-6).Message(), L"incompatible version");
    EXPECT_EQ(EZLibError(1).Message(), L"stream end");
    EXPECT_EQ(EZLibError(-3).ZlibCode(), -3);
    EXPECT_FALSE(EZLibError(-99).Message().empty());
    EXPECT_FALSE(EZLibError(7).Message().empty());
}

} // namespace
