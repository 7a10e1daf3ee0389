#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

#include <cstdint>

class ArchiveScope;
class String;

// The one stored form of points and spans of time: a whole number of months and a number of
// seconds, never kept normalised (seconds may exceed a month or be negative), so that one month
// and thirty days stay different things. Time reads it as a calendar point, TimePeriod as a
// duration. Sums wrap at 32 bits rather than overflow.
class TimeData : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(TimeData)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    TimeData(int32_t months, int32_t seconds);
    TimeData(const TimeData&) = default;
    TimeData& operator=(const TimeData&) = default;
    // Reads the two fields stored in `scope`, a scope opened with TimeData's record.
    explicit TimeData(ArchiveScope& scope);

    TimeData& operator+=(const TimeData& other);
    TimeData& operator-=(const TimeData& other);
    TimeData operator+(const TimeData& other) const;
    TimeData operator-(const TimeData& other) const;

    // +1 when a field is positive and none negative, -1 the other way round, 0 otherwise.
    int Sign() const;
    // "hh:mm:ss" of the time of day in the seconds field (negative seconds count back from midnight).
    String TimeString() const;

    int32_t Months() const { return months; }
    int32_t Seconds() const { return seconds; }

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

protected:
    // The two fields inside a scope opened with TimeData's record.
    void WriteFields(ArchiveScope& scope) const;
    void ReadFields(ArchiveScope& scope);

    int32_t months;
    int32_t seconds;
};

namespace pw::foundation {

// The low 32 bits of a sum or product: the stored fields wrap rather than overflow.
inline int32_t WrapLong(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// n = quotient * d + remainder with the remainder in 0 .. d - 1 for a positive d.
template <typename T>
void DivideFloor(T n, T d, T& quotient, T& remainder)
{
    quotient = n / d;
    remainder = n % d;
    if (remainder < 0) {
        quotient -= 1;
        remainder += d;
    }
}

} // namespace pw::foundation
