#pragma once

#include <cstdint>

// A set of resources over a run of numeric identifiers, addressed by numbers relative to its first
// identifier. It turns a relative number into a string-table text with %1 to %4 filled in.
class Resources {
public:
    Resources(int32_t first, int32_t last);

    // Throws "Resource id not in this set of resources." outside 0..span.
    static void CheckId(int32_t number, int32_t span);

    // Composes string first + number into `destination` (256 bytes) with the arguments (null ones
    // count as ""); the result is always terminated. A missing or empty string throws "String
    // Resource Missing " with its identifier.
    void GetString(char* destination, int32_t number, const char* arg1, const char* arg2, const char* arg3,
        const char* arg4) const;

private:
    int32_t first;
    int32_t span;
};
