// Checks on the results of system calls. Each first takes (and clears) the pending operating-system
// error; when the value fails, a pending error is thrown as the system-error exception, and
// otherwise a message exception names the failure with the caller's place.
#pragma once

#include "foundation/SourcePath.h"

#include <cstdint>

// Fails with "Missing (NULL) value." on a null pointer.
void CheckNotNull(const void* value, const char* file, int line);
// Fails with "Call failed." when the call answered false.
void CheckCall(bool value, const char* file, int line);
// Fails with "Bad (zero) value." on 0.
void CheckNonZero(uintptr_t value, const char* file, int line);
