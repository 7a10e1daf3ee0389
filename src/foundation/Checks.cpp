#include "foundation/Checks.h"

#include "foundation/Exception.h"
#include "foundation/SystemErrorException.h"
#include "foundation/Utilities.h"

namespace {

void Check(bool passes, const char* message, const char* file, int line)
{
    uint32_t code = ClearOSError();
    if (passes)
        return;
    if (code != 0)
        ThrowSystemError(code, file, line);
    ThrowError(message, file, line);
}

} // namespace

void CheckNotNull(const void* value, const char* file, int line)
{
    Check(value != nullptr, "Missing (NULL) value.", file, line);
}

void CheckCall(bool value, const char* file, int line)
{
    Check(value, "Call failed.", file, line);
}

void CheckNonZero(uintptr_t value, const char* file, int line)
{
    Check(value != 0, "Bad (zero) value.", file, line);
}
