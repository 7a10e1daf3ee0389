// The one error every reader of stored data raises when the data cannot be trusted.
#pragma once

namespace pw::foundation {

// Throws the program's corrupt-file message ("This file is corrupt or in an obsolete format...")
// with the caller's place.
[[noreturn]] void ThrowCorruptFile(const char* file, int line);

// Shows the same message in an exclamation alert, as a caught ThrowCorruptFile would, without
// throwing.
void ShowCorruptFile(const char* file, int line);

} // namespace pw::foundation
