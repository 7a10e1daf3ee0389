#include "foundation/BitBucket.h"

#include "foundation/Exception.h"

#include <cstring>

PW_DEFINE_CLASS(BitBucket, nullptr, nullptr, Stream, SmartImplementation)
PW_DEFINE_COPY_SLOTS(BitBucket)

void BitBucket::Read(void* buffer, uint32_t length)
{
    if (length > 0)
        std::memset(buffer, 0, length);
}
