// The filter strings FileReference's open and save dialogs offer: entries "Name (*.ext)", NUL,
// "*.ext", NUL, and one more NUL closing the list.
#pragma once

#include "foundation/FourCharCode.h"
#include "foundation/SmartList.h"

#include <cstdint>
#include <string>

class FileType;

namespace pw::foundation {

// Stands for "every extension" (the pattern "*.*").
inline constexpr uint32_t kAnyExtension = FourCharCode("*   ");

// Appends one entry for a display name and an extension code.
void AppendFilter(std::string& filter, const char* name, uint32_t code);

// The open dialog's filter: one entry per type with an extension code, in order, or "All Files"
// for an empty list; `defaultCode` is the first entry's code.
std::string OpenDialogFilter(const SmartList<FileType>& types, uint32_t& defaultCode);
// The save dialog's filter: the type's entry ("*.*" when it has no extension code).
std::string SaveDialogFilter(const FileType& type, uint32_t& defaultCode);

} // namespace pw::foundation
