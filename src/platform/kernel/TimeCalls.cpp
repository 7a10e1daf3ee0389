// Calendar time over the platform clock. Dates are proleptic Gregorian; FILETIME counts 100 ns
// units from 1601-01-01 00:00 UTC.
#include <windows.h>

#include <cstdint>
#include <ctime>

#include "platform/kernel/Clock.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"

using pw::platform::Fail;

namespace {

constexpr int64_t kUnitsPerMs = 10'000;
constexpr int64_t kMsPerDay = 86'400'000;

// Days from 1601-01-01 to the given date (valid dates only).
int64_t DaysFrom1601(int64_t year, int64_t month, int64_t day)
{
    // Counted in years starting in March, so the leap day ends the year.
    year -= month <= 2;
    int64_t era = year / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    constexpr int64_t kDaysTo1601 = 584'694; // 0000-03-01 to 1601-01-01
    return era * 146'097 + dayOfEra - kDaysTo1601;
}

void DateFromDays1601(int64_t days, SYSTEMTIME& st)
{
    int64_t z = days + 584'694;
    int64_t era = z / 146'097;
    int64_t dayOfEra = z - era * 146'097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    st.wYear = static_cast<WORD>(yearOfEra + era * 400 + (month <= 2));
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(dayOfYear - (153 * mp + 2) / 5 + 1);
    // 1601-01-01 was a Monday; Sunday is 0.
    st.wDayOfWeek = static_cast<WORD>((days + 1) % 7);
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

// Now in UTC, all eight fields; in tests it follows the virtual clock.
VOID WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    FILETIME now = pw::platform::SplitFileTime(pw::platform::Clock::UtcFileTime());
    FileTimeToSystemTime(&now, lpSystemTime);
}

// Now in the host's time zone (the TZ variable, else the system's), all eight fields; in tests it
// follows the virtual clock.
VOID WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    constexpr uint64_t kUnitsPerSecond = 10'000'000;
    constexpr uint64_t kUnixEpoch = 116'444'736'000'000'000; // 1970-01-01 as a FILETIME
    uint64_t utc = pw::platform::Clock::UtcFileTime();
    time_t seconds = static_cast<time_t>((utc - kUnixEpoch) / kUnitsPerSecond);
    tm local {};
    tzset();
    localtime_r(&seconds, &local);
    int64_t shifted = static_cast<int64_t>(utc) + static_cast<int64_t>(local.tm_gmtoff) * int64_t(kUnitsPerSecond);
    FILETIME now = pw::platform::SplitFileTime(static_cast<uint64_t>(shifted));
    FileTimeToSystemTime(&now, lpSystemTime);
}

// FALSE with 87 unless the year is 1601..30827 and every other field in range; wDayOfWeek ignored.
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (lpSystemTime == nullptr || lpFileTime == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const SYSTEMTIME& st = *lpSystemTime;
    if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1
        || st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour >= 24 || st.wMinute >= 60 || st.wSecond >= 60
        || st.wMilliseconds >= 1000)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    int64_t days = DaysFrom1601(st.wYear, st.wMonth, st.wDay);
    int64_t ms = days * kMsPerDay + ((st.wHour * 60 + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
    *lpFileTime = pw::platform::SplitFileTime(static_cast<uint64_t>(ms * kUnitsPerMs));
    return TRUE;
}

// Any value below 2^63 converts (up to year 30828), filling wDayOfWeek; sub-millisecond units
// are dropped. The top bit set fails with 87.
BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (lpFileTime == nullptr || lpSystemTime == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    uint64_t value = pw::platform::JoinFileTime(*lpFileTime);
    if (value >> 63)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    auto ms = static_cast<int64_t>(value) / kUnitsPerMs;
    int64_t msOfDay = ms % kMsPerDay;
    SYSTEMTIME& st = *lpSystemTime;
    DateFromDays1601(ms / kMsPerDay, st);
    st.wHour = static_cast<WORD>(msOfDay / 3'600'000);
    st.wMinute = static_cast<WORD>(msOfDay / 60'000 % 60);
    st.wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    st.wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    return TRUE;
}

// Milliseconds as an unsigned 32-bit count that wraps at 2^32; under test each read moves the
// virtual clock a step so busy-waits end.
DWORD WINAPI GetTickCount()
{
    return pw::platform::Clock::TickCount();
}
