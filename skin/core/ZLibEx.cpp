#include "skin/core/ZLibEx.h"

#include "framework/SysUtils.h"

#include <algorithm>

namespace {

constexpr std::int32_t kInputBufferSize = 65536;
constexpr std::int32_t kSkipChunk = 8192;

const wchar_t* const kZErrorMessages[] = {
    L"need dictionary", L"stream end", L"ok", L"file error", L"stream error",
    L"data error", L"insufficient memory", L"buffer error", L"incompatible version",
};

} // namespace

const wchar_t* const SZInvalidOperation = L"Invalid ZStream operation!";

std::wstring ZLibErrorText(int code)
{
    const int index = 2 - code;
    if (index >= 0 && index < static_cast<int>(std::size(kZErrorMessages)))
        return kZErrorMessages[index];
    return L"zlib error " + IntToStr(code);
}

EZLibError::EZLibError(int code) : Exception(ZLibErrorText(code)), zlibCode_(code) {}

TCustomZStream::TCustomZStream(TStream* source) : source_(source), sourcePos_(source->Position()) {}

TZDecompressionStream::TZDecompressionStream(TStream* source)
    : TCustomZStream(source), startPos_(sourcePos_), memorySource_(dynamic_cast<TCustomMemoryStream*>(source))
{
    // A stream in memory is inflated where its bytes lie; any other is read through a buffer.
    if (!memorySource_)
        buffer_.resize(kInputBufferSize);
    zstream_.next_in = buffer_.data();
    zstream_.avail_in = 0;
    const int result = inflateInit_(&zstream_, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
    if (result < 0)
        throw EZDecompressionError(result);
}

TZDecompressionStream::~TZDecompressionStream()
{
    inflateEnd(&zstream_);
}

const unsigned char* TZDecompressionStream::SourceBytes(std::int64_t at) const
{
    const std::int64_t size = memorySource_->Size();
    if (!memorySource_->Memory() || at < 0 || at >= size)
        return nullptr;
    return static_cast<const unsigned char*>(memorySource_->Memory()) + at;
}

bool TZDecompressionStream::FillInput()
{
    std::int32_t got = 0;
    if (memorySource_) {
        const std::int64_t at = source_->Position();
        const unsigned char* bytes = SourceBytes(at);
        if (!bytes)
            return false;
        got = static_cast<std::int32_t>(std::min<std::int64_t>(memorySource_->Size() - at, kInputBufferSize));
        source_->SetPosition(at + got);
        // zlib only reads its input; its interface lacks the const.
        zstream_.next_in = const_cast<unsigned char*>(bytes);
    } else {
        got = source_->Read(buffer_.data(), kInputBufferSize);
        if (got <= 0)
            return false;
        zstream_.next_in = buffer_.data();
    }
    sourcePos_ = source_->Position();
    zstream_.avail_in = static_cast<uInt>(got);
    if (OnProgress)
        OnProgress(this);
    return true;
}

// Puts the source back where the next read continues; input taken from a stream in memory but not yet
// inflated is looked up again, as the stream may have moved its bytes since.
void TZDecompressionStream::FindPendingInput()
{
    if (source_->Position() != sourcePos_)
        source_->SetPosition(sourcePos_);
    if (memorySource_ && zstream_.avail_in > 0) {
        const unsigned char* bytes = SourceBytes(sourcePos_ - zstream_.avail_in);
        if (!bytes) {
            zstream_.avail_in = 0;
            return;
        }
        zstream_.next_in = const_cast<unsigned char*>(bytes);
    }
}

void TZDecompressionStream::Inflate()
{
    const int result = inflate(&zstream_, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
        streamEnded_ = true;
        PlaceSourceAfterStream();
        return;
    }
    // Anything but progress is fatal: a stream asking for a preset dictionary would otherwise be
    // called again with the same input for ever.
    if (result != Z_OK)
        throw EZDecompressionError(result);
}

void TZDecompressionStream::PlaceSourceAfterStream()
{
    if (zstream_.avail_in > 0) {
        sourcePos_ -= zstream_.avail_in;
        source_->SetPosition(sourcePos_);
    }
    zstream_.next_in = buffer_.data();
    zstream_.avail_in = 0;
}

std::int32_t TZDecompressionStream::Read(void* buffer, std::int32_t count)
{
    if (count <= 0 || streamEnded_)
        return 0;
    zstream_.next_out = static_cast<Bytef*>(buffer);
    zstream_.avail_out = static_cast<uInt>(count);
    FindPendingInput();
    while (zstream_.avail_out > 0 && !streamEnded_) {
        if (zstream_.avail_in == 0 && !FillInput())
            break;
        Inflate();
    }
    return count - static_cast<std::int32_t>(zstream_.avail_out);
}

void TZDecompressionStream::FinishStream()
{
    unsigned char extra = 0;
    if (streamEnded_)
        return;
    FindPendingInput();
    while (!streamEnded_) {
        zstream_.next_out = &extra;
        zstream_.avail_out = 1;
        if (zstream_.avail_in == 0 && !FillInput())
            throw EZDecompressionError(Z_DATA_ERROR, L"Packed data ends inside a compressed stream");
        Inflate();
        if (zstream_.avail_out == 0)
            throw EZDecompressionError(Z_DATA_ERROR, L"Compressed data is longer than its stated size");
    }
}

std::int32_t TZDecompressionStream::Write(const void*, std::int32_t)
{
    throw EZDecompressionError(SZInvalidOperation);
}

void TZDecompressionStream::Restart()
{
    inflateReset(&zstream_);
    zstream_.next_in = buffer_.data();
    zstream_.avail_in = 0;
    streamEnded_ = false;
    // The stream restarts at its own first byte, not at the start of whatever holds it.
    sourcePos_ = startPos_;
    source_->SetPosition(sourcePos_);
}

void TZDecompressionStream::Skip(std::int64_t count)
{
    unsigned char scratch[kSkipChunk];
    while (count > 0) {
        const std::int32_t want = static_cast<std::int32_t>(std::min<std::int64_t>(count, kSkipChunk));
        const std::int32_t got = Read(scratch, want);
        if (got <= 0)
            break;
        count -= got;
    }
}

std::int64_t TZDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const auto done = static_cast<std::int64_t>(zstream_.total_out);
    if (origin == TSeekOrigin::soBeginning && offset == 0) {
        Restart();
    } else if (origin == TSeekOrigin::soCurrent && offset >= 0) {
        Skip(offset);
    } else if (origin == TSeekOrigin::soBeginning && offset >= done) {
        Skip(offset - done);
    } else if (origin == TSeekOrigin::soEnd && offset == 0) {
        unsigned char scratch[kSkipChunk];
        while (Read(scratch, kSkipChunk) > 0) {
        }
    } else {
        throw EZDecompressionError(SZInvalidOperation);
    }
    return static_cast<std::int64_t>(zstream_.total_out);
}

std::int64_t TZDecompressionStream::Size()
{
    throw EZDecompressionError(SZInvalidOperation);
}
