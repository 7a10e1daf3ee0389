#include "foundation/Time.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/CorruptFile.h"
#include "foundation/String.h"
#include "foundation/TimePeriod.h"

#include <cstdio>

namespace {

using pw::foundation::DivideFloor;
using pw::foundation::WrapLong;

SYSTEMTIME CurrentSystemTime()
{
    SYSTEMTIME now {};
    GetSystemTime(&now);
    return now;
}

// Days from 1 January 1970 in the proleptic Gregorian calendar, for any 64-bit year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    int64_t era, yearOfEra;
    DivideFloor<int64_t>(year, 400, era, yearOfEra);
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Calendar {
    int64_t year;
    int64_t month;
    int64_t day;
    int64_t hour;
    int64_t minute;
    int64_t second;
    int64_t dayOfWeek;
};

// Seconds from 1 January 1970: the start of the month plus the seconds field, carried freely.
int64_t AbsoluteSeconds(const TimeData& time)
{
    int64_t year, monthIndex;
    DivideFloor<int64_t>(time.Months(), 12, year, monthIndex);
    return DaysFromCivil(year, monthIndex + 1, 1) * 86400 + time.Seconds();
}

Calendar CalendarOf(int64_t absolute)
{
    Calendar calendar {};
    int64_t days, secondOfDay;
    DivideFloor<int64_t>(absolute, 86400, days, secondOfDay);
    calendar.hour = secondOfDay / 3600;
    calendar.minute = secondOfDay / 60 % 60;
    calendar.second = secondOfDay % 60;
    int64_t unused;
    DivideFloor<int64_t>(days + 4, 7, unused, calendar.dayOfWeek);

    int64_t era, dayOfEra;
    DivideFloor<int64_t>(days + 719468, 146097, era, dayOfEra);
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    calendar.day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    calendar.month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    calendar.year = yearOfEra + era * 400 + (calendar.month <= 2);
    return calendar;
}

// Reports a value the calendar forms cannot hold as an invalid parameter.
void CheckRepresentable(bool representable)
{
    if (!representable)
        SetLastError(ERROR_INVALID_PARAMETER);
    CheckCall(representable, PW_HERE);
}

// The calendar year of a time that ToSystemTime and Normalized can both give.
bool Representable(const TimeData& time)
{
    int64_t year = CalendarOf(AbsoluteSeconds(time)).year;
    return year >= 0 && year <= 65535;
}

const String& MonthTable()
{
    static const String table("JanFebMarAprMayJunJulAugSepOctNovDec");
    return table;
}

} // namespace

PW_DEFINE_CLASS(Time, nullptr, nullptr, TimeData)
PW_DEFINE_COPY_SLOTS(Time)

constinit const PersistentVersion Time::version { &Time::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<Time> };

Time::Time()
    : Time(CurrentSystemTime())
{
}

Time::Time(int32_t month, int32_t day, int32_t year)
    : TimeData(WrapLong(int64_t { year } * 12 + month - 1), WrapLong((int64_t { day } - 1) * 86400))
{
}

Time::Time(const SYSTEMTIME& st)
    : Time(st.wMonth, st.wDay, st.wYear)
{
    *this += TimePeriod(st.wHour, st.wMinute, st.wSecond);
}

Time::Time(ArchiveScope& scope)
    : TimeData(0, 0)
{
    ArchiveScope fields(scope, TimeData::version);
    ReadFields(fields);
    // A stored time is held to what its uses accept, so a file that reads is one that works.
    if (!Representable(*this))
        pw::foundation::ThrowCorruptFile(PW_HERE);
}

void Time::ToSystemTime(SYSTEMTIME& out) const
{
    Calendar calendar = CalendarOf(AbsoluteSeconds(*this));
    CheckRepresentable(calendar.year >= 0 && calendar.year <= 65535);
    out.wYear = static_cast<WORD>(calendar.year);
    out.wMonth = static_cast<WORD>(calendar.month);
    out.wDayOfWeek = static_cast<WORD>(calendar.dayOfWeek);
    out.wDay = static_cast<WORD>(calendar.day);
    out.wHour = static_cast<WORD>(calendar.hour);
    out.wMinute = static_cast<WORD>(calendar.minute);
    out.wSecond = static_cast<WORD>(calendar.second);
    out.wMilliseconds = 0;
}

Time Time::Normalized() const
{
    Calendar calendar = CalendarOf(AbsoluteSeconds(*this));
    int64_t normalizedMonths = calendar.year * 12 + calendar.month - 1;
    CheckRepresentable(normalizedMonths >= INT32_MIN && normalizedMonths <= INT32_MAX);
    Time normalized(*this);
    normalized.months = static_cast<int32_t>(normalizedMonths);
    normalized.seconds = static_cast<int32_t>(
        (calendar.day - 1) * 86400 + calendar.hour * 3600 + calendar.minute * 60 + calendar.second);
    return normalized;
}

// Chronological order is the order of the absolute seconds, which is what comparing the normalised
// months and then seconds gives.
int Time::Compare(const Time& other) const
{
    int64_t a = AbsoluteSeconds(*this);
    int64_t b = AbsoluteSeconds(other);
    return a > b ? 1 : (a < b ? -1 : 0);
}

String Time::DateString() const
{
    Calendar calendar = CalendarOf(AbsoluteSeconds(*this));
    char text[48];
    std::snprintf(text, sizeof text, "%lld/%lld/%lld", static_cast<long long>(calendar.month),
        static_cast<long long>(calendar.day), static_cast<long long>(calendar.year));
    return String(text);
}

// The table is searched at every position, so three letters straddling two names give the month
// in which they start.
int32_t Time::MonthFromName(const String& name)
{
    String abbreviation(name, 1, 3);
    uint32_t position = MonthTable().Find(abbreviation, 1, String::kForward);
    return position == 0 ? 0 : static_cast<int32_t>((position - 1) / 3 + 1);
}

Time Time::ParseDate(const String& text)
{
    String words(text);
    String blank(" ");
    String monthName = words.ExtractWord(blank);
    String dayWord = words.ExtractWord(blank);
    String yearWord = words.ExtractWord(blank);
    int32_t day = 0;
    int32_t year = 0;
    dayWord.GetLong(day);
    yearWord.GetLong(year);
    return Time(MonthFromName(monthName), day, year);
}

void Time::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    ArchiveScope fields(scope, TimeData::version);
    WriteFields(fields);
}

void CurrentTimeText(unsigned char* buffer)
{
    Time().TimeString().GetCountedText(buffer);
}

void CurrentDateText(unsigned char* buffer)
{
    Time().DateString().GetCountedText(buffer);
}
