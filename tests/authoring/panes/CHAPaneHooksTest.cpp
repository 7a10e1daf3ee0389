#include "authoring/panes/CHAPane.h"

#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "foundation/Clipboard.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"

#include "authoring/panes/PaneFixture.h"
#include "platform/winmm/WinmmTesting.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class Hooks : public PaneTest {
protected:
    // The page back to its ten frames, with the sprite stepping 10 pixels right in each.
    void Walk(CSprite* sprite)
    {
        if (group->NumFrames() > kFrames)
            group->DeleteFrames(kFrames, static_cast<int16_t>(group->NumFrames() - kFrames));
        else if (group->NumFrames() < kFrames)
            group->InsertFrames(group->NumFrames(), static_cast<int16_t>(kFrames - group->NumFrames()), true, false);
        sprite->SetNumFrames(kFrames);
        for (int16_t f = 0; f < kFrames; ++f) {
            Rect r(10 * f, 20, 10 * f + 10, 30);
            sprite->PlaceAtFrame(f, &r, nullptr);
        }
    }

    // The left edge of the sprite in each listed frame, "-" where it does not show.
    std::string Lefts(CSprite* sprite, std::vector<int16_t> frames)
    {
        std::string text;
        for (int16_t f : frames) {
            Rect r = At(sprite, f);
            text += (r.IsEmpty() ? std::string("-") : std::to_string(r.left)) + " ";
        }
        return text;
    }

    static SmartPtr<Sound> Beep(size_t bytes)
    {
        MemoryStream stream = sound_bytes::StreamOf(sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(bytes, 0x90)));
        return new Sound(stream, Sound::wave, false);
    }

    // The sample bytes of the sounds played since the log was cleared.
    static std::vector<size_t> Played()
    {
        std::vector<size_t> lengths;
        for (const auto& event : pw::platform::winmm::testing::SoundLog()) {
            if (event.kind == pw::platform::winmm::SoundEvent::Kind::Play)
                lengths.push_back(event.length);
        }
        return lengths;
    }
};

} // namespace

// Old frames keep their order and land where the length's ratio puts them; the rest of the page
// follows; the stretched run becomes the selection. Lengths that make no stretch change nothing.
TEST_F(Hooks, StretchMotionSpreadsTheRunOverItsNewLength)
{
    struct Case {
        const char* name;
        int16_t start, oldLength, newLength;
        int16_t frames;
        std::vector<int16_t> probe;
        const char* lefts;
        int16_t selFirst, selLast;
    } cases[] = {
        { "4 to 2 keeps old 1 and 3", 2, 4, 2, 8, { 0, 1, 2, 3, 4, 7 }, "0 10 30 50 60 90 ", 2, 3 },
        { "3 to 5 lands on 0, 2, 4", 2, 3, 5, 12, { 1, 2, 4, 6, 7, 11 }, "10 20 30 40 50 90 ", 2, 6 },
        { "1 to 4 adds 3 after it", 9, 1, 4, 13, { 8, 9 }, "80 90 ", 9, 12 },
        { "same length", 2, 3, 3, 10, { 2, 3, 4 }, "20 30 40 ", 0, 0 },
        { "to no frames", 2, 3, 0, 10, { 2, 3, 4 }, "20 30 40 ", 0, 0 },
        { "negative start", -1, 3, 5, 10, { 0, 1 }, "0 10 ", 0, 0 },
    };
    CSprite* sprite = AddSprite(Rect(0, 20, 10, 30), 0, kFrames);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Walk(sprite);
        pane->SelectFrames(0, 0);
        // The sprites' own smoothing of the new frames is not carried out yet, and says so.
        if (c.start >= 0 && c.newLength > c.oldLength)
            driver::ScriptMessageBoxes({ IDOK });
        pane->StretchMotion(c.start, c.oldLength, c.newLength);
        EXPECT_EQ(group->NumFrames(), c.frames);
        EXPECT_EQ(Lefts(sprite, c.probe), c.lefts);
        int16_t first = -1, last = -1;
        pane->GetStoredRun(first, last);
        EXPECT_EQ(first, c.selFirst);
        EXPECT_EQ(last, c.selLast);
    }
}

// A page dropped on the pane puts a sprite of its picture on the clipboard, for a paste to place,
// whose click goes to the page's file and back; without a picture nothing reaches the clipboard.
TEST_F(Hooks, ADroppedPageBecomesALinkedSprite)
{
    SmartPtr<FileReference> file = new FileReference("C:\\plume\\Projects\\zoo\\lion.mvi");
    SmartPtr<String> before = new String("kept");
    app->GetClipboard()->Put(before.Get());
    pane->AddLink(file, nullptr, app);
    EXPECT_EQ(app->GetClipboard()->Contents().Get(), before.Get()) << "no picture: nothing changes";

    SmartPtr<OffScreen> picture = new OffScreen(30, 20, 8, Color(4), true);
    pane->AddLink(file, SmartPtr<Image>(picture->GetBitMap().Get()), app);
    auto* list = SmartCast<ListData>(app->GetClipboard()->Contents().Get());
    ASSERT_TRUE(list && list->NumItems() == 1);
    CSprite* sprite = SmartCast<CSprite>(list->GetItem(1));
    ASSERT_NE(sprite, nullptr);
    Rect placed = At(sprite, 0);
    EXPECT_EQ(placed.Size().h, 30);
    EXPECT_EQ(placed.Size().v, 20);
    CLink* link = sprite->LinkAtFrame(0);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetKind(), 7);
    EXPECT_EQ(link->GetTarget(), 0);
    ASSERT_TRUE(link->GetJumpMovie().Valid());
    EXPECT_EQ(link->GetJumpMovie()->GetFile().Get(), file.Get());
}

// The first listed sprite speaks for a frame it shows in; otherwise the page's own sound and
// link do; a frame with none plays nothing.
TEST_F(Hooks, AFramesSoundAndLinkComeFromTheSpriteOrThePage)
{
    CSprite* sprite = AddSprite(Rect(0, 0, 10, 10), 0, 5);
    sprite->SetSound(3, 1, Beep(200).Get());
    group->SetSoundAtFrame(3, 1, Beep(100).Get());
    group->SetSoundAtFrame(6, 1, Beep(100).Get());
    SmartPtr<CLink> spriteLink = new CLink;
    SmartPtr<CLink> pageLink = new CLink;
    sprite->SetLink(3, 1, spriteLink.Get());
    group->SetLinkAtFrame(6, 1, pageLink.Get());
    SmartList<CSprite> none;
    SmartList<CSprite> listed;
    listed.Append(sprite);
    struct Case {
        const char* name;
        int16_t frame;
        const SmartList<CSprite>* sprites;
        std::vector<size_t> played;
        bool spriteLinked, pageLinked;
    } cases[] = {
        { "listed sprite shows", 3, &listed, { 200 }, true, false },
        { "no sprite listed", 3, &none, { 100 }, false, false },
        { "listed sprite not in the frame", 6, &listed, { 100 }, false, true },
        { "no sound anywhere", 8, &listed, {}, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::platform::winmm::testing::ClearSoundLog();
        CHAPane::PlayFrameSound(show, c.frame, *c.sprites);
        EXPECT_EQ(Played(), c.played);
        SmartPtr<CLink> link = CHAPane::FrameLink(show, c.frame, *c.sprites);
        EXPECT_EQ(link.Get() != nullptr && link.Get() == sprite->LinkAtFrame(c.frame), c.spriteLinked);
        EXPECT_EQ(link.Get() != nullptr && link.Get() == group->LinkAtFrame(c.frame), c.pageLinked);
    }
    Sound::StopSound();
}

// A press of the scroll tool leaves its task with the window without running it: nothing moves,
// undo redraws and moves nothing (its offset is zero), and redo is not carried out.
TEST_F(Hooks, TheScrollToolsTaskIsTheWindowsUndoStep)
{
    CSprite* sprite = AddSprite(Rect(40, 40, 60, 60), 0, kFrames);
    std::string before = Path(sprite);
    UseTool(8);
    size_t alerts = driver::AlertLog().size();
    driver::ScriptMessageBoxes({ IDOK });
    Press(50, 50);
    Release(50, 50);
    EXPECT_EQ(driver::AlertLog().size(), alerts + 1);
    ASSERT_TRUE(page->HasUndoTask());
    EXPECT_EQ(Path(sprite), before);
    page->Undo();
    EXPECT_EQ(Path(sprite), before);
    driver::ScriptMessageBoxes({ IDOK });
    page->Undo();
    EXPECT_EQ(driver::AlertLog().size(), alerts + 2) << "redo warns";
    EXPECT_EQ(Path(sprite), before);
}
