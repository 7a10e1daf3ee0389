#include "platform/user/controls/ScrollBarGeometry.h"

#include <gtest/gtest.h>

#include <climits>

using pw::platform::user::ScrollBarGeometry;
using pw::platform::user::ScrollRange;

namespace {

using Part = ScrollBarGeometry::Part;

ScrollRange Range(int minPos, int maxPos, int pos)
{
    ScrollRange range;
    range.Set(minPos, maxPos);
    range.SetPos(pos);
    return range;
}

TEST(ScrollBarGeometry, PartsAlongTheBar)
{
    // 100 long, 16 thick: arrows [0,16) and [84,100), track [16,84), thumb 16 over 52 pixels.
    ScrollBarGeometry bar(100, 16, Range(0, 52, 26));
    ASSERT_TRUE(bar.HasThumb());
    EXPECT_EQ(42, bar.ThumbStart());
    struct {
        int along;
        Part part;
    } const cases[] = { { -1, Part::None }, { 0, Part::LineUp }, { 15, Part::LineUp }, { 16, Part::PageUp },
        { 41, Part::PageUp }, { 42, Part::Thumb }, { 57, Part::Thumb }, { 58, Part::PageDown },
        { 83, Part::PageDown }, { 84, Part::LineDown }, { 99, Part::LineDown }, { 100, Part::None } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.along);
        EXPECT_EQ(c.part, bar.HitTest(c.along));
    }
}

TEST(ScrollBarGeometry, ThumbRunsTheWholeTrackAndBack)
{
    struct {
        const char* name;
        int minPos, maxPos;
    } const ranges[] = { { "small", 0, 3 }, { "negative", -50, -10 }, { "wide", 0, 100000 },
        { "whole int", INT_MIN + 1, INT_MAX } };
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.name);
        ScrollBarGeometry bar(200, 16, Range(r.minPos, r.maxPos, r.minPos));
        EXPECT_EQ(bar.TrackStart(), bar.ThumbStartFor(r.minPos));
        EXPECT_EQ(bar.TrackEnd() - bar.ThumbSize(), bar.ThumbStartFor(r.maxPos));
        EXPECT_EQ(r.minPos, bar.PositionForThumb(bar.TrackStart() - 30));
        EXPECT_EQ(r.maxPos, bar.PositionForThumb(bar.TrackEnd()));
        // Every thumb place maps to a position that puts the thumb back there.
        for (int start = bar.TrackStart(); start <= bar.TrackEnd() - bar.ThumbSize(); ++start) {
            int pos = bar.PositionForThumb(start);
            ASSERT_GE(pos, r.minPos);
            ASSERT_LE(pos, r.maxPos);
            if (static_cast<long long>(r.maxPos) - r.minPos >= 200) {
                ASSERT_EQ(start, bar.ThumbStartFor(pos)) << "start " << start;
            }
        }
    }
}

} // namespace
