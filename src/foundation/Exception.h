#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/SourcePath.h"

#include <cstddef>

// The counted base of every exception the framework throws. Exceptions are thrown as Exception
// pointers (ThrowPointer keeps the object alive in a global handle until the next throw; one that
// unwinds past a destructor throwing and catching its own, until a throw with none unwinding) and
// shown by whoever catches them through Display, which shows an exception once: the reported
// flag makes a second Display by an outer handler silent.
class Exception : public SmartImplementation {
    PW_CLASS_INFO(Exception)
    PW_COPY_SLOTS

public:
    // Shows the exception in an alert of the given kind, once.
    virtual void Display(int kind) = 0;

    // Composes exception-list entry 0 ("%1 %2 %3 %4") from the texts (null for none) and shows it
    // with an OK button, unless already reported; then marks it reported.
    void ShowComposed(int kind, const char* text1, const char* text2, const char* text3, const char* text4);

    bool IsReported() const { return reported; }
    void SetReported(bool value) { reported = value; }

    // Shows `message` with its place as a MessageException would, without throwing.
    static void Warn(const char* message, const char* file, int line);

protected:
    Exception() = default;
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;

private:
    bool reported { false };
};

// The text callers warn with at operations the program leaves empty.
inline constexpr const char* kNotImplemented = "Not implemented.";

// Size of every composition buffer (the string table's limit, terminator included).
inline constexpr size_t kMessageSize = 256;

// Composes exception-list entry `entry` (string-table id 128 + entry) with up to four texts
// (null ones count as "") into `buffer` of kMessageSize bytes; the result is always terminated.
void ComposeMessage(char* buffer, int entry, const char* text1, const char* text2, const char* text3,
    const char* text4);

// Shows the exception as an exclamation alert (kind 2).
void ReportException(Exception* exception);

// The handle holding the exception thrown last (empty before the first throw).
SmartPtr<Exception>& CurrentException();

[[noreturn]] void ThrowPointer(const SmartPtr<Exception>& exception);
[[noreturn]] void Throw(const SmartPtr<Exception>& exception, const char* file, int line);
[[noreturn]] void ThrowError(const char* message, const char* file, int line);
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);

// True when the condition holds; otherwise shows the assertion without throwing and answers false.
bool Verify(bool condition, const char* expression, const char* file, int line);

// Fails the assertion named by its own source text when the expression is false.
#define ASSERT(expression) ((expression) ? (void)0 : AssertionFailed(#expression, PW_HERE))
