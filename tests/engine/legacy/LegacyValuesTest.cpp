#include "engine/legacy/LegacyValues.h"

#include "OldRecords.h"

#include <gtest/gtest.h>

using namespace legacy;

// The stored version of the object being read picks the form: below the version handed (2.0), the
// old 16-bit one. Each read takes exactly its form's bytes: a marker value follows every case.
TEST(LegacyValues, FormsFollowTheStoredVersion)
{
    enum Kind { kPoint, kRect, kColor };
    struct Case {
        const char* name;
        Kind kind;
        Fixed stored;
        OldBytes bytes;
        std::vector<int64_t> expected;
    } cases[] = {
        { "old point: v, h", kPoint, Fixed(1), OldBytes().Short(-7).Short(9), { 9, -7 } },
        { "old point, newer minor", kPoint, Fixed(1, 9), OldBytes().Short(1).Short(2), { 2, 1 } },
        { "current point", kPoint, Fixed(2), OldBytes().Longs({ 0xFFFFFFFF, 70000 }), { -1, 70000 } },
        { "current point, newer", kPoint, Fixed(3), OldBytes().Longs({ 5, 6 }), { 5, 6 } },
        { "old rectangle: top, left, bottom, right", kRect, Fixed(1), OldBytes().Short(10).Short(20).Short(30).Short(40),
            { 20, 10, 40, 30 } },
        { "current rectangle", kRect, Fixed(2), OldBytes().Longs({ 1, 2, 3, 4 }), { 1, 2, 3, 4 } },
        { "old colour: three components", kColor, Fixed(1), OldBytes().Short(-1).Short(0).Short(int16_t(0x8000)),
            { 0xFFFF, 0, 0x8000, 0 } },
        { "current colour", kColor, Fixed(2), OldBytes().Short(1).Short(2).Short(3).Short(-1), { 1, 2, 3, 0xFFFF } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int64_t> read;
        int32_t marker = 0;
        EXPECT_EQ(ReadHeld(OldBytes(c.bytes).Long(0xABCD), [&](ArchiveScope& scope) {
            if (c.kind == kPoint) {
                Point point = LegacyReadPoint(scope, Fixed(2));
                read = { point.h, point.v };
            } else if (c.kind == kRect) {
                Rect rect = LegacyReadRect(scope, Fixed(2));
                read = { rect.left, rect.top, rect.right, rect.bottom };
            } else {
                Color color = LegacyReadColor(scope, Fixed(2));
                read = { color.red, color.green, color.blue, color.extra };
            }
            marker = scope.GetStream().ReadLong();
        }, c.stored),
            "");
        EXPECT_EQ(read, c.expected);
        EXPECT_EQ(marker, 0xABCD);
    }
}
