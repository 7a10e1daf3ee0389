#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/Stream.h"

// A stream that discards what is written and reads zeros; its mark and length stay 0. The shared
// one is the null stream that skipped stored data is read through.
class BitBucket : public Stream, public SmartImplementation {
    PW_CLASS_INFO(BitBucket)
    PW_COPY_SLOTS

public:
    BitBucket() = default;
    BitBucket(const BitBucket& other) = default;
    BitBucket& operator=(const BitBucket& other) = default;

    void Write(const void*, uint32_t) override { }
    void Read(void* buffer, uint32_t length) override;
    bool IsWritable() override { return true; }
    void Seek(int32_t, int) override { }
    uint32_t GetMark() override { return 0; }
    uint32_t GetLength() override { return 0; }
    void SetLength(uint32_t) override { }
};
