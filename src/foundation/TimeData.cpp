#include "foundation/TimeData.h"

#include "foundation/Archive.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"
#include "foundation/String.h"
#include "foundation/TimePeriod.h"

#include <cstdio>

using pw::foundation::WrapLong;

PW_DEFINE_CLASS(TimeData, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(TimeData)

constinit const PersistentVersion TimeData::version { &TimeData::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<TimeData> };

TimeData::TimeData(int32_t months, int32_t seconds)
    : months(months)
    , seconds(seconds)
{
}

TimeData::TimeData(ArchiveScope& scope)
    : months(0)
    , seconds(0)
{
    ReadFields(scope);
}

TimeData& TimeData::operator+=(const TimeData& other)
{
    months = WrapLong(static_cast<int64_t>(months) + other.months);
    seconds = WrapLong(static_cast<int64_t>(seconds) + other.seconds);
    return *this;
}

TimeData& TimeData::operator-=(const TimeData& other)
{
    months = WrapLong(static_cast<int64_t>(months) - other.months);
    seconds = WrapLong(static_cast<int64_t>(seconds) - other.seconds);
    return *this;
}

TimeData TimeData::operator+(const TimeData& other) const
{
    TimeData sum(*this);
    sum += TimePeriod(other);
    return sum;
}

TimeData TimeData::operator-(const TimeData& other) const
{
    TimeData difference(*this);
    difference -= TimePeriod(other);
    return difference;
}

int TimeData::Sign() const
{
    bool positive = months > 0 || seconds > 0;
    bool negative = months < 0 || seconds < 0;
    if (positive && !negative)
        return 1;
    if (negative && !positive)
        return -1;
    return 0;
}

String TimeData::TimeString() const
{
    int32_t minutes, second, hours, minute, days, hour;
    pw::foundation::DivideFloor<int32_t>(seconds, 60, minutes, second);
    pw::foundation::DivideFloor<int32_t>(minutes, 60, hours, minute);
    pw::foundation::DivideFloor<int32_t>(hours, 24, days, hour);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    return String(text);
}

void TimeData::WriteFields(ArchiveScope& scope) const
{
    scope.GetStream().WriteLong(months).WriteLong(seconds);
}

void TimeData::ReadFields(ArchiveScope& scope)
{
    Archive& archive = scope.GetArchive();
    months = archive.ReadLong();
    seconds = archive.ReadLong();
}

void TimeData::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    WriteFields(scope);
}
