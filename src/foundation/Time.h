#pragma once

#include "foundation/TimeData.h"

#include <windows.h>

#include <cstdint>

// A calendar point: months counted from year 0 (12 x year + month - 1) and seconds from the start
// of that month. A time is normalised through the calendar (proleptic Gregorian, carried in 64
// bits, so every year a 32-bit month count can name works, year 0 included) only when it is
// compared or shown as a date: 30 February 1996 equals 1 March 1996. Current times are universal.
class Time : public TimeData {
    PW_CLASS_INFO(Time)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // Now (GetSystemTime), without milliseconds.
    Time();
    // No checks: day 0 is the last day of the month before, month 13 January of the next year.
    Time(int32_t month, int32_t day, int32_t year);
    explicit Time(const SYSTEMTIME& st);
    Time(const Time&) = default;
    Time& operator=(const Time&) = default;
    // Reads a time stored in `scope`, a scope opened with Time's record.
    explicit Time(ArchiveScope& scope);

    // The calendar form; throws "Call failed." (error 87) for a year outside 0 .. 65535, which
    // SYSTEMTIME cannot hold.
    void ToSystemTime(SYSTEMTIME& out) const;
    // The same point with its seconds within the month.
    Time Normalized() const;
    // +1, 0 or -1 in chronological order.
    int Compare(const Time& other) const;
    bool operator==(const Time& other) const { return Compare(other) == 0; }
    bool operator<(const Time& other) const { return Compare(other) == -1; }
    // "month/day/year" without leading zeros.
    String DateString() const;

    // 1 .. 12 from the first three characters of a month name ("Dec"), 0 when unknown; the name
    // must have three characters.
    static int32_t MonthFromName(const String& name);
    // A time from "month-name day year" (words separated by blanks), at midnight.
    static Time ParseDate(const String& text);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
};

// The current time as a counted text (a length byte and the characters, 256 bytes): "hh:mm:ss"
// and "month/day/year".
void CurrentTimeText(unsigned char* buffer);
void CurrentDateText(unsigned char* buffer);
