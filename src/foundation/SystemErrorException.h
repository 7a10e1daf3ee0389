#pragma once

#include "foundation/Exception.h"

#include <cstdint>
#include <string>

// An operating-system error code with the place where a check met it, shown in the system error
// box (always a stop alert). The program keeps one such exception and rethrows it for each error.
class SystemErrorException : public Exception {
public:
    explicit SystemErrorException(uint32_t code);

    void Display(int kind) override;

    // A different code makes the exception showable again.
    void SetErrorCode(uint32_t newCode);
    void SetErrorLocation(const char* newFile, int newLine);

    uint32_t GetErrorCode() const { return code; }
    const std::string& GetFile() const { return file; }
    int16_t GetLine() const { return line; }

private:
    uint32_t code;
    std::string file;
    int16_t line { 0 };
};

// Creates the one system-error exception (code 0); the application's start-up calls it once.
void InitSystemErrorException();
// The one system-error exception; made on first use when start-up has not made it yet.
SmartPtr<SystemErrorException>& SystemError();

// Whether a caught exception is the system error with this code.
bool IsSystemError(Exception* exception, uint32_t code);

// Code 0 does nothing; otherwise records code and place and throws (or shows) the exception.
void ThrowSystemError(uint32_t code, const char* file, int line);
void ReportSystemError(uint32_t code, const char* file, int line);
// Records the code and throws, keeping the place recorded last.
[[noreturn]] void ThrowLastSystemError(uint32_t code);
