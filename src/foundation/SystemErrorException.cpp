#include "foundation/SystemErrorException.h"

#include "foundation/Alert.h"

namespace {

SmartPtr<SystemErrorException>& SystemErrorHandle()
{
    static SmartPtr<SystemErrorException> handle;
    return handle;
}

// Each throw or report is a new occurrence: it is shown even when the code equals the last one.
SystemErrorException& Occurrence(uint32_t code, const char* file, int line)
{
    SmartPtr<SystemErrorException>& error = SystemError();
    error->SetErrorCode(code);
    error->SetErrorLocation(file, line);
    error->SetReported(false);
    return *error.Get();
}

} // namespace

SystemErrorException::SystemErrorException(uint32_t code)
    : code(code)
{
}

void SystemErrorException::Display(int)
{
    if (IsReported())
        return;
    if (code != 0)
        SystemErrorAlert(code, file.c_str(), line);
    SetReported(true);
}

void SystemErrorException::SetErrorCode(uint32_t newCode)
{
    if (newCode != code)
        SetReported(false);
    code = newCode;
}

void SystemErrorException::SetErrorLocation(const char* newFile, int newLine)
{
    file = newFile ? newFile : "";
    line = static_cast<int16_t>(newLine);
}

void InitSystemErrorException()
{
    SystemErrorHandle() = new SystemErrorException(0);
}

SmartPtr<SystemErrorException>& SystemError()
{
    SmartPtr<SystemErrorException>& handle = SystemErrorHandle();
    if (!handle.Valid())
        InitSystemErrorException();
    return handle;
}

bool IsSystemError(Exception* exception, uint32_t code)
{
    auto* error = dynamic_cast<SystemErrorException*>(exception);
    return error && error->GetErrorCode() == code;
}

void ThrowSystemError(uint32_t code, const char* file, int line)
{
    if (code == 0)
        return;
    Occurrence(code, file, line);
    ThrowPointer(SystemError().Get());
}

void ReportSystemError(uint32_t code, const char* file, int line)
{
    if (code == 0)
        return;
    ReportException(&Occurrence(code, file, line));
}

void ThrowLastSystemError(uint32_t code)
{
    SmartPtr<SystemErrorException>& error = SystemError();
    error->SetErrorCode(code);
    error->SetReported(false);
    ThrowPointer(error.Get());
}
