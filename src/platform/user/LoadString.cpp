#include <windows.h>

#include "platform/backend/Backend.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/StringTable.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace pw::platform {

namespace {

std::optional<std::span<const StringTableEntry>>& TestStrings()
{
    static std::optional<std::span<const StringTableEntry>> strings;
    return strings;
}

const bool registered = testing::RegisterReset([] { TestStrings().reset(); });

} // namespace

std::span<const StringTableEntry> ActiveStrings()
{
    return TestStrings() ? *TestStrings() : ProgramStrings();
}

void UseStringsForTesting(std::span<const StringTableEntry> strings)
{
    TestStrings() = strings;
}

} // namespace pw::platform

// Copies string `id` of the program's table, at most size - 1 characters and a NUL, and returns
// the count. A missing or empty string answers 0 with 1814; NULL names the program's own module.
int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size)
{
    using pw::platform::Fail;
    if (instance && instance != pw::platform::ProgramInstance())
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (!buffer || size <= 0)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    auto strings = pw::platform::ActiveStrings();
    auto it = std::lower_bound(strings.begin(), strings.end(), id,
        [](const pw::platform::StringTableEntry& entry, UINT wanted) { return entry.id < wanted; });
    if (it == strings.end() || it->id != id || it->length == 0) {
        buffer[0] = '\0';
        return Fail(ERROR_RESOURCE_NAME_NOT_FOUND, 0);
    }
    size_t count = std::min<size_t>(it->length, static_cast<size_t>(size) - 1);
    std::memcpy(buffer, it->text, count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}
