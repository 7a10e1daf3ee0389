#include "foundation/TimePeriod.h"

#include "foundation/ArchiveScope.h"

namespace {

using pw::foundation::WrapLong;

TimeData PeriodOf(int32_t count, uint32_t unit)
{
    switch (unit) {
    case TimePeriod::kHours:
        return TimeData(0, WrapLong(int64_t { count } * 3600));
    case TimePeriod::kMinutes:
        return TimeData(0, WrapLong(int64_t { count } * 60));
    case TimePeriod::kSeconds:
        return TimeData(0, count);
    case TimePeriod::kDays:
        return TimeData(0, WrapLong(int64_t { count } * 86400));
    case TimePeriod::kWeeks:
        return TimeData(0, WrapLong(int64_t { count } * 604800));
    case TimePeriod::kMonths:
        return TimeData(count, 0);
    case TimePeriod::kYears:
        return TimeData(WrapLong(int64_t { count } * 12), 0);
    default:
        return TimeData(0, 0);
    }
}

} // namespace

PW_DEFINE_CLASS(TimePeriod, nullptr, nullptr, TimeData)
PW_DEFINE_COPY_SLOTS(TimePeriod)

constinit const PersistentVersion TimePeriod::version { &TimePeriod::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<TimePeriod> };

TimePeriod::TimePeriod(int32_t count, TimeUnit unit)
    : TimeData(PeriodOf(count, static_cast<uint32_t>(unit)))
{
}

TimePeriod::TimePeriod(int32_t hours, int32_t minutes, int32_t seconds)
    : TimeData(0, WrapLong((int64_t { hours } * 60 + minutes) * 60 + seconds))
{
}

TimePeriod::TimePeriod(const TimeData& value)
    : TimeData(value.Months(), value.Seconds())
{
}

TimePeriod::TimePeriod(ArchiveScope& scope)
    : TimeData(0, 0)
{
    ArchiveScope fields(scope, TimeData::version);
    ReadFields(fields);
}

void TimePeriod::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    ArchiveScope fields(scope, TimeData::version);
    WriteFields(fields);
}
