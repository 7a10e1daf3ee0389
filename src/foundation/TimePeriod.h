#pragma once

#include "foundation/TimeData.h"

// A duration in months and seconds. Counts of hours, minutes, seconds, days and weeks become
// seconds; months and years become months.
class TimePeriod : public TimeData {
    PW_CLASS_INFO(TimePeriod)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    enum TimeUnit : int32_t {
        kHours = 0,
        kMinutes = 1,
        kSeconds = 2,
        kDays = 3,
        kWeeks = 4,
        kMonths = 5,
        kYears = 6,
    };

    // Any unit outside the table gives the zero period.
    TimePeriod(int32_t count, TimeUnit unit);
    TimePeriod(int32_t hours, int32_t minutes, int32_t seconds);
    // The same two fields (a Time becomes the period of its months and seconds).
    explicit TimePeriod(const TimeData& value);
    TimePeriod(const TimePeriod&) = default;
    TimePeriod& operator=(const TimePeriod&) = default;
    // Reads a period stored in `scope`, a scope opened with TimePeriod's record.
    explicit TimePeriod(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
};
