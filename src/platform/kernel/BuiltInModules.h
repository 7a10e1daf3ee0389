// The libraries LoadLibraryA can load: stand-ins built into the floor, registered by file name
// (from a static initialiser of the part that provides them, e.g. the multimedia part's
// "msacm32.dll"). A name is matched ignoring case and any folder, ".dll" being implied.
#pragma once

#include <string>
#include <vector>

#include <windef.h>

namespace pw::platform {

struct ModuleEntry {
    std::string name; // matched exactly, as GetProcAddress does
    FARPROC address;
};

// Registers a module, replacing one of the same name; returns true so it can initialise a
// namespace-scope constant.
bool RegisterBuiltInModule(const std::string& fileName, std::vector<ModuleEntry> entries);

} // namespace pw::platform
