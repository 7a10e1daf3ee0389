#include "foundation/CorruptFile.h"

#include "foundation/Exception.h"

// Entry 63 of the exception list is string 191, the object-file list's corrupt-file text.
void pw::foundation::ThrowCorruptFile(const char* file, int line)
{
    char text[kMessageSize];
    ComposeMessage(text, 63, nullptr, nullptr, nullptr, nullptr);
    ThrowError(text, file, line);
}
