#include "engine/legacy/LegacyValues.h"

#include "OldRecords.h"

#include <gtest/gtest.h>

using namespace legacy;

// The stored version of the object being read picks the form: below the version handed, the old
// 16-bit one. Each read takes exactly its form's bytes: a marker value follows every case.
TEST(LegacyValues, FormsFollowTheStoredVersion)
{
    struct Case {
        const char* name;
        Fixed stored;
        OldBytes bytes;
        Point point;
        Rect rect;
        Color color;
    };
    auto color = [](uint16_t r, uint16_t g, uint16_t b, uint16_t e) {
        Color made;
        made.SetComponents(r, g, b, e);
        return made;
    };
    Case points[] = {
        { "old point", Fixed(1), OldBytes().Short(-7).Short(9), Point(9, -7), {}, {} },
        { "old point, newer minor still old", Fixed(1, 9), OldBytes().Short(1).Short(2), Point(2, 1), {}, {} },
        { "current point", Fixed(2), OldBytes().Longs({ 0xFFFFFFFF, 70000 }), Point(-1, 70000), {}, {} },
        { "current point, newer", Fixed(3), OldBytes().Longs({ 5, 6 }), Point(5, 6), {}, {} },
    };
    for (const auto& c : points) {
        SCOPED_TRACE(c.name);
        Point read {};
        int32_t marker = 0;
        EXPECT_EQ(ReadHeld(OldBytes(c.bytes).Long(0xABCD), [&](ArchiveScope& scope) {
            read = LegacyReadPoint(scope, Fixed(2));
            marker = scope.GetStream().ReadLong();
        }, c.stored),
            "");
        EXPECT_EQ(read, c.point);
        EXPECT_EQ(marker, 0xABCD);
    }
    Case rects[] = {
        { "old rectangle: top, left, bottom, right", Fixed(1), OldBytes().Short(10).Short(20).Short(30).Short(40), {},
            Rect(20, 10, 40, 30), {} },
        { "current rectangle", Fixed(2), OldBytes().Longs({ 1, 2, 3, 4 }), {}, Rect(1, 2, 3, 4), {} },
    };
    for (const auto& c : rects) {
        SCOPED_TRACE(c.name);
        Rect read {};
        int32_t marker = 0;
        EXPECT_EQ(ReadHeld(OldBytes(c.bytes).Long(0xABCD), [&](ArchiveScope& scope) {
            read = LegacyReadRect(scope, Fixed(2));
            marker = scope.GetStream().ReadLong();
        }, c.stored),
            "");
        EXPECT_EQ(read, c.rect);
        EXPECT_EQ(marker, 0xABCD);
    }
    Case colors[] = {
        { "old colour", Fixed(1), OldBytes().Short(-1).Short(0).Short(int16_t(0x8000)), {}, {},
            color(0xFFFF, 0, 0x8000, 0) },
        { "current colour", Fixed(2), OldBytes().Short(1).Short(2).Short(3).Short(-1), {}, {}, color(1, 2, 3, 0xFFFF) },
    };
    for (const auto& c : colors) {
        SCOPED_TRACE(c.name);
        Color read;
        int32_t marker = 0;
        EXPECT_EQ(ReadHeld(OldBytes(c.bytes).Long(0xABCD), [&](ArchiveScope& scope) {
            read = LegacyReadColor(scope, Fixed(2));
            marker = scope.GetStream().ReadLong();
        }, c.stored),
            "");
        EXPECT_EQ(read.red, c.color.red);
        EXPECT_EQ(read.green, c.color.green);
        EXPECT_EQ(read.blue, c.color.blue);
        EXPECT_EQ(read.extra, c.color.extra);
        EXPECT_EQ(marker, 0xABCD);
    }
}
