#include "foundation/GuardedStream.h"

#include "foundation/MemoryStream.h"

#include "Failure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using pw::foundation::GuardedStream;

// A memory stream that counts how often its length is asked: for a disk file each ask is a call
// to the system.
class CountingStream : public MemoryStream {
public:
    uint32_t GetLength() override
    {
        ++asked;
        return MemoryStream::GetLength();
    }

    int asked { 0 };
};

// Guarding takes the length once: a thousand reads over a file ask nothing more, and the bounds
// still hold at every edge.
TEST(GuardedStream, GuardsByTheLengthTakenOnce)
{
    SmartPtr<CountingStream> inner = new CountingStream;
    char bytes[1000];
    std::memset(bytes, 'x', sizeof bytes);
    inner->Write(bytes, sizeof bytes);
    inner->Seek(0, Stream::kFromStart);
    GuardedStream guard;
    pw::foundation::Pin(guard);
    guard.SetStream(inner.Get());
    guard.SetGuarding(true);
    inner->asked = 0;
    for (int i = 0; i < 1000; ++i)
        guard.ReadByte();
    EXPECT_EQ(inner->asked, 0);

    struct Case {
        const char* name;
        int32_t seek;
        uint32_t read;
        bool refused;
    } cases[] = {
        { "the last byte", 999, 1, false },
        { "one past the end", 999, 2, true },
        { "nothing at the end", 1000, 0, false },
        { "a seek past the end", 1001, 0, true },
        { "a seek before the start", -1, 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string failure = Failure([&] {
            guard.Seek(c.seek, Stream::kFromStart);
            guard.Read(bytes, c.read);
        });
        EXPECT_EQ(!failure.empty(), c.refused) << failure;
    }

    // Its own writes move the end it guards.
    guard.Seek(0, Stream::kFromEnd);
    guard.Write("end", 3);
    guard.Seek(-3, Stream::kFromMark);
    char back[3] = {};
    guard.Read(back, 3);
    EXPECT_EQ(std::memcmp(back, "end", 3), 0);
    EXPECT_EQ(guard.GetLength(), 1003u);
}

} // namespace
