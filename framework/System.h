// The root of the framework's classes, its exception classes and the few basic types every unit uses.
// Window-free: it also builds with the host compiler for the native tests of the codec cores.
#pragma once

#include "framework/WinApi.h"

#include <cstdint>
#include <exception>
#include <string>

// Declares a class's own name as the skin engine and the form reader see it ("TMainForm").
#define DECLARE_CLASS_NAME(name)                                                                                  \
public:                                                                                                           \
    std::wstring ClassName() const override { return L## #name; }                                                \
    static std::wstring StaticClassName() { return L## #name; }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;
    virtual std::wstring ClassName() const { return L"TObject"; }
    static std::wstring StaticClassName() { return L"TObject"; }
};

// Converts between the program's UTF-16 text and UTF-8 (files, the narrow what() of exceptions).
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& utf8);

// The root of the framework's exceptions: a UTF-16 message; what() gives it in UTF-8.
class Exception : public TObject, public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)), narrow_(WideToUtf8(message_)) {}
    const std::wstring& Message() const { return message_; }
    void SetMessage(const std::wstring& message)
    {
        message_ = message;
        narrow_ = WideToUtf8(message);
    }
    const char* what() const noexcept override { return narrow_.c_str(); }
    std::wstring ClassName() const override { return L"Exception"; }
    static std::wstring StaticClassName() { return L"Exception"; }

private:
    std::wstring message_;
    std::string narrow_;
};

#define DECLARE_EXCEPTION(name, base)                                                                             \
    class name : public base {                                                                                    \
    public:                                                                                                       \
        using base::base;                                                                                         \
        DECLARE_CLASS_NAME(name)                                                                                  \
    };

DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStringListError, Exception)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EInvalidPointer, Exception)
DECLARE_EXCEPTION(EOutOfMemory, Exception)
DECLARE_EXCEPTION(EAbort, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EReadError, EStreamError)
// A document whose groups nest deeper than its reader takes; nothing of it was shown.
DECLARE_EXCEPTION(ENestingError, EReadError)
DECLARE_EXCEPTION(EWriteError, EStreamError)
DECLARE_EXCEPTION(EFilerError, EStreamError)
DECLARE_EXCEPTION(EFCreateError, EStreamError)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EInvalidGraphic, Exception)
DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
DECLARE_EXCEPTION(EOutOfResources, Exception)
DECLARE_EXCEPTION(EPrinter, Exception)
DECLARE_EXCEPTION(ERegistryException, Exception)
DECLARE_EXCEPTION(EIniFileException, Exception)
DECLARE_EXCEPTION(EOSError, Exception)
DECLARE_EXCEPTION(EMenuError, Exception)

// Silent exception: ends an operation without a report.
[[noreturn]] void Abort();
