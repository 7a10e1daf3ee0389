#include "foundation/Utilities.h"

#include "platform/kernel/Clock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

std::string Counted(const unsigned char* text)
{
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

// Counted texts hold 255 characters at most: longer ones are cut and reported, appends that would
// not fit change nothing.
TEST(Utilities, CountedTextsStayWithin255Characters)
{
    unsigned char counted[256];
    EXPECT_FALSE(CToCounted(std::string(300, 'x').c_str(), counted));
    EXPECT_EQ(Counted(counted), std::string(255, 'x'));
    unsigned char a[256];
    unsigned char b[256];
    CToCounted(std::string(200, 'a').c_str(), a);
    CToCounted(std::string(56, 'b').c_str(), b);
    EXPECT_FALSE(AppendCounted(a, b));
    EXPECT_EQ(a[0], 200);
    CToCounted(std::string(55, 'b').c_str(), b);
    EXPECT_TRUE(AppendCounted(a, b));
    EXPECT_EQ(Counted(a), std::string(200, 'a') + std::string(55, 'b'));
    char plain[256];
    EXPECT_TRUE(CountedToC(b, plain));
    EXPECT_EQ(std::string(plain), std::string(55, 'b'));
}

TEST(Utilities, BoundedCopiesAlwaysTerminate)
{
    char buffer[8];
    CopyBounded("abcdefghijk", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abcdefg");
    ConcatBounded(buffer, "xyz", sizeof buffer);
    EXPECT_STREQ(buffer, "abcdefg");
    std::strcpy(buffer, "ab");
    ConcatBounded(buffer, "cdefghij", sizeof buffer);
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(FormatLong(1234567, buffer, 7));
    EXPECT_STREQ(buffer, "123456");
}

TEST(Utilities, NumbersFromTextAndRoundedAwayFromZero)
{
    int32_t number = 0;
    unsigned char counted[256];
    CToCounted("  -42x", counted);
    EXPECT_TRUE(CountedToLong(counted, &number));
    EXPECT_EQ(number, -42);
    CToLong("none", &number);
    EXPECT_EQ(number, 0);
    double value = 0;
    EXPECT_TRUE(ParseDouble("  3.25", &value));
    EXPECT_EQ(value, 3.25);
    EXPECT_FALSE(ParseDouble("x", &value));
    struct Case {
        double value;
        int32_t rounded;
    } cases[] = { { 2.5, 3 }, { -2.5, -3 }, { -0.4, 0 }, { 1e12, INT32_MAX }, { -1e12, INT32_MIN } };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToLong(c.value), c.rounded) << c.value;
}

TEST(Utilities, RandomStaysInItsRange)
{
    EXPECT_EQ(Random(7, 3), 7);
    std::set<int16_t> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(Random(0, 1));
    EXPECT_EQ(seen, (std::set<int16_t> { 0, 1 }));
}

TEST(Utilities, WaitsEndAcrossTheCounterWrap)
{
    pw::platform::Clock::UseVirtualTime(pw::platform::Clock::kDefaultVirtualStart, 0xFFFFFFF0u);
    uint32_t start = TickCount();
    Delay(40);
    EXPECT_GE(static_cast<int32_t>(TickCount() - start), 40);
    // A tick already passed returns at once, also when the counter wrapped since.
    uint32_t before = TickCount();
    WaitUntil(before - 100);
    EXPECT_LE(static_cast<int32_t>(TickCount() - before), 2);
}

} // namespace
