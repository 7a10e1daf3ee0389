#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"

#include <cstdint>

// The framework's abstract byte stream: a mark, a length, raw reads and writes, and the primitives
// through which every stored byte passes. Values are written in the processor's little-endian
// order; a reader that meets big-endian data sets the swap flag, and every 16- and 32-bit value is
// then byte-reversed (bytes and raw blocks never are).
class Stream : public virtual Smart {
    PW_CLASS_INFO(Stream)
    PW_COPY_SLOTS

public:
    // Seek modes: from the start, back from the end, relative to the mark. Others count as absolute.
    static constexpr int kFromStart = 1;
    static constexpr int kFromEnd = 2;
    static constexpr int kFromMark = 3;

    virtual void Write(const void* buffer, uint32_t length) = 0;
    virtual void Read(void* buffer, uint32_t length) = 0;
    virtual bool IsWritable() = 0;
    virtual void Seek(int32_t offset, int mode) = 0;
    virtual uint32_t GetMark() = 0;
    virtual uint32_t GetLength() = 0;
    // Grows or truncates; the mark stays.
    virtual void SetLength(uint32_t length) = 0;

    Stream& WriteByte(char value);
    char ReadByte();
    // A flag as one byte: 1 or 0 written, the byte read back as it lies (0 to 255).
    Stream& WriteBool(bool value);
    uint8_t ReadBool();
    Stream& WriteShort(int16_t value);
    int16_t ReadShort();
    Stream& WriteLong(int32_t value);
    int32_t ReadLong();
    Stream& WritePoint(int32_t h, int32_t v);
    Point ReadPoint();
    Stream& WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    Rect ReadRect();
    // Eight bytes as they lie in memory, also when swapping.
    Stream& WriteDouble(double value);
    double ReadDouble();

    void SetSwap(bool value) { swap = value; }
    bool GetSwap() const { return swap; }
    // True unless the length is greater than the mark.
    bool AtEnd();

    // Readers bound every stored length or count by this: fails with the corrupt-file message when
    // fewer than `bytes` bytes lie between the mark and the end.
    void CheckAvailable(uint64_t bytes);

    // The byte order conversions the primitives apply.
    uint32_t SwapLong(uint32_t value) const;
    uint16_t SwapShort(uint16_t value) const;

protected:
    Stream() = default;
    Stream(const Stream&) = default;
    Stream& operator=(const Stream&) = default;

private:
    bool swap { false };
};

namespace pw::foundation {

// The shared null stream: writes vanish, reads give zeros. It lives for the whole run.
Stream& NullStream();

} // namespace pw::foundation
