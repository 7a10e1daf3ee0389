#pragma once

#include "foundation/Memory.h"
#include "foundation/SmartImplementation.h"
#include "foundation/Stream.h"

// A stream over a growable byte buffer. The length is the number of meaningful bytes (the block
// may be larger); writing past the length grows the stream, reading past it fails the assertion
// "position + len <= streamSize". Positions are 32-bit and never wrap.
class MemoryStream : public Stream, public SmartImplementation {
    PW_CLASS_INFO(MemoryStream)
    PW_COPY_SLOTS

public:
    explicit MemoryStream(uint32_t initialSize = 0);
    // Reads back the block's bytes.
    explicit MemoryStream(const Memory& block);
    MemoryStream(const MemoryStream& other);
    MemoryStream& operator=(const MemoryStream& other);

    void Write(const void* buffer, uint32_t length) override;
    void Read(void* buffer, uint32_t length) override;
    bool IsWritable() override { return true; }
    void Seek(int32_t offset, int mode) override;
    uint32_t GetMark() override { return position; }
    uint32_t GetLength() override { return streamSize; }
    void SetLength(uint32_t length) override;

    uint32_t GetObjectSize() override;

    Memory& Block() { return block; }

private:
    // Grows the block to `end` bytes for a write at the position.
    [[gnu::noinline]] void Extend(uint64_t end);

    Memory block;
    uint32_t position { 0 };
    uint32_t streamSize { 0 };
};
