#include "authoring/panes/CHAPane.h"

#include "authoring/panes/ImportExport.h"
#include "engine/CLink.h"
#include "engine/ShowFileType.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/Picture.h"
#include "graphics/Sound.h"
#include "ui/ClipTask.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class PaneClipboard : public PaneTest {
protected:
    // The sprite's movie frames as "first..last", or "-" when it is gone.
    std::string Span(const char* name)
    {
        SmartPtr<CSprite> sprite = group->FindSpriteByName(String(name));
        if (!sprite.Valid())
            return "-";
        return std::to_string(sprite->StartFrame()) + ".." + std::to_string(sprite->StartFrame() + sprite->NumFrames() - 1);
    }

    // Puts a copy of the sprite on the application's clipboard through the Copy command, then
    // drops the original so that a paste cannot merge into it.
    void CopyAndDrop(CSprite* sprite)
    {
        pane->SetSelection(sprite);
        app->RunViewTask(ClipTask::kCopy);
        pane->SetSelection(nullptr);
        sprite->HideFrames(0, kFrames);
        group->RemoveEmptySprites();
    }

    // Back to an empty page of ten frames with frame 0 selected.
    void Empty()
    {
        pane->SetSelection(nullptr);
        for (uint32_t index = 0; index < group->NumSprites(); ++index)
            group->GetSprite(static_cast<int16_t>(index))->HideFrames(0, group->NumFrames());
        group->RemoveEmptySprites();
        if (group->NumFrames() > kFrames)
            group->RemoveFrames(kFrames, static_cast<int16_t>(group->NumFrames() - kFrames));
        pane->SetSelectionMode(0);
        pane->SelectFrames(0, 0);
    }
};

} // namespace

// Where a paste lands: it starts at the first selected frame; a sprite longer than the rest of
// the movie adds frames at the end, a shorter one is stretched to the movie's end when it fits.
TEST_F(PaneClipboard, PasteFrameArithmetic)
{
    struct Case {
        const char* name;
        int16_t spriteFrames, current;
        int32_t mode;
        int16_t runLast;
        int movieFrames;
        const char* span;
    };
    const Case cases[] = {
        { "3 frames at frame 8 of 10 insert one frame", 3, 8, 0, 8, 11, "8..10" },
        { "3 frames at frame 2, one frame selected, reach the end", 3, 2, 0, 2, 10, "2..9" },
        { "10 frames at frame 0 fit exactly", 10, 0, 0, 0, 10, "0..9" },
        { "5 frames at frame 7 insert two frames", 5, 7, 0, 7, 12, "7..11" },
        { "a run 3..5 starts the paste at 3", 2, 3, 1, 5, 10, "3..9" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CopyAndDrop(AddSprite(Rect(10, 10, 40, 30), 0, c.spriteFrames));
        pane->SetSelectionMode(c.mode);
        pane->SelectFrames(c.current, c.runLast);
        app->RunViewTask(ClipTask::kPaste);
        EXPECT_EQ(group->NumFrames(), c.movieFrames);
        EXPECT_EQ(Span("0"), c.span);
        // The pasted sprite is selected, and the run is the current frame.
        ASSERT_EQ(pane->GetSelectedSprites().NumItems(), 1u);
        EXPECT_EQ(pane->GetSelectedSprites().Item(1), group->FindSpriteByName(String("0")).Get());
        int16_t first = 0;
        int16_t last = 0;
        pane->GetStoredRun(first, last);
        EXPECT_EQ(first, c.current);
        EXPECT_EQ(last, c.current);
        Empty();
    }
}

// A paste at a point puts the first sprite's reference point (at its start frame) on the point;
// the others move by the same offset. A paste of anything but a sprite list is centred.
TEST_F(PaneClipboard, PasteAtAPointMovesEverySpriteByTheLeadOffset)
{
    CSprite* a = AddSprite(Rect(10, 10, 30, 30), 0, 2);
    CSprite* b = AddSprite(Rect(50, 40, 60, 60), 0, 2, 9);
    pane->SetSelection(a);
    pane->SelectObject(b, true);
    app->RunViewTask(ClipTask::kCopy);
    pane->SetSelection(nullptr);
    for (CSprite* s : { a, b })
        s->HideFrames(0, kFrames);
    group->RemoveEmptySprites();

    ImportObject(app->GetClipboard(), pane.Get(), 120, 100);
    ASSERT_EQ(group->NumSprites(), 2u);
    EXPECT_EQ(Text(At(group->FindSpriteByName(String("0")).Get(), 0)), "110,90,130,110");
    EXPECT_EQ(Text(At(group->FindSpriteByName(String("1")).Get(), 0)), "150,120,160,140");
    EXPECT_EQ(pane->GetSelectedSprites().NumItems(), 2u);
}

// Clearing hides the selected sprites from the first selected frame to their end; a sprite that
// then shows nowhere leaves the group. Copy and clear need a selection, paste does not.
TEST_F(PaneClipboard, ClearEmptiesFromTheFirstSelectedFrameAndDropsWhatShowsNowhere)
{
    CSprite* late = AddSprite(Rect(10, 10, 30, 30), 4, 6);
    AddSprite(Rect(50, 50, 70, 70), 6, 4);
    EXPECT_FALSE(pane->CanClip(ClipTask::kCopy));
    EXPECT_FALSE(pane->CanClip(ClipTask::kClear));
    EXPECT_TRUE(pane->CanClip(ClipTask::kPaste));
    SmartPtr<Smart> copied;
    pane->Copy(copied);
    ASSERT_NE(SmartCast<ListData>(copied.Get()), nullptr);
    EXPECT_EQ(SmartCast<ListData>(copied.Get())->NumItems(), 0u);

    pane->SetSelectionMode(1);
    pane->SelectFrames(6, 9);
    pane->SetSelection(late);
    pane->SelectObject(group->FindSpriteByName(String("1")), true);
    EXPECT_TRUE(pane->CanClip(ClipTask::kClear));
    app->RunViewTask(ClipTask::kClear);
    EXPECT_EQ(Span("0"), "4..5");
    EXPECT_EQ(Span("1"), "-");
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
}

// A paste never runs past the page's last possible frame: a 20,000-frame sprite pasted at frame
// 19,999 of a 20,000-frame page grows the page to its most frames and is cut where it ends, and
// the saved page reads back.
TEST_F(PaneClipboard, APasteStopsAtThePagesLastPossibleFrame)
{
    group->InsertFrames(kFrames, 20000 - kFrames, true, true);
    CSprite* sprite = AddSprite(Rect(10, 10, 40, 30), 0, 1);
    sprite->SetNumFrames(20000);
    pane->SetSelection(sprite);
    app->RunViewTask(ClipTask::kCopy);
    pane->SetSelection(nullptr);
    sprite->HideFrames(0, 20000);
    group->RemoveEmptySprites();
    pane->SelectFrames(19999, 19999);
    app->RunViewTask(ClipTask::kPaste);
    EXPECT_EQ(group->NumFrames(), CMovie::kMaxFrames);
    EXPECT_EQ(Span("0"), "19999..32766");

    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(show.Get()));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<Smart> read = SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
    auto* again = SmartCast<CShow>(read.Get());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetMovie()->NumFrames(), CMovie::kMaxFrames);
    again->Close();
}

// The class a copy would make: with tool 10 or 11 the selected sprites' sound or link in the run
// (none without one), else a sprite list with sprites selected and a movie without; every answer
// first warns that the operation is unfinished.
TEST_F(PaneClipboard, ClipClassNamesWhatACopyWouldMake)
{
    CSprite* sounding = AddSprite(Rect(10, 10, 30, 30), 0, kFrames);
    CSprite* linked = AddSprite(Rect(50, 50, 70, 70), 0, kFrames);
    SmartPtr<Sound> sound = new Sound;
    SmartPtr<CLink> link = new CLink;
    sounding->SetSound(5, 1, sound.Get());
    linked->SetLink(5, 1, link.Get());
    struct Case {
        const char* name;
        int32_t tool;
        CSprite* selected;
        int16_t frame;
        const ClassInfo* answer;
    };
    const Case cases[] = {
        { "a sound in the run", 10, sounding, 5, &Sound::classInfo },
        { "no sound in the run", 10, sounding, 4, nullptr },
        { "a link in the run", 11, linked, 5, &CLink::classInfo },
        { "the sound tool finds no link", 10, linked, 5, nullptr },
        { "sprites", 3, linked, 0, &CSprite::classInfo },
        { "frames", 3, nullptr, 0, &CMovie::classInfo },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseTool(c.tool);
        pane->SetSelection(c.selected);
        pane->SelectFrames(c.frame, c.frame);
        size_t alerts = driver::AlertLog().size();
        driver::ScriptMessageBoxes({ IDOK });
        EXPECT_EQ(pane->ClipClass(), c.answer);
        ASSERT_EQ(driver::AlertLog().size(), alerts + 1);
        EXPECT_NE(driver::AlertLog().back().text.find("Not implemented."), std::string::npos);
    }
}
