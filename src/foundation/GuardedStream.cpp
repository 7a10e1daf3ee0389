#include "foundation/GuardedStream.h"

#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"

namespace pw::foundation {

PW_DEFINE_CLASS(GuardedStream, nullptr, nullptr, Stream, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(GuardedStream)

void GuardedStream::SetStream(Stream* stream)
{
    inner = stream;
    if (inner)
        SetSwap(inner->GetSwap());
    if (guarding && inner)
        guardedLength = inner->GetLength();
}

void GuardedStream::SetGuarding(bool value)
{
    guarding = value;
    if (guarding)
        guardedLength = Inner().GetLength();
}

void GuardedStream::SetBothSwap(bool value)
{
    SetSwap(value);
    Inner().SetSwap(value);
}

Stream& GuardedStream::Inner() const
{
    CheckSmartData(inner);
    return *inner;
}

void GuardedStream::Write(const void* buffer, uint32_t length)
{
    Inner().Write(buffer, length);
    if (guarding)
        guardedLength = Inner().GetLength();
}

void GuardedStream::Read(void* buffer, uint32_t length)
{
    if (guarding)
        CheckAvailable(length);
    Inner().Read(buffer, length);
}

bool GuardedStream::IsWritable()
{
    return Inner().IsWritable();
}

void GuardedStream::Seek(int32_t offset, int mode)
{
    if (guarding) {
        int64_t mark = Inner().GetMark();
        int64_t length = guardedLength;
        int64_t target = mode == kFromMark ? mark + offset : mode == kFromEnd ? length - offset : offset;
        if (target < 0 || target > length)
            pw::foundation::ThrowCorruptFile(PW_HERE);
    }
    Inner().Seek(offset, mode);
}

uint32_t GuardedStream::GetMark()
{
    return Inner().GetMark();
}

uint32_t GuardedStream::GetLength()
{
    return guarding ? guardedLength : Inner().GetLength();
}

void GuardedStream::SetLength(uint32_t length)
{
    Inner().SetLength(length);
    if (guarding)
        guardedLength = Inner().GetLength();
}

} // namespace pw::foundation
