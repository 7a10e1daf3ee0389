#include "platform/user/menus/AcceleratorTable.h"

#include "platform/testing/Reset.h"

#include <map>

namespace pw::platform {

namespace {

constexpr uintptr_t kFirstHandle = 0x50010;
constexpr uintptr_t kHandleStep = 4;

struct Tables {
    std::map<uintptr_t, std::vector<ACCEL>> tables;
    uintptr_t nextHandle = kFirstHandle;
    bool creationFails = false;
};

Tables& TheTables()
{
    static Tables tables;
    return tables;
}

const bool registered = testing::RegisterReset([] { TheTables() = Tables {}; });

bool Matches(const ACCEL& entry, const MSG& msg, bool shift, bool control, bool alt)
{
    if (entry.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return false;
        return msg.wParam == entry.key && shift == ((entry.fVirt & FSHIFT) != 0)
            && control == ((entry.fVirt & FCONTROL) != 0) && alt == ((entry.fVirt & FALT) != 0);
    }
    UINT wanted = (entry.fVirt & FALT) ? WM_SYSCHAR : WM_CHAR;
    return msg.message == wanted && msg.wParam == entry.key;
}

} // namespace

HACCEL AcceleratorTable::Add(std::vector<ACCEL> entries)
{
    Tables& state = TheTables();
    uintptr_t value = state.nextHandle;
    state.nextHandle += kHandleStep;
    state.tables.emplace(value, std::move(entries));
    return reinterpret_cast<HACCEL>(value);
}

bool AcceleratorTable::Remove(HACCEL handle)
{
    return TheTables().tables.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

const std::vector<ACCEL>* AcceleratorTable::Find(HACCEL handle)
{
    auto& tables = TheTables().tables;
    auto it = tables.find(reinterpret_cast<uintptr_t>(handle));
    return it == tables.end() ? nullptr : &it->second;
}

size_t AcceleratorTable::Count()
{
    return TheTables().tables.size();
}

int AcceleratorTable::Match(const std::vector<ACCEL>& entries, const MSG& msg, bool shift, bool control, bool alt)
{
    for (const ACCEL& entry : entries) {
        if (Matches(entry, msg, shift, control, alt))
            return entry.cmd;
    }
    return -1;
}

void AcceleratorTable::SetCreationFails(bool fails)
{
    TheTables().creationFails = fails;
}

bool AcceleratorTable::CreationFails()
{
    return TheTables().creationFails;
}

} // namespace pw::platform
