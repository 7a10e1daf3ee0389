#include "foundation/Exception.h"

#include "foundation/Alert.h"
#include "foundation/AssertionException.h"
#include "foundation/MessageException.h"
#include "foundation/Resources.h"

#include <exception>
#include <vector>

PW_DEFINE_CLASS(Exception, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Exception)

namespace {

// The exception string list: the framework messages, string-table ids 128 to 200.
Resources& ExceptionStrings()
{
    static Resources strings(128, 200);
    return strings;
}

} // namespace

void Exception::ShowComposed(int kind, const char* text1, const char* text2, const char* text3, const char* text4)
{
    if (reported)
        return;
    char text[kMessageSize];
    ComposeMessage(text, 0, text1, text2, text3, text4);
    Alert(kind, 0, text);
    reported = true;
}

void Exception::Warn(const char* message, const char* file, int line)
{
    MessageException warning(message, file, line);
    ReportException(&warning);
}

void ComposeMessage(char* buffer, int entry, const char* text1, const char* text2, const char* text3,
    const char* text4)
{
    ExceptionStrings().GetString(buffer, entry, text1, text2, text3, text4);
}

// A counted exception is held while it shows: the alert's loop may run work that throws and
// replaces the current exception. Exceptions built on the stack are never counted.
void ReportException(Exception* exception)
{
    SmartPtr<Exception> hold(exception->Unreferenced() ? nullptr : exception);
    exception->Display(2);
}

SmartPtr<Exception>& CurrentException()
{
    static SmartPtr<Exception> current;
    return current;
}

// A throw made while another exception unwinds (clean-up in a destructor that throws and catches
// its own) would free the unwinding one, which its handler has yet to catch: it is kept alive
// until the next throw made with nothing unwinding.
void ThrowPointer(const SmartPtr<Exception>& exception)
{
    static std::vector<SmartPtr<Exception>> unwinding;
    if (std::uncaught_exceptions() > 0) {
        if (CurrentException().Valid())
            unwinding.push_back(CurrentException());
    } else {
        unwinding.clear();
    }
    CurrentException() = exception;
    throw exception.Get();
}

void Throw(const SmartPtr<Exception>& exception, const char*, int)
{
    ThrowPointer(exception);
}

void ThrowError(const char* message, const char* file, int line)
{
    ThrowPointer(new MessageException(message, file, line));
}

void AssertionFailed(const char* expression, const char* file, int line)
{
    ThrowPointer(new AssertionException(expression, file, line));
}

bool Verify(bool condition, const char* expression, const char* file, int line)
{
    if (condition)
        return true;
    AssertionException failure(expression, file, line);
    ReportException(&failure);
    return false;
}
