#include "engine/CDelta.h"
#include "engine/CMemory.h"
#include "engine/CMovie.h"
#include "engine/CStamp.h"
#include "engine/WrapModulo.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"
#include "graphics/OffScreen.h"
#include "graphics/PortFixture.h"
#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

namespace {

using engine::PaintedMovie;
using ports::Art;

class MovieDrawing : public bitmaps::WithStandardPalette {
protected:
    void TearDown() override
    {
        pw::platform::testing::SetAvailableVirtualMemory(std::nullopt);
        CMemory::Get().SetPurgeLevel(0);
    }

    // The movie's frame drawn onto a white buffer of that size.
    static std::string Drawn(CMovie& movie, const SmartPtr<CXform>& xform, int16_t frame, int32_t width,
        int32_t height, bool* answer = nullptr)
    {
        OffScreen buffer(width, height, 8, Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            bool drawn = movie.Draw(port, xform, frame, Color(1), 0);
            if (answer)
                *answer = drawn;
        }
        return Art(buffer);
    }

    static SmartPtr<CStamp> Stamp(CMovie& movie, const SmartPtr<CXform>& xform, int16_t frame)
    {
        OffScreen buffer(1, 1, 8, Color(0), true);
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        return movie.GetStamp(port, xform, frame, Color(1), 0, true);
    }

    // A movie with no mode bit set: its requests count as plain.
    static SmartPtr<PaintedMovie> PlainMovie(const Rect& bounds)
    {
        SmartPtr<PaintedMovie> movie = new PaintedMovie(bounds, { Color(7), Color(9) });
        movie->ToggleModeBit0(true);
        return movie;
    }
};

TEST_F(MovieDrawing, FramesRenderOnceAndMovedDrawingsReuseTheStamp)
{
    SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(0, 0, 2, 2), { Color(7), Color(9) });
    EXPECT_EQ(Drawn(*movie.Get(), nullptr, 0, 3, 3), "rr.|rr.|...");
    EXPECT_EQ(Drawn(*movie.Get(), nullptr, 0, 3, 3), "rr.|rr.|...");
    EXPECT_EQ(movie->draws, 1);
    EXPECT_EQ(Drawn(*movie.Get(), new CXform(Rect(0, 0, 2, 2), Rect(1, 1, 3, 3)), 0, 3, 3), "...|.rr|.rr");
    EXPECT_EQ(movie->draws, 1) << "a pure move draws the cached stamp";
    EXPECT_EQ(Drawn(*movie.Get(), nullptr, 1, 3, 3), "bb.|bb.|...");
    EXPECT_EQ(movie->draws, 2);
    movie->Changed(movie.Get(), Rect(0, 0, 0, 0), 0);
    Drawn(*movie.Get(), nullptr, 0, 3, 3);
    Drawn(*movie.Get(), nullptr, 1, 3, 3);
    EXPECT_EQ(movie->draws, 3) << "a change empties only that frame's stamps";
    movie->Purge(0);
    Drawn(*movie.Get(), nullptr, 1, 3, 3);
    EXPECT_EQ(movie->draws, 4);
}

// A frame away from the origin renders into its stamp at the stamp's origin and lands back in place.
TEST_F(MovieDrawing, StampsOfFramesAwayFromTheOriginLandInPlace)
{
    SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(1, 1, 3, 2), { Color(9) });
    EXPECT_EQ(Drawn(*movie.Get(), nullptr, 0, 3, 3), "...|.bb|...");
    EXPECT_EQ(Drawn(*movie.Get(), new CXform(Rect(0, 0, 1, 1), Rect(0, 0, 1, 2)), 0, 3, 5), "...|...|.bb|.bb|...");
    EXPECT_EQ(movie->draws, 1);
}

TEST_F(MovieDrawing, HiddenEmptyAndAreaLessDrawingsDrawNothing)
{
    struct Case {
        const char* name;
        Rect bounds;
        SmartPtr<CXform> xform;
    } cases[] = {
        { "hidden transform", Rect(0, 0, 2, 2), kHiddenXform },
        { "transform without area", Rect(0, 0, 2, 2), new CXform(Rect(0, 0, 2, 2), Rect(1, 1, 1, 3)) },
        { "empty frame", Rect(1, 1, 1, 1), nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<PaintedMovie> movie = new PaintedMovie(c.bounds);
        bool answer = false;
        EXPECT_EQ(Drawn(*movie.Get(), c.xform, 0, 2, 2, &answer), "..|..");
        EXPECT_TRUE(answer);
        EXPECT_EQ(movie->draws, 0);
        EXPECT_FALSE(Stamp(*movie.Get(), c.xform, 0).Valid());
    }
}

TEST_F(MovieDrawing, ScaledDrawingsDeriveFromTheUnscaledStamp)
{
    SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(0, 0, 2, 1), { Color(9) });
    SmartPtr<CXform> twice = new CXform(Rect(0, 0, 2, 1), Rect(0, 0, 4, 2));
    EXPECT_EQ(Drawn(*movie.Get(), twice, 0, 5, 3), "bbbb.|bbbb.|.....");
    EXPECT_EQ(movie->GetFrameStamps(0)->NumItems(), 2u) << "the unscaled stamp and the one derived from it";
    EXPECT_EQ(Drawn(*movie.Get(), new CXform(Rect(0, 0, 2, 1), Rect(1, 1, 5, 3)), 0, 5, 3), ".....|.bbbb|.bbbb");
    EXPECT_EQ(movie->draws, 1);
    EXPECT_EQ(movie->GetFrameStamps(0)->NumItems(), 2u);
}

TEST_F(MovieDrawing, TinyScaledStampsAreReusedBySameRotation)
{
    SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(0, 0, 20, 20));
    SmartPtr<CStamp> small = Stamp(*movie.Get(), new CXform(Rect(0, 0, 20, 20), Rect(0, 0, 6, 5)), 0);
    ASSERT_TRUE(small.Valid());
    EXPECT_EQ(small->GetBounds(), Rect(0, 0, 6, 5));
    EXPECT_EQ(Stamp(*movie.Get(), new CXform(Rect(0, 0, 20, 20), Rect(3, 3, 10, 10)), 0), small);
    EXPECT_NE(Stamp(*movie.Get(), new CXform(Rect(0, 0, 20, 20), Rect(0, 0, 12, 7)), 0), small);
    EXPECT_NE(Stamp(*movie.Get(), new CXform(Rect(0, 0, 20, 20), Rect(0, 0, 7, 7), 90), 0), small);
}

// An unturned stamp must not stand in for a turned drawing of the same size.
TEST_F(MovieDrawing, TurnedRequestsDoNotTakeTheUnturnedStamp)
{
    SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(0, 0, 4, 4));
    SmartPtr<CStamp> plain = Stamp(*movie.Get(), nullptr, 0);
    SmartPtr<CStamp> turned = Stamp(*movie.Get(), new CXform(Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), 90), 0);
    ASSERT_TRUE(turned.Valid());
    EXPECT_NE(turned, plain);
    EXPECT_EQ(movie->draws, 2);
}

TEST_F(MovieDrawing, PurgeLevelsGateNewStampsAndAreAlwaysPutBack)
{
    const uint32_t plenty = CMemory::LimitFor(0) * 4;
    const uint32_t scarce = CMemory::LimitFor(CMemory::kMaxLevel) / 2;
    struct Case {
        const char* name;
        int16_t level;
        bool plain;
        uint32_t freeBytes;
        bool stampMade;
    } cases[] = {
        { "plenty of memory at level 0", 0, true, plenty, true },
        { "plenty of memory at level 3", 3, true, plenty, true },
        { "over budget at level 0, plain", 0, true, scarce, true },
        { "over budget at level 0, special", 0, false, scarce, true },
        { "over budget at level 1", 1, true, scarce, false },
        { "over budget at level 2, special", 2, false, scarce, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<PaintedMovie> movie = c.plain ? PlainMovie(Rect(0, 0, 2, 2)) : new PaintedMovie(Rect(0, 0, 2, 2));
        CMemory::Get().SetPurgeLevel(c.level);
        pw::platform::testing::SetAvailableVirtualMemory(c.freeBytes);
        EXPECT_EQ(Stamp(*movie.Get(), nullptr, 0).Valid(), c.stampMade);
        EXPECT_EQ(CMemory::Get().GetPurgeLevel(), c.level);
        EXPECT_EQ(Drawn(*movie.Get(), nullptr, 0, 3, 3), "rr.|rr.|...") << "drawn directly without a stamp";
        pw::platform::testing::SetAvailableVirtualMemory(std::nullopt);
    }
    EXPECT_FALSE(CMemory::Get().SetPurgeLevel(4));
    EXPECT_FALSE(CMemory::Get().SetPurgeLevel(-1));
}

TEST_F(MovieDrawing, BudgetReserveGoesOnPurgeAndComesBackWhenMemoryAllows)
{
    CMemory& budget = CMemory::Get();
    budget.RestoreReserve();
    budget.PurgeAll(0);
    EXPECT_FALSE(budget.HasReserve());
    pw::platform::testing::SetAvailableVirtualMemory(CMemory::LimitFor(CMemory::kMaxLevel));
    EXPECT_FALSE(budget.RestoreReserve());
    pw::platform::testing::SetAvailableVirtualMemory(std::nullopt);
    EXPECT_TRUE(budget.RestoreReserve());
    EXPECT_TRUE(budget.HasReserve());
}

TEST_F(MovieDrawing, DeltasRecordWhatChangesBetweenTwoDrawings)
{
    SmartPtr<PaintedMovie> movie = PlainMovie(Rect(0, 0, 4, 4));
    SmartPtr<CXform> moved = new CXform(Rect(0, 0, 4, 4), Rect(2, 0, 6, 4));
    const Rect page(0, 0, 100, 100);
    struct Case {
        const char* name;
        int16_t oldFrame;
        int16_t newFrame;
        SmartPtr<CXform> newXform;
        Rect keptOnScreen;
        Rect vacated;
        Rect redrawn;
    } cases[] = {
        { "same frame in place: all of it stays", 0, 2, nullptr, Rect(0, 0, 4, 4), Rect(0, 0, 0, 0), Rect(0, 0, 4, 4) },
        { "another frame: the old drawing goes", 0, 1, nullptr, Rect(0, 0, 0, 0), Rect(0, 0, 4, 4), Rect(0, 0, 4, 4) },
        { "moved: the old drawing goes", 0, 0, moved, Rect(0, 0, 0, 0), Rect(0, 0, 4, 4), Rect(2, 0, 6, 4) },
        { "hidden now: nothing to draw", 0, 0, kHiddenXform, Rect(0, 0, 0, 0), Rect(0, 0, 4, 4), Rect(0, 0, 0, 0) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDelta::ResetShared();
        CDelta delta;
        Rect oldRect = page;
        // Frame 2 wraps onto frame 0 of a two-frame movie.
        EXPECT_TRUE(movie->MakeDelta(c.oldFrame, WrapModulo(c.newFrame, 2), nullptr, c.newXform, oldRect, page, delta));
        EXPECT_EQ(oldRect, c.keptOnScreen);
        EXPECT_EQ(CDelta::VacatedArea().ComputeBounds(), c.vacated);
        Rect redrawn = delta.Imprints().empty() ? Rect(0, 0, 0, 0) : delta.Imprints()[0].area->ComputeBounds();
        EXPECT_EQ(redrawn, c.redrawn);
        EXPECT_EQ(CDelta::CoveredArea().ComputeBounds(), c.redrawn) << "an opaque drawing covers what lies below";
    }
    EXPECT_EQ(WrapModulo(-1, 5), 4);
    EXPECT_EQ(WrapModulo(7, 0), 0);
}

// Covered parts are not recorded again below, and a stored delta reads back.
TEST_F(MovieDrawing, CoveredAreasAreLeftOutAndDeltasRoundTrip)
{
    SmartPtr<PaintedMovie> top = PlainMovie(Rect(0, 0, 4, 4));
    SmartPtr<PaintedMovie> below = PlainMovie(Rect(2, 0, 6, 4));
    CDelta::ResetShared();
    SmartPtr<CDelta> delta = new CDelta;
    Rect oldTop(0, 0, 0, 0);
    Rect oldBelow(0, 0, 0, 0);
    ASSERT_TRUE(top->MakeDelta(0, 0, nullptr, nullptr, oldTop, Rect(0, 0, 10, 10), *delta.Get()));
    ASSERT_TRUE(below->MakeDelta(0, 0, nullptr, nullptr, oldBelow, Rect(0, 0, 10, 10), *delta.Get()));
    ASSERT_EQ(delta->Imprints().size(), 2u);
    EXPECT_EQ(delta->Imprints()[1].area->ComputeBounds(), Rect(4, 0, 6, 4));
    EXPECT_EQ(delta->Imprints()[1].modes, 0);

    SmartPtr<Smart> read = engine::Load(engine::Store(delta.Get()));
    auto* back = SmartCast<CDelta>(read.Get());
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->Imprints().size(), 2u);
    EXPECT_EQ(back->Imprints()[1].rect, Rect(2, 0, 6, 4));
    EXPECT_EQ(back->Imprints()[1].area->ComputeBounds(), Rect(4, 0, 6, 4));
    EXPECT_TRUE(SmartCast<CMovie>(back->Imprints()[0].movie.Get()) != nullptr);
}

} // namespace
