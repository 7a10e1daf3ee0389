#include "authoring/browser/CBrowser.h"

#include "engine/CJumpMovie.h"
#include "foundation/MessageException.h"
#include "foundation/ObjectFile.h"
#include "foundation/SystemErrorException.h"
#include "foundation/UserCancelException.h"
#include "ui/DocWindow.h"

#include "authoring/browser/BrowserFixture.h"
#include "platform/comdlg/ComdlgTesting.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

constexpr Rect kGrid { 0, 0, 290, 160 };

class Actions : public BrowserTest {
protected:
    SmartPtr<CBrowser> Browse(int32_t toolNumber)
    {
        tool = new CTool(toolNumber, nullptr, false, nullptr);
        SmartPtr<CBrowser> browser = new CBrowser(page.Get(), kGrid, Folder(), tool, kCell);
        browser->SetOwner(Tabs());
        return browser;
    }

    // The page's sprites of the name.
    std::vector<CSprite*> Named(const char* name)
    {
        std::vector<CSprite*> found;
        for (uint32_t i = 0; i < group->NumSprites(); ++i) {
            CSprite* sprite = group->GetSprite(int16_t(i));
            if (sprite->GetName().Valid() && *sprite->GetName().Get() == String(name))
                found.push_back(sprite);
        }
        return found;
    }

    CSprite* Named(const char* name, int16_t first, int16_t count)
    {
        CSprite* sprite = AddSprite(Rect(10, 10, 30, 30), first, count);
        sprite->SetName(new String(name));
        return sprite;
    }

    static std::string LinkedFile(CSprite& sprite)
    {
        CLink* link = sprite.LinkAtFrame(0);
        if (!link || !link->GetJumpMovie().Valid() || !link->GetJumpMovie()->GetFile().Valid())
            return "none";
        return link->GetJumpMovie()->GetFile()->Path();
    }

    SmartPtr<CTool> tool;
};

} // namespace

// A plain import leaves the page alone: the picture waits on the clipboard, nothing is selected,
// the tool becomes the child's next step and the tabs are told.
TEST_F(Actions, PlainImportWaitsOnTheClipboard)
{
    WritePage("pic.mvi", 7);
    CSprite* existing = AddSprite(Rect(0, 0, 10, 10), 0, kFrames);
    pane->SelectObject(existing, false);
    SmartPtr<CBrowser> browser = Browse(19);
    int scribes = pages->scribesAsked;
    EXPECT_TRUE(ClickEntry(*browser.Get(), 1));
    SmartList<CSprite> clipped = ClipboardSprites();
    ASSERT_EQ(clipped.NumItems(), 1u);
    EXPECT_EQ(*clipped.Item(1)->GetName().Get(), String("pic"));
    EXPECT_EQ(group->NumSprites(), 1u);
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
    EXPECT_TRUE(tool->IsSoundPending());
    EXPECT_EQ(tabs->commands, std::vector<int16_t>({ 0 }));
    EXPECT_EQ(pages->scribesAsked, scribes) << "an import opens no document of the application";

    WriteBytes("pic.mvi", "damaged");
    pages->GetClipboard()->Clear();
    tool->SetSoundPending(false);
    driver::ScriptMessageBoxes({ IDOK });
    EXPECT_FALSE(CBrowser::ImportFile(File("pic.mvi"), *pages.Get(), false, false));
    EXPECT_FALSE(pages->GetClipboard()->Contents().Valid());
    EXPECT_EQ(driver::AlertLog().size(), 1u) << "only the reader's own report";
    EXPECT_FALSE(tool->IsSoundPending());
}

// A new background replaces the old one from the current frame on, sits in the page's middle
// behind the pictures placed before it (the old one keeping the very back, for the frames before),
// and is the group's selected sprite, while the pane selects none.
TEST_F(Actions, BackgroundReplacesTheOldOneFromTheCurrentFrame)
{
    WritePage("sky.mvi", 9, false, Point(100, 50));
    CSprite* old = Named("__Background", 0, kFrames);
    old->ToggleFlag2(true);
    CSprite* picture = AddSprite(Rect(60, 40, 80, 60), 0, kFrames);
    pane->SelectFrames(4, 4);
    SmartPtr<CBrowser> browser = Browse(20);
    EXPECT_TRUE(ClickEntry(*browser.Get(), 1));
    for (int16_t f = 0; f < kFrames; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(At(old, f).IsEmpty(), f >= 4);
    }
    std::vector<CSprite*> backgrounds = Named("__Background");
    ASSERT_EQ(backgrounds.size(), 2u);
    CSprite* added = backgrounds[0] == old ? backgrounds[1] : backgrounds[0];
    EXPECT_EQ(added->StartFrame(), 4);
    EXPECT_EQ(added->NumFrames(), kFrames - 4);
    EXPECT_EQ(Text(At(added, 4)), "50,50,150,100") << "centred on the 200 x 150 page";
    EXPECT_TRUE(added->ToggleFlag2(false));
    EXPECT_EQ(group->GetSelectedSprite().Get(), added);
    ASSERT_EQ(group->NumSprites(), 3u);
    EXPECT_EQ(group->GetSprite(0), old);
    EXPECT_EQ(group->GetSprite(1), added);
    EXPECT_EQ(group->GetSprite(2), picture);
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
    EXPECT_EQ(tabs->commands, std::vector<int16_t>({ 0 }));
    EXPECT_FALSE(tool->IsSoundPending());
}

// A sound is heard once and lands in the top-right corner at the current frame, where an older
// sound object is cut; one that does not show there stays.
TEST_F(Actions, SoundGoesIntoTheTopRightCornerAtTheCurrentFrame)
{
    PutPicture(401 - 1000, "kk|kk");
    std::vector<uint8_t> wave = sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(400, 0x90));
    WriteBytes("ding.wav", std::string(wave.begin(), wave.end()));
    CSprite* older = Named("__Sound", 2, 4);
    CSprite* elsewhere = Named("__Sound", 6, 2);
    pane->SelectFrames(3, 3);
    pw::platform::winmm::testing::ClearSoundLog();
    EXPECT_TRUE(CBrowser::ImportFile(File("ding.wav"), *pages.Get(), false, true));
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(Path(older), "- - 10,10,30,30 - 10,10,30,30 10,10,30,30 - - - - ");
    EXPECT_EQ(Path(elsewhere), "- - - - - - 10,10,30,30 10,10,30,30 - - ");
    std::vector<CSprite*> sounds = Named("__Sound");
    ASSERT_EQ(sounds.size(), 3u);
    CSprite* added = sounds[2];
    EXPECT_EQ(added->StartFrame(), 3);
    Rect at = At(added, 3);
    EXPECT_EQ(at.right, 200 - 4) << Text(at);
    EXPECT_EQ(at.top, 4) << Text(at);
    EXPECT_NE(added->SoundAtFrame(3), nullptr);
}

// A link to a page carries the page's preview in a bevelled button; a page that gives no preview
// cannot be linked.
TEST_F(Actions, LinksCarryThePagePreview)
{
    WritePage("target.mvi", 8);
    WriteBytes("bad.mvi", "damaged");
    SmartPtr<CBrowser> browser = Browse(14);
    ASSERT_EQ(browser->NumEntries(), 3u);
    EXPECT_TRUE(ClickEntry(*browser.Get(), 3));
    SmartList<CSprite> clipped = ClipboardSprites();
    ASSERT_EQ(clipped.NumItems(), 1u);
    EXPECT_EQ(LinkedFile(*clipped.Item(1)), "c:\\plume\\Media\\target.mvi");
    EXPECT_EQ(Text(At(clipped.Item(1), 0).Size()), "63,48");
    EXPECT_TRUE(File("target.mvi")->GetPreview().Valid()) << "the built preview is kept";
    EXPECT_TRUE(tool->IsSoundPending());

    pages->GetClipboard()->Clear();
    driver::ScriptMessageBoxes({ IDOK });
    EXPECT_TRUE(ClickEntry(*browser.Get(), 2));
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, "Cannot Link to this File");
    EXPECT_EQ(ClipboardSprites().NumItems(), 0u);
}

// "New Page" asks for a file, writes an empty page into it and links to it with a blank button;
// a cancelled dialog makes nothing.
TEST_F(Actions, NewPageIsWrittenEmptyAndLinked)
{
    SmartPtr<CBrowser> browser = Browse(14);
    pw::platform::testing::ScriptFileDialogCancel();
    try {
        ClickEntry(*browser.Get(), 1);
        ADD_FAILURE() << "not cancelled";
    } catch (Exception* raised) {
        EXPECT_NE(dynamic_cast<UserCancelException*>(raised), nullptr);
        CurrentException() = SmartPtr<Exception>();
    }
    EXPECT_FALSE(std::filesystem::exists(HostFolder() / "fresh.mvi"));
    EXPECT_EQ(ClipboardSprites().NumItems(), 0u);
    EXPECT_TRUE(tabs->commands.empty());

    pw::platform::testing::ScriptFileDialog("c:\\plume\\Media\\fresh.mvi");
    EXPECT_TRUE(ClickEntry(*browser.Get(), 1));
    SmartList<CSprite> clipped = ClipboardSprites();
    ASSERT_EQ(clipped.NumItems(), 1u);
    EXPECT_EQ(LinkedFile(*clipped.Item(1)), "c:\\plume\\Media\\fresh.mvi");
    EXPECT_EQ(Text(At(clipped.Item(1), 0).Size()), "63,48");

    SmartPtr<Scribe> scribe = pages->OpenScribe(File("fresh.mvi"), 1);
    SmartPtr<CShow> written(SmartCast<CShow>(scribe->Read().Get()));
    ASSERT_TRUE(written.Valid());
    auto* movie = SmartCast<CMovieGroup>(written->GetMovie().Get());
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->NumSprites(), 0u);
    written->Close();
}

// Opening a page makes its window; the read-only tool's window keeps no file to save into.
TEST_F(Actions, PagesOpenInTheirWindows)
{
    WritePage("home.mvi", 7);
    struct Case {
        const char* name;
        int32_t tool;
        bool writable;
    } cases[] = { { "edit", 17, true }, { "look", 21, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t before = pages->NumWindows();
        SmartPtr<CBrowser> browser = Browse(c.tool);
        EXPECT_TRUE(ClickEntry(*browser.Get(), 1));
        ASSERT_EQ(pages->NumWindows(), before + 1);
        auto* window = dynamic_cast<DocWindow*>(pages->GetWindow(pages->NumWindows()).Get());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(SmartCast<CShow>(window->GetData()->Get()));
        EXPECT_EQ(window->GetScribe().Valid(), c.writable);
    }
}

// The hotlink of a page is its topmost sprite linked at frame 0; a page without one says so, a
// damaged page does nothing, and a page the system will not let the program read says why.
TEST_F(Actions, HotlinksAreCopiedFromPages)
{
    WritePage("a-hot.mvi", 7, true);
    WritePage("b-cold.mvi", 7, false);
    WriteBytes("c-bad.mvi", "damaged");
    std::filesystem::create_directories(HostFolder() / "d-refused.mvi");
    SmartPtr<CBrowser> browser = Browse(22);
    ASSERT_EQ(browser->NumEntries(), 4u);
    EXPECT_TRUE(ClickEntry(*browser.Get(), 1));
    SmartList<CSprite> clipped = ClipboardSprites();
    ASSERT_EQ(clipped.NumItems(), 1u);
    EXPECT_NE(clipped.Item(1)->LinkAtFrame(0), nullptr);
    EXPECT_TRUE(tool->IsSoundPending());

    try {
        ClickEntry(*browser.Get(), 2);
        ADD_FAILURE() << "no error";
    } catch (Exception* raised) {
        SmartPtr<Exception> hold(raised);
        auto* message = dynamic_cast<MessageException*>(raised);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->GetText().rfind("No hotlinks in that file.\r", 0), 0u) << message->GetText();
        CurrentException() = SmartPtr<Exception>();
    }
    EXPECT_EQ(ClipboardSprites().NumItems(), 1u);

    EXPECT_TRUE(ClickEntry(*browser.Get(), 3));
    EXPECT_TRUE(driver::AlertLog().empty());
    EXPECT_EQ(tabs->commands, std::vector<int16_t>({ 0, 0 }));

    try {
        ClickEntry(*browser.Get(), 4);
        ADD_FAILURE() << "no error";
    } catch (Exception* raised) {
        auto* refusal = dynamic_cast<SystemErrorException*>(raised);
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->GetErrorCode(), uint32_t(ERROR_ACCESS_DENIED));
        CurrentException() = SmartPtr<Exception>();
    }
    EXPECT_EQ(tabs->commands, std::vector<int16_t>({ 0, 0 })) << "the browser stays";
}
