#include "foundation/Utilities.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

void Min(int32_t* value, int32_t bound)
{
    if (*value > bound)
        *value = bound;
}

void Max(int32_t* value, int32_t bound)
{
    if (*value < bound)
        *value = bound;
}

int32_t MinLong(int32_t a, int32_t b)
{
    return a < b ? a : b;
}

bool CToCounted(const char* source, unsigned char* destination)
{
    size_t length = std::strlen(source);
    bool fits = length <= 255;
    if (!fits)
        length = 255;
    std::memcpy(destination + 1, source, length);
    destination[0] = static_cast<unsigned char>(length);
    return fits;
}

bool CountedToC(const unsigned char* source, char* destination)
{
    std::memcpy(destination, source + 1, source[0]);
    destination[source[0]] = '\0';
    return true;
}

void CopyCounted(const unsigned char* source, unsigned char* destination)
{
    std::memmove(destination, source, source[0] + 1u);
}

bool AppendCounted(unsigned char* destination, const unsigned char* source)
{
    unsigned total = destination[0] + source[0];
    if (total > 255)
        return false;
    std::memmove(destination + 1 + destination[0], source + 1, source[0]);
    destination[0] = static_cast<unsigned char>(total);
    return true;
}

bool EqualBlocks(const void* a, const void* b, uint32_t count)
{
    return count == 0 || std::memcmp(a, b, count) == 0;
}

bool EqualStrings(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}

void ConcatBounded(char* destination, const char* source, uint32_t size)
{
    if (size == 0)
        return;
    size_t used = strnlen(destination, size - 1);
    size_t room = size - 1 - used;
    size_t length = strnlen(source, room);
    std::memcpy(destination + used, source, length);
    destination[used + length] = '\0';
}

void ZeroBlock(void* address, uint32_t count)
{
    if (address && count)
        std::memset(address, 0, count);
}

void BlockMove(const void* source, void* destination, uint32_t count)
{
    if (count == 0 || !source || !destination)
        return;
    std::memmove(destination, source, count);
}

uint32_t CStringLength(const char* text)
{
    return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

// Copies no further than the source's terminator: a short source is never read past its end.
void CopyBounded(const char* source, char* destination, uint32_t size)
{
    if (size == 0)
        return;
    size_t length = strnlen(source, size - 1);
    std::memmove(destination, source, length);
    destination[length] = '\0';
}

bool CToLong(const char* text, int32_t* result)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    *result = static_cast<int32_t>(negative ? 0u - value : value);
    return true;
}

bool CountedToLong(const unsigned char* text, int32_t* result)
{
    *result = 0;
    char copy[256];
    CountedToC(text, copy);
    return CToLong(copy, result);
}

bool FormatLong(int32_t value, char* destination, uint32_t size)
{
    char scratch[36];
    int length = std::snprintf(scratch, sizeof scratch, "%d", value);
    CopyBounded(scratch, destination, size);
    return static_cast<uint32_t>(length) < size;
}

bool FormatShortNumber(int32_t value, char* destination, int16_t size)
{
    return size > 0 && FormatLong(value, destination, static_cast<uint32_t>(size));
}

bool FormatDouble(double value, char* destination, uint32_t size)
{
    char scratch[36];
    int length = std::snprintf(scratch, sizeof scratch, "%g", value);
    CopyBounded(scratch, destination, size);
    return length >= 0 && static_cast<uint32_t>(length) < size;
}

bool ParseDouble(const char* text, double* result)
{
    return std::sscanf(text, " %lg", result) == 1;
}

double SquareRoot(double value)
{
    return std::sqrt(value);
}

// Values beyond the 32-bit range (and NaN) have no truncation; they are held at the nearest bound.
int32_t RoundToLong(double value)
{
    double rounded = value < 0.0 ? value - 0.5 : value + 0.5;
    if (!(rounded > -2147483649.0))
        return value != value ? 0 : INT32_MIN;
    if (rounded >= 2147483648.0)
        return INT32_MAX;
    return static_cast<int32_t>(rounded);
}

uint32_t TickCount()
{
    return GetTickCount();
}

void Delay(uint32_t milliseconds)
{
    WaitUntil(TickCount() + milliseconds);
}

void WaitUntil(uint32_t tick)
{
    while (static_cast<int32_t>(tick - TickCount()) > 0) {
    }
}

bool AlwaysTrue()
{
    return true;
}

int16_t Random(int16_t min, int16_t max)
{
    static uint32_t state = 0;
    static bool seeded = false;
    if (max <= min)
        return min;
    if (!seeded) {
        SYSTEMTIME now;
        GetSystemTime(&now);
        state = static_cast<uint32_t>(now.wSecond) << ((now.wMilliseconds + 16) % 32);
        state ^= TickCount();
        seeded = true;
    }
    state = state * 2147001325u + 715136305u;
    uint32_t range = static_cast<uint32_t>(max - min + 1);
    return static_cast<int16_t>(min + static_cast<int32_t>((state & 0xFFFF) % range));
}

uint32_t ClearOSError()
{
    DWORD code = GetLastError();
    if (code != 0)
        SetLastError(0);
    return code;
}

void Beep()
{
    MessageBeep(0xFFFFFFFF);
}
