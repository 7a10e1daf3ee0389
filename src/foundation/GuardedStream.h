#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/Stream.h"

namespace pw::foundation {

// A stream that passes everything to another one but, while guarding, turns a read past the end
// and a seek outside the stream into the corrupt-file error: stored data read through it never
// reaches past the bytes there are, whatever its lengths and offsets say. While guarding it keeps
// the other stream's length (a disk file asks the system for it) and follows only its own writes.
// It adopts the other stream's swap flag when set to it; the other stream must outlive it.
class GuardedStream : public Stream, public SmartImplementation {
    PW_CLASS_INFO(GuardedStream)
    PW_COPY_SLOTS

public:
    GuardedStream() = default;
    GuardedStream(const GuardedStream&) = delete;
    GuardedStream& operator=(const GuardedStream&) = delete;

    void SetStream(Stream* stream);
    Stream* GetInner() const { return inner; }
    void SetGuarding(bool value);
    // Sets the swap flag here and on the other stream.
    void SetBothSwap(bool value);

    void Write(const void* buffer, uint32_t length) override;
    void Read(void* buffer, uint32_t length) override;
    bool IsWritable() override;
    void Seek(int32_t offset, int mode) override;
    uint32_t GetMark() override;
    uint32_t GetLength() override;
    void SetLength(uint32_t length) override;

private:
    Stream& Inner() const;

    Stream* inner { nullptr };
    bool guarding { false };
    uint32_t guardedLength { 0 };
};

} // namespace pw::foundation
