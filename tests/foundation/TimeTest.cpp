#include "foundation/String.h"
#include "foundation/Time.h"
#include "foundation/TimePeriod.h"

#include "ErrorCode.h"
#include "Failure.h"
#include "StoredBytes.h"

#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using pw::foundation::TextOf;

std::string Date(const Time& time)
{
    return TextOf(time.DateString());
}

Time After(Time time, const TimeData& period)
{
    time += period;
    return time;
}

TEST(Time, CalendarNormalisesWhenComparedOrShown)
{
    struct Case {
        const char* name;
        Time time;
        const char* date;
    };
    const std::vector<Case> cases = {
        { "30 February is 1 March", Time(2, 30, 1996), "3/1/1996" },
        { "29 February of a leap year", Time(2, 29, 1996), "2/29/1996" },
        { "29 February of a common year", Time(2, 29, 1997), "3/1/1997" },
        { "29 February of 1900", Time(2, 29, 1900), "3/1/1900" },
        { "29 February of 2000", Time(2, 29, 2000), "2/29/2000" },
        { "month 13", Time(13, 1, 1996), "1/1/1997" },
        { "day 0", Time(1, 0, 1996), "12/31/1995" },
        { "month 0", Time(0, 1, 1996), "12/1/1995" },
        { "no leading zeros", Time(12, 5, 1996), "12/5/1996" },
        { "year 0", Time(1, 1, 0), "1/1/0" },
        { "all zero", Time(0, 0, 0), "11/30/-1" },
        { "before the platform's calendar", Time(3, 1, 1600), "3/1/1600" },
        { "far future", Time(1, 1, 40000), "1/1/40000" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Date(c.time), c.date);
    }
    EXPECT_EQ(Time(2, 30, 1996).Compare(Time(3, 1, 1996)), 0);
    EXPECT_EQ(Time(2, 29, 1996).Compare(Time(3, 1, 1996)), -1);
    EXPECT_EQ(Time(13, 1, 1996).Compare(Time(1, 1, 1997)), 0);
    EXPECT_EQ(Time(1, 1, 1).Compare(Time(12, 31, 0)), 1);
}

TEST(Time, PeriodsOfMonthsAndDaysDifferAndSumsWrap)
{
    Time february(2, 1, 1996);
    EXPECT_EQ(Date(After(february, TimePeriod(1, TimePeriod::kMonths))), "3/1/1996");
    EXPECT_EQ(Date(After(february, TimePeriod(30, TimePeriod::kDays))), "3/2/1996");
    Time newYear(1, 1, 1996);
    newYear += TimePeriod(25, TimePeriod::kHours);
    EXPECT_EQ(TextOf(newYear.TimeString()), "01:00:00");
    EXPECT_EQ(Date(newYear), "1/2/1996");
    EXPECT_EQ(TextOf(TimePeriod(0, 0, -1).TimeString()), "23:59:59");
    EXPECT_EQ(TextOf(TimePeriod(0, 0, 86399 + 86400 * 3).TimeString()), "23:59:59");

    struct Case {
        TimeData value;
        int sign;
    } cases[] = { { TimeData(1, -5), 0 }, { TimeData(0, 0), 0 }, { TimeData(0, 5), 1 }, { TimeData(-1, 0), -1 } };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.Sign(), c.sign) << c.value.Months() << " months " << c.value.Seconds() << " s";
    EXPECT_EQ((TimeData(1, 10) + TimeData(2, 20) - TimeData(3, 40)).Seconds(), -10);
    TimeData big(INT32_MAX, INT32_MAX);
    big += TimeData(1, 1);
    EXPECT_EQ(big.Months(), INT32_MIN);
}

TEST(Time, MonthNamesAndParsedDates)
{
    EXPECT_EQ(Time::MonthFromName(String("Dec")), 12);
    EXPECT_EQ(Time::MonthFromName(String("December")), 12);
    EXPECT_EQ(Time::MonthFromName(String("dec")), 0);
    EXPECT_EQ(Time::MonthFromName(String("anF")), 1);
    EXPECT_EQ(Failure([] { Time::MonthFromName(String("De")); }), "from+num-1 <= oldLength");

    Time parsed = Time::ParseDate(String("Dec 5 1996"));
    EXPECT_EQ(parsed.Compare(Time(12, 5, 1996)), 0);
    EXPECT_EQ(TextOf(parsed.TimeString()), "00:00:00");
    EXPECT_EQ(Date(Time::ParseDate(String("Xyz 5 1996"))), "12/5/1995");
}

TEST(Time, SystemTimeRoundTrips)
{
    // Every day of four years (a leap cycle around 2000), at a time that moves through the day.
    Time start(1, 1, 1999);
    for (int32_t day = 0; day < 4 * 366; ++day) {
        Time time = After(start, TimePeriod(0, 0, day * 86400 + day * 59));
        SYSTEMTIME st {};
        time.ToSystemTime(st);
        FILETIME ft {};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        SYSTEMTIME platform {};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &platform));
        ASSERT_EQ(platform.wDayOfWeek, st.wDayOfWeek) << day;
        Time back(st);
        ASSERT_EQ(back.Compare(time), 0) << day;
        Time normalized = time.Normalized();
        ASSERT_EQ(normalized.Compare(time), 0) << day;
        ASSERT_GE(normalized.Seconds(), 0);
        ASSERT_LT(normalized.Seconds(), 31 * 86400);
        ASSERT_EQ(normalized.Months(), 12 * st.wYear + st.wMonth - 1);
    }
}

TEST(Time, YearsSystemTimeCannotHoldAreReported)
{
    SYSTEMTIME st {};
    EXPECT_EQ(ErrorCode([&] { Time(1, 1, -1).ToSystemTime(st); }), 87u);
    EXPECT_EQ(ErrorCode([&] { Time(1, 1, 65536).ToSystemTime(st); }), 87u);
    EXPECT_EQ(Failure([&] { Time(1, 1, 0).ToSystemTime(st); }), "");
    EXPECT_EQ(st.wYear, 0);
    EXPECT_EQ(st.wDayOfWeek, 6); // 1 January of year 0 (proleptic) was a Saturday
}

TEST(Time, CurrentTimeIsUniversalWithoutMilliseconds)
{
    // 2 March 2004 10:20:30.900 UTC in 100 ns units since 1601.
    SYSTEMTIME st { 2004, 3, 2, 2, 10, 20, 30, 900 };
    FILETIME ft {};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    pw::platform::testing::SetClock((uint64_t { ft.dwHighDateTime } << 32) | ft.dwLowDateTime);
    Time now;
    EXPECT_EQ(now.Compare(After(Time(3, 2, 2004), TimePeriod(10, 20, 30))), 0);
    unsigned char counted[256];
    CurrentDateText(counted);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(counted + 1), counted[0]), "3/2/2004");
    CurrentTimeText(counted);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(counted + 1), counted[0]), "10:20:30");
}

TEST(Time, StoredAsClassScopeAroundTimeDataScope)
{
    Time time(7, 4, 1999);
    TimePeriod period(90, TimePeriod::kMinutes);
    const StoredClasses classes = { &Time::version, &TimePeriod::version, &TimeData::version };
    std::vector<uint8_t> bytes = Store({ &time, &period }, classes);
    const std::vector<uint8_t> timeBytes = {
        1, 0, 0, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 0, 1, 0, 8, 0, 0, 0,
        0xBA, 0x5D, 0, 0, 0x80, 0xF4, 0x03, 0x00, // 12 x 1999 + 6 months, 3 days of seconds
    };
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + timeBytes.size()), timeBytes);

    std::vector<SmartPtr<Persistent>> read = Load(bytes, classes, 2);
    Time* timeBack = SmartCast<Time>(read[0].Get());
    TimePeriod* periodBack = SmartCast<TimePeriod>(read[1].Get());
    ASSERT_TRUE(timeBack && periodBack);
    EXPECT_EQ(timeBack->Compare(time), 0);
    EXPECT_EQ(periodBack->Seconds(), 5400);
}

// Each stored field set to the extremes: the time either reads and works (shown, converted,
// normalised) or the read gives the corrupt-file message; it never reads and fails later.
TEST(Time, StoredFieldsAreCheckedWhenRead)
{
    const StoredClasses classes = { &Time::version, &TimeData::version };
    Time time(7, 4, 1999);
    const std::vector<uint8_t> good = Store({ &time }, classes);
    const std::string corrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";
    struct Case {
        size_t field; // 20 months, 24 seconds
        uint32_t value;
        bool reads;
    } cases[] = {
        { 20, 0x7FFFFFFF, false }, { 20, 0xFFFFFFFF, false }, { 20, 0x80000000, false },
        { 24, 0x7FFFFFFF, true }, { 24, 0xFFFFFFFF, true }, { 24, 0x80000000, true },
        { 20, 12 * 65535 + 11, true }, { 20, 12 * 65536, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.field << " = " << c.value);
        std::vector<uint8_t> bytes = good;
        for (int index = 0; index < 4; ++index)
            bytes[c.field + index] = uint8_t(c.value >> (8 * index));
        SmartPtr<Persistent> read;
        std::string failure = Failure([&] { read = Load(bytes, classes).front(); });
        if (!c.reads) {
            EXPECT_EQ(failure, corrupt);
            continue;
        }
        ASSERT_EQ(failure, "");
        Time* back = SmartCast<Time>(read.Get());
        ASSERT_TRUE(back);
        SYSTEMTIME st {};
        EXPECT_EQ(Failure([&] { back->ToSystemTime(st); }), "");
        EXPECT_EQ(Failure([&] { back->Normalized(); }), "");
        EXPECT_EQ(Failure([&] { back->DateString(); }), "");
    }
}

} // namespace
