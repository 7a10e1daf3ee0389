#include "foundation/CorruptFile.h"

#include "foundation/Exception.h"

namespace {

// Entry 63 of the exception list is string 191, the object-file list's corrupt-file text.
void ComposeCorruptFile(char* text)
{
    ComposeMessage(text, 63, nullptr, nullptr, nullptr, nullptr);
}

} // namespace

void pw::foundation::ThrowCorruptFile(const char* file, int line)
{
    char text[kMessageSize];
    ComposeCorruptFile(text);
    ThrowError(text, file, line);
}

void pw::foundation::ShowCorruptFile(const char* file, int line)
{
    char text[kMessageSize];
    ComposeCorruptFile(text);
    Exception::Warn(text, file, line);
}
