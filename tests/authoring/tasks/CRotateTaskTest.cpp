#include "authoring/tasks/CRotateTask.h"

#include "authoring/panes/FrameRangeSelector.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/ShowFileType.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/OffScreen.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"
#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using authoring::AuthoringTest;

std::string At(Point p)
{
    return std::to_string(p.h) + "," + std::to_string(p.v);
}

TEST(CRotateTask, PointerAnglesAroundTheCentre)
{
    Point o(100, 100);
    struct Case {
        Point p;
        int16_t angle;
    } cases[] = {
        { Point(150, 100), 0 },
        { Point(100, 50), 90 },
        { Point(50, 100), 180 },
        { Point(100, 150), -90 },
        { Point(100, 100), 0 },
        { Point(150, 50), 45 },
        { Point(50, 150), -135 },
        { Point(50, 99), 179 },
        { Point(150, 113), -14 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(At(c.p));
        EXPECT_EQ(CRotateTask::PointerAngle(c.p, o), c.angle);
    }
}

TEST(CRotateTask, PointsTurnCounterClockwiseOnTheScreen)
{
    Point o(10, 10);
    struct Case {
        Point q;
        int degrees;
        const char* expected;
    } cases[] = {
        { Point(20, 10), 90, "10,0" },
        { Point(20, 10), 180, "0,10" },
        { Point(20, 10), -90, "10,20" },
        { Point(20, 10), 0, "20,10" },
        { Point(17, 10), 45, "14,6" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_EQ(At(CRotateTask::RotatePoint(c.q, o, c.degrees)), c.expected);
    }
}

// The accumulated angle moves the short way round across +-180, and the snap puts the sprite's
// resulting rotation on multiples of 45 degrees.
TEST(CRotateTask, AnglesAdvanceSmoothlyAndSnapToFortyFive)
{
    struct Case {
        const char* name;
        int16_t angle;
        int16_t pointer;
        int16_t start;
        int16_t frameRotation;
        bool snap;
        int16_t expected;
    } cases[] = {
        { "across 180, forward", 170, -170, 0, 0, false, 190 },
        { "across 180, back", -170, 170, 0, 0, false, -190 },
        { "once round already", 350, -10, 0, 0, false, 350 },
        { "plain step", 10, 30, 0, 0, false, 30 },
        { "snap up", 0, 30, 0, 0, true, 45 },
        { "snap down", 0, 20, 0, 0, true, 0 },
        { "snap negative", 0, -30, 0, 0, true, -45 },
        { "snap against the sprite's rotation", 0, 30, 10, 10, true, 45 },
        { "snap from a turned sprite", 0, 30, 0, 20, true, 25 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CRotateTask::Advance(c.angle, c.pointer, c.start, c.frameRotation, c.snap), c.expected);
    }
}

class Rotation : public AuthoringTest {
protected:
    // A page with one 20 x 10 picture sprite on frames 0 to 2, placed at (40, 40).
    void SetUp() override
    {
        AuthoringTest::SetUp();
        MakePage();
    }

    void MakePage()
    {
        group = new CMovieGroup(Rect(0, 0, 200, 200));
        group->InsertFrames(1, 2, true, true);
        SmartPtr<OffScreen> cel = new OffScreen(20, 10, 8, Color(0), true);
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(cel->GetBitMap().Get()), true);
        int16_t index = group->AddMovieAsSprite(0, 3, new CMoviePic(resource, true));
        sprite = group->GetSprite(index);
        for (int16_t f = 0; f < 3; ++f) {
            Rect place(40, 40, 60, 50);
            sprite->PlaceAtFrame(f, &place, nullptr);
        }
        window = new Window(new String("page"), 0, false, false, Point(200, 200));
    }

    std::string Rotations()
    {
        std::string text;
        for (int16_t f = 0; f < 3; ++f) {
            int16_t a = 0;
            sprite->RotationAtFrame(f, a);
            text += std::to_string(a) + " ";
        }
        return text;
    }

    // The sprite as a page file stores it: every stored field, its path's transforms and which
    // of them are shared.
    std::vector<uint8_t> Stored()
    {
        SmartPtr<MemoryStream> stream = new MemoryStream;
        SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(sprite.Get()));
        std::vector<uint8_t> bytes(stream->GetLength());
        stream->Seek(0, Stream::kFromStart);
        stream->Read(bytes.data(), uint32_t(bytes.size()));
        return bytes;
    }

    SmartPtr<CMovieGroup> group;
    SmartPtr<CSprite> sprite;
    SmartPtr<Window> window;
};

// A pane that selects frames, as the editing pane does.
class SelectingPane : public View, public pw::authoring::FrameRangeSelector {
public:
    explicit SelectingPane(View* parent)
        : View(parent, Rect(0, 0, 200, 200), kSizeStretch, true, false)
    {
    }
    void SetFrameRange(int16_t first, int16_t last) override
    {
        selected += std::to_string(first) + ".." + std::to_string(last) + " ";
    }
    std::string selected;
};

// A press right of the middle, a drag to straight above: a quarter turn on every frame of the
// run; undo turns it back, redo forward again.
TEST_F(Rotation, ADragTurnsTheRunAndUndoAndRedoTurnItBack)
{
    SmartPtr<CRotateTask> task = new CRotateTask(window.Get(), group.Get(), sprite, 1, 0, 2);
    Point press(80, 45);
    task->Begin(press, BitFlags());
    EXPECT_EQ(At(task->GetCentre()), "50,45") << "turned about the middle";
    EXPECT_EQ(task->GetStartAngle(), 0);
    Point up(50, 0);
    task->Track(up, press, press, BitFlags());
    task->End(up, up, press, BitFlags());
    EXPECT_EQ(task->GetAngle(), 90);
    EXPECT_EQ(Rotations(), "90 90 90 ");
    task->Undo();
    EXPECT_EQ(Rotations(), "0 0 0 ");
    task->Redo();
    EXPECT_EQ(Rotations(), "90 90 90 ");
}

// Undo puts the sprite back field for field as it stood before the press, redo as the drag left
// it, however the drag placed it: re-centred or about its own point, at its size or scaled, over
// frames it showed in or ones the drag made it show in. Redo selects the shown frame.
TEST_F(Rotation, UndoAndRedoPutTheSpriteBackExactly)
{
    struct Case {
        const char* name;
        BitFlags modifiers;
        Rect place; // frame 1's placement
        int16_t first;
        int16_t last;
        Point drag;
    } cases[] = {
        { "re-centred", BitFlags(), Rect(40, 40, 60, 50), 0, 2, Point(50, 0) },
        { "about its own point", BitFlags(1 << CRotateTask::kKeepCentreBit), Rect(40, 40, 60, 50), 1, 1, Point(10, 80) },
        { "scaled to an odd size", BitFlags(), Rect(33, 41, 70, 58), 0, 2, Point(90, 20) },
        { "over frames it did not show in", BitFlags(), Rect(40, 40, 60, 50), 0, 4, Point(20, 10) },
        { "past the page's end", BitFlags(), Rect(40, 40, 60, 50), 1, 6, Point(20, 90) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakePage();
        group->InsertFrames(3, 2, true, true);
        // A reference point off the middle, which re-centring moves.
        Point reference(c.place.left + 3, c.place.top + 2);
        sprite->PlaceAtFrame(1, &c.place, &reference);
        SmartPtr<SelectingPane> pane = new SelectingPane(window.Get());
        window->AddChild(pane.Get());
        std::vector<uint8_t> start = Stored();
        int16_t frames = group->NumFrames();

        SmartPtr<CRotateTask> task = new CRotateTask(pane.Get(), group.Get(), sprite, 1, c.first, c.last);
        Point press(c.place.right + 30, (c.place.top + c.place.bottom) / 2);
        task->Begin(press, c.modifiers);
        Point to = c.drag;
        task->Track(to, press, press, c.modifiers);
        task->End(to, to, press, c.modifiers);
        std::vector<uint8_t> dragged = Stored();
        ASSERT_NE(dragged, start) << "the drag turned the sprite";

        task->Undo();
        EXPECT_EQ(Stored(), start);
        EXPECT_EQ(group->NumFrames(), frames);
        EXPECT_EQ(pane->selected, "");
        task->Redo();
        EXPECT_EQ(Stored(), dragged);
        EXPECT_EQ(group->NumFrames(), std::max<int16_t>(frames, int16_t(c.last + 1)));
        EXPECT_EQ(pane->selected, "1..1 ");
        task->Undo();
        EXPECT_EQ(Stored(), start) << "a second undo";
        window->RemoveAllChildren();
    }
}

// With the snap held the sprite's rotation goes in steps of 45 degrees; a drag from 170 to -170
// degrees advances by 20, not by -340.
TEST_F(Rotation, SnapsAndCrossesTheOppositeSide)
{
    SmartPtr<CRotateTask> task = new CRotateTask(window.Get(), group.Get(), sprite, 0, 0, 0);
    Point press(60, 45);
    task->Begin(press, BitFlags());
    Point near(80, 35); // about 18 degrees
    task->Track(near, press, press, BitFlags(1));
    EXPECT_EQ(task->GetAngle(), 0) << "under 22 degrees snaps back";
    Point more(70, 25); // 45 degrees
    task->Track(more, near, press, BitFlags(1));
    EXPECT_EQ(task->GetAngle(), 45);

    SmartPtr<CRotateTask> turn = new CRotateTask(window.Get(), group.Get(), sprite, 2, 2, 2);
    Point at170(-50, 27); // 100 left of the middle (50, 45), 18 above it
    turn->Begin(at170, BitFlags());
    EXPECT_EQ(turn->GetAngle(), 170);
    Point atMinus170(-50, 63);
    turn->Track(atMinus170, at170, at170, BitFlags());
    EXPECT_EQ(turn->GetAngle(), 190);
    int16_t rotation = 0;
    sprite->RotationAtFrame(2, rotation);
    EXPECT_EQ(rotation, 20);
}

class PaneRotation : public authoring::PaneTest { };

// Tool 7 in the editing pane: while the drag goes on the turned outline is drawn over the page
// and goes at the release; the turn is the window's undo step.
TEST_F(PaneRotation, TheOutlineFollowsTheDragAndTheTurnIsUndoable)
{
    CSprite* turned = AddSprite(Rect(60, 60, 100, 80), 0, kFrames);
    UseTool(7);
    HWND hwnd = page->GetFrame()->GetOSWindow();
    // Black pixels across the middle of the sprite, where no handle lies.
    auto blacks = [&] {
        std::string rows = ShownRow(hwnd, 69, 60, 100) + ShownRow(hwnd, 70, 60, 100);
        return std::count(rows.begin(), rows.end(), 'k');
    };
    Press(95, 70);
    Move(80, 30);
    EXPECT_GE(blacks(), 12) << "the line from the centre and the outline's sides";
    Release(80, 30);
    EXPECT_EQ(blacks(), 0);
    int16_t angle = 0;
    turned->RotationAtFrame(0, angle);
    EXPECT_EQ(angle, 90);
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    turned->RotationAtFrame(0, angle);
    EXPECT_EQ(angle, 0);
}

} // namespace
