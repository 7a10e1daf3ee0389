#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "platform/kernel/Clock.h"

namespace {

FILETIME Split(uint64_t value)
{
    return FILETIME { static_cast<DWORD>(value), static_cast<DWORD>(value >> 32) };
}

uint64_t Join(const FILETIME& time)
{
    return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

TEST(TimeCalls, KnownDatesConvertBothWays)
{
    struct Case {
        SYSTEMTIME date;
        WORD dayOfWeek;
        uint64_t fileTime;
    } const cases[] = {
        { SYSTEMTIME { 1601, 1, 0, 1, 0, 0, 0, 0 }, 1, 0 },
        { SYSTEMTIME { 1970, 1, 0, 1, 0, 0, 0, 0 }, 4, 116'444'736'000'000'000ULL },
        { SYSTEMTIME { 2000, 2, 0, 29, 23, 59, 59, 999 }, 2, 125'963'423'999'990'000ULL },
        { SYSTEMTIME { 1996, 1, 0, 1, 0, 0, 0, 0 }, 1, pw::platform::Clock::kDefaultVirtualStart },
        { SYSTEMTIME { 30827, 12, 0, 31, 23, 59, 59, 999 }, 5, 0x7FFF'35F4'F06C'58F0ULL },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.wYear);
        FILETIME ft {};
        ASSERT_TRUE(SystemTimeToFileTime(&c.date, &ft));
        EXPECT_EQ(Join(ft), c.fileTime);
        SYSTEMTIME back {};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        SYSTEMTIME expected = c.date;
        expected.wDayOfWeek = c.dayOfWeek;
        EXPECT_EQ(std::memcmp(&back, &expected, sizeof back), 0);
    }
}

TEST(TimeCalls, RandomFileTimesRoundTripToTheMillisecond)
{
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        uint64_t value = random() >> 1;
        if (i % 4 == 0)
            value %= 200'000'000'000'000'000ULL; // dense around the program's own era
        FILETIME ft = Split(value);
        SYSTEMTIME st {};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        FILETIME back {};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &back) || st.wYear == 30828) << value;
        if (st.wYear < 30828) {
            ASSERT_EQ(Join(back), value - value % 10'000) << value;
        }
    }
}

TEST(TimeCalls, OutOfRangeFieldsFailWithInvalidParameter)
{
    struct Case {
        const char* name;
        SYSTEMTIME date;
    } const cases[] = {
        { "year 1600", SYSTEMTIME { 1600, 12, 0, 31, 0, 0, 0, 0 } },
        { "year 30828", SYSTEMTIME { 30828, 1, 0, 1, 0, 0, 0, 0 } },
        { "month 0", SYSTEMTIME { 2000, 0, 0, 1, 0, 0, 0, 0 } },
        { "month 13", SYSTEMTIME { 2000, 13, 0, 1, 0, 0, 0, 0 } },
        { "day 0", SYSTEMTIME { 2000, 1, 0, 0, 0, 0, 0, 0 } },
        { "Feb 29 of 1900", SYSTEMTIME { 1900, 2, 0, 29, 0, 0, 0, 0 } },
        { "Feb 30 of 2000", SYSTEMTIME { 2000, 2, 0, 30, 0, 0, 0, 0 } },
        { "Apr 31", SYSTEMTIME { 2001, 4, 0, 31, 0, 0, 0, 0 } },
        { "hour 24", SYSTEMTIME { 2001, 1, 0, 1, 24, 0, 0, 0 } },
        { "minute 60", SYSTEMTIME { 2001, 1, 0, 1, 0, 60, 0, 0 } },
        { "second 60", SYSTEMTIME { 2001, 1, 0, 1, 0, 0, 60, 0 } },
        { "ms 1000", SYSTEMTIME { 2001, 1, 0, 1, 0, 0, 0, 1000 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FILETIME ft { 1, 2 };
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&c.date, &ft));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    FILETIME top = Split(1ULL << 63);
    SYSTEMTIME st;
    SetLastError(0);
    EXPECT_FALSE(FileTimeToSystemTime(&top, &st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    FILETIME last = Split((1ULL << 63) - 1);
    ASSERT_TRUE(FileTimeToSystemTime(&last, &st));
    EXPECT_EQ(st.wYear, 30828);
}

TEST(TimeCalls, SystemTimeFollowsTheVirtualClock)
{
    pw::platform::Clock::Advance(86'400'000 + 1500);
    SYSTEMTIME st {};
    GetSystemTime(&st);
    SYSTEMTIME expected = SYSTEMTIME { 1996, 1, 0, 2, 0, 0, 1, 500 };
    expected.wDayOfWeek = 2;
    EXPECT_EQ(std::memcmp(&st, &expected, sizeof st), 0);
}

TEST(TimeCalls, LocalTimeIsTheVirtualClockInTheHostsZone)
{
    pw::platform::Clock::Advance(86'400'000 + 1500);
    const char* saved = std::getenv("TZ");
    std::string before = saved ? saved : "";
    struct Case {
        const char* zone;
        SYSTEMTIME expected;
    } cases[] = {
        { "UTC0", { 1996, 1, 2, 2, 0, 0, 1, 500 } },
        { "UTC-2", { 1996, 1, 2, 2, 2, 0, 1, 500 } },
        { "UTC+5", { 1996, 1, 1, 1, 19, 0, 1, 500 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        setenv("TZ", c.zone, 1);
        SYSTEMTIME st {};
        GetLocalTime(&st);
        EXPECT_EQ(std::memcmp(&st, &c.expected, sizeof st), 0)
            << st.wYear << "-" << st.wMonth << "-" << st.wDay << " " << st.wHour << ":" << st.wMinute;
    }
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
