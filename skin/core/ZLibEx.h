// The read-only inflate stream over a zlib stream inside another stream, and the zlib exception classes.
#pragma once

#include "framework/Classes.h"

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <vector>

// A zlib failure; ZlibCode is the library's result code.
class EZLibError : public Exception {
    DECLARE_CLASS_NAME(EZLibError)
public:
    explicit EZLibError(int code);
    EZLibError(int code, const std::wstring& message) : Exception(message), zlibCode_(code) {}
    explicit EZLibError(const std::wstring& message) : Exception(message), zlibCode_(0) {}
    int ZlibCode() const { return zlibCode_; }

private:
    int zlibCode_;
};

class EZDecompressionError : public EZLibError {
    DECLARE_CLASS_NAME(EZDecompressionError)
public:
    using EZLibError::EZLibError;
};

// The message of a zlib result code, as the packed-skin reader reports it.
std::wstring ZLibErrorText(int code);

extern const wchar_t* const SZInvalidOperation; // "Invalid ZStream operation!"

class TCustomZStream : public TStream {
    DECLARE_CLASS_NAME(TCustomZStream)
public:
    explicit TCustomZStream(TStream* source);
    // Fired after each block of compressed input has been read from the source.
    std::function<void(TObject*)> OnProgress;

protected:
    TStream* source_;          // not owned
    std::int64_t sourcePos_;   // where the source must stand for the next read
    z_stream zstream_{};
};

// Inflates one zlib stream that starts at the source's position when the stream is made. After the
// stream's end has been reached the source stands on the first byte after the compressed data, so a
// container can read the next entry from there.
class TZDecompressionStream : public TCustomZStream {
    DECLARE_CLASS_NAME(TZDecompressionStream)
public:
    explicit TZDecompressionStream(TStream* source);
    ~TZDecompressionStream() override;
    TZDecompressionStream(const TZDecompressionStream&) = delete;
    TZDecompressionStream& operator=(const TZDecompressionStream&) = delete;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    [[noreturn]] std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    // The inflated size is not known before the end; a size query would consume the data.
    std::int64_t Size() override;

    // Inflates the rest of the stream up to its end and expects no further output: a stream whose
    // content is longer than its stated size raises, so does one cut short. Leaves the source right
    // after the compressed data.
    void FinishStream();
    bool StreamEnded() const { return streamEnded_; }

private:
    void Restart();
    bool FillInput();
    void FindPendingInput();
    const unsigned char* SourceBytes(std::int64_t at) const;
    void Inflate();
    void PlaceSourceAfterStream();
    void Skip(std::int64_t count);

    std::int64_t startPos_;    // the source position of the stream's first byte
    bool streamEnded_ = false;
    TCustomMemoryStream* memorySource_; // the source when its bytes lie in memory, else null
    std::vector<unsigned char> buffer_; // the input read from any other source
};
