// The platform's OLE error: a failing COM or shell call becomes EOleSysError through OleCheck.
#pragma once

#include "framework/System.h"
#include "framework/WinApi.h"

class EOleSysError : public Exception {
    DECLARE_CLASS_NAME(EOleSysError)
public:
    EOleSysError(std::wstring message, HRESULT errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
    HRESULT ErrorCode() const { return errorCode_; }

private:
    HRESULT errorCode_;
};

// Raises EOleSysError with the system's text for a failing result.
void OleCheck(HRESULT result);
