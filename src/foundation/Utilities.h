// The framework's lowest free routines: clamping, byte blocks, length-prefixed ("counted": one
// count byte, then the characters) and NUL-terminated texts, numbers as text, the millisecond
// clock and waits, the seeded random generator, and the operating system's last error.
#pragma once

#include <cstdint>

void Min(int32_t* value, int32_t bound);
void Max(int32_t* value, int32_t bound);
int32_t MinLong(int32_t a, int32_t b);

// Copies at most 255 characters; false when the source was longer (its first 255 are kept).
bool CToCounted(const char* source, unsigned char* destination);
bool CountedToC(const unsigned char* source, char* destination);
void CopyCounted(const unsigned char* source, unsigned char* destination);
// Appends when both counts together fit in 255; otherwise false and the destination is unchanged.
bool AppendCounted(unsigned char* destination, const unsigned char* source);

bool EqualBlocks(const void* a, const void* b, uint32_t count);
bool EqualStrings(const char* a, const char* b);
// Appends, never writing past destination[size - 1], and always terminates.
void ConcatBounded(char* destination, const char* source, uint32_t size);
void ZeroBlock(void* address, uint32_t count);
// Copies correctly across overlap; nothing for a zero count or a null address.
void BlockMove(const void* source, void* destination, uint32_t count);
uint32_t CStringLength(const char* text);
// The source's text cut to size - 1 characters, terminated, in a destination of `size` bytes.
void CopyBounded(const char* source, char* destination, uint32_t size);

// Decimal text to number by the runtime's atol rules (blanks, sign, digits); always true.
bool CToLong(const char* text, int32_t* result);
bool CountedToLong(const unsigned char* text, int32_t* result);
// True when the whole text fitted with its terminator; otherwise it is cut. Size at most 36.
bool FormatLong(int32_t value, char* destination, uint32_t size);
bool FormatShortNumber(int32_t value, char* destination, int16_t size);
bool FormatDouble(double value, char* destination, uint32_t size);
// True when exactly one number was read (leading blanks skipped).
bool ParseDouble(const char* text, double* result);
double SquareRoot(double value);
// Halves go away from zero.
int32_t RoundToLong(double value);

// Milliseconds since the system started; wraps at 2^32.
uint32_t TickCount();
void Delay(uint32_t milliseconds);
// Waits while the tick is still ahead, by the signed difference (correct across the wrap).
void WaitUntil(uint32_t tick);
bool AlwaysTrue();

// A value in min..max from the seeded generator; min when the range is empty.
int16_t Random(int16_t min, int16_t max);

// The operating system's last error, cleared when it was set.
uint32_t ClearOSError();
// The platform's default beep.
void Beep();
