#include "platform/kernel/BuiltInModules.h"

#include <cstring>
#include <memory>

#include <windows.h>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"

using pw::platform::Fail;
using pw::platform::HandleTable;

namespace pw::platform {

namespace {

struct Module {
    std::string fileName;
    std::vector<ModuleEntry> entries;
    HANDLE loaded = nullptr; // the handle while loaded
};

std::vector<Module>& Registry()
{
    static std::vector<Module> modules;
    return modules;
}

// A loaded module: one handle per module, counted per LoadLibraryA.
class LoadedModule : public KernelObject {
public:
    static constexpr Kind kKind = Kind::Module;

    explicit LoadedModule(size_t index)
        : KernelObject(kKind)
        , index(index)
    {
    }

    const size_t index;
    UINT loads = 1;
};

LoadedModule* LoadedOf(size_t index)
{
    LoadedModule* loaded = HandleTable::Get<LoadedModule>(Registry()[index].loaded);
    return loaded != nullptr && loaded->index == index ? loaded : nullptr;
}

} // namespace

bool RegisterBuiltInModule(const std::string& fileName, std::vector<ModuleEntry> entries)
{
    for (Module& module : Registry()) {
        if (PathMapper::EqualsIgnoringCase(module.fileName, fileName)) {
            module.entries = std::move(entries);
            return true;
        }
    }
    Registry().push_back(Module { fileName, std::move(entries) });
    return true;
}

} // namespace pw::platform

using pw::platform::LoadedModule;

// A built-in module by file name (case ignored, ".dll" implied); NULL with 126 when there is none.
HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName)
{
    if (lpLibFileName == nullptr)
        return Fail(ERROR_MOD_NOT_FOUND, HMODULE(nullptr));
    std::string name = lpLibFileName;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    if (name.find('.') == std::string::npos)
        name += ".dll";
    auto& registry = pw::platform::Registry();
    for (size_t i = 0; i < registry.size(); ++i) {
        if (!pw::platform::PathMapper::EqualsIgnoringCase(registry[i].fileName, name))
            continue;
        if (LoadedModule* loaded = pw::platform::LoadedOf(i)) {
            ++loaded->loads;
            return static_cast<HMODULE>(registry[i].loaded);
        }
        HANDLE handle = HandleTable::Add(std::make_unique<LoadedModule>(i));
        if (handle == nullptr)
            return Fail(ERROR_NOT_ENOUGH_MEMORY, HMODULE(nullptr));
        registry[i].loaded = handle;
        return static_cast<HMODULE>(handle);
    }
    return Fail(ERROR_MOD_NOT_FOUND, HMODULE(nullptr));
}

// An entry of a loaded module by exact name; NULL with 127 when missing (ordinals included), 6
// when the module handle is not loaded.
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    LoadedModule* loaded = HandleTable::Get<LoadedModule>(hModule);
    if (loaded == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FARPROC(nullptr));
    if (lpProcName == nullptr || IS_INTRESOURCE(lpProcName))
        return Fail(ERROR_PROC_NOT_FOUND, FARPROC(nullptr));
    for (const pw::platform::ModuleEntry& entry : pw::platform::Registry()[loaded->index].entries) {
        if (entry.name == lpProcName)
            return entry.address;
    }
    return Fail(ERROR_PROC_NOT_FOUND, FARPROC(nullptr));
}

// Undoes one LoadLibraryA; the last one unloads the module.
BOOL WINAPI FreeLibrary(HMODULE hLibModule)
{
    LoadedModule* loaded = HandleTable::Get<LoadedModule>(hLibModule);
    if (loaded == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (--loaded->loads == 0) {
        pw::platform::Registry()[loaded->index].loaded = nullptr;
        HandleTable::Remove(hLibModule, LoadedModule::kKind);
    }
    return TRUE;
}
