#include "authoring/panes/ImportExport.h"

#include "authoring/panes/ApplicationHooks.h"
#include "engine/CMoviePic.h"
#include "engine/CPanePlay.h"
#include "engine/CSprite.h"
#include "foundation/ListData.h"
#include "foundation/SimpleReference.h"
#include "ui/DocWindow.h"
#include "ui/Window.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using authoring::AuthoringTest;
namespace driver = authoring::driver;

// A pane that records what the clipboard task hands it.
class Recorder : public View {
public:
    explicit Recorder(View* parent)
        : View(parent, Rect(0, 0, 50, 50), kSizeStretch, true, false)
    {
    }
    void Paste(const SmartPtr<Smart>& object, int32_t value, int32_t h, int32_t v) override
    {
        log += "paste " + std::to_string(value) + " at " + std::to_string(h) + "," + std::to_string(v)
            + (object.Valid() ? "" : " nothing") + "; ";
    }
    void Clear() override { log += "clear; "; }
    std::string log;
};

std::string Text(const String& text)
{
    char buffer[256] {};
    text.GetCString(buffer, sizeof buffer);
    return buffer;
}

class Import : public AuthoringTest {
protected:
    static bool Have(const char* command) { return std::system(command) == 0; }

    // The one sprite of the list on the application clipboard, or null.
    CSprite* Imported()
    {
        auto* list = SmartCast<ListData>(app->GetClipboard()->Contents().Get());
        if (!list || list->NumItems() != 1)
            return nullptr;
        return SmartCast<CSprite>(list->GetItem(1));
    }
};

// Sounds become named sound sprites and pictures one-sprite movies of their size, whoever wrote
// the file; a file that is no media leaves the clipboard as it was.
TEST_F(Import, MediaFilesEnterTheClipboardAsOneNamedSprite)
{
    // The engine's built-in picture 1 (file 401), which a sound sprite shows.
    PutPicture(401 - 1000, "kk|kk");
    PutFile("ours.wav", sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(400, 0x90)));
    PutFile("junk.bmp", { 'B', 'M', 1, 2, 3 });
    bool sox = Have("sox --version > /dev/null 2>&1");
    bool magick = Have("convert -version > /dev/null 2>&1");
    std::string folder = DataFolder().string();
    if (sox) {
        ASSERT_TRUE(Have(("sox -n -r 8000 -b 16 '" + folder + "/sox.wav' synth 0.1 sine 440").c_str()));
        ASSERT_TRUE(Have(("sox -n -r 22050 -b 16 -c 2 '" + folder + "/sox.aif' synth 0.1 sine 300").c_str()));
    }
    if (magick) {
        ASSERT_TRUE(Have(("convert -size 12x7 xc:red -type TrueColor 'BMP3:" + folder + "/magick.bmp'").c_str()));
    }

    struct Case {
        const char* file;
        bool available;
        const char* name; // null: named after the file
        const char* expectedName;
        int pictureWidth; // 0: a sound sprite
    } cases[] = {
        { "ours.wav", true, nullptr, "ours", 0 },
        { "sox.wav", sox, "Hello", "Hello", 0 },
        { "sox.aif", sox, nullptr, "sox", 0 },
        { "magick.bmp", magick, nullptr, "magick", 12 },
        { "magick.bmp", magick, "Red", "Red", 12 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.available)
            continue;
        app->GetClipboard()->Put(new String("before"));
        SmartPtr<FileReference> file = new FileReference((std::string("C:\\plume\\Data\\") + c.file).c_str());
        ASSERT_TRUE(ImportToClipboard(*app, file, c.name ? new String(c.name) : nullptr));
        CSprite* sprite = Imported();
        ASSERT_NE(sprite, nullptr) << "a list of one sprite";
        EXPECT_EQ(Text(*sprite->GetName().Get()), c.expectedName);
        if (c.pictureWidth == 0) {
            EXPECT_NE(sprite->SoundAtFrame(0), nullptr) << "the sound is the sprite's";
        } else {
            auto* movie = SmartCast<CMoviePic>(sprite->GetMovie().Get());
            ASSERT_NE(movie, nullptr);
            Rect bounds(0, 0, 0, 0);
            movie->GetBounds(bounds);
            EXPECT_EQ(bounds.right - bounds.left, c.pictureWidth);
        }
    }
    // A file that gives nothing that can enter a page is refused quietly.
    PutFile("words.txt", { 'h', 'i' });
    app->GetClipboard()->Put(new String("before"));
    EXPECT_FALSE(ImportToClipboard(*app, new FileReference("C:\\plume\\Data\\words.txt"), nullptr));
    EXPECT_NE(SmartCast<String>(app->GetClipboard()->Contents().Get()), nullptr) << "the clipboard is kept";
}

// The import command shows why a file could not be read, as opening it would, and leaves the
// clipboard as it was; a good file still comes in.
TEST_F(Import, TheCommandShowsWhyAFileCouldNotBeRead)
{
    const std::string corrupt = "This file is corrupt or in an obsolete format.";
    sound_bytes::Bytes wave = sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(400, 0x90));
    PutFile("good.wav", wave);
    PutFile("cut.wav", sound_bytes::Bytes(wave.begin(), wave.begin() + 100));
    PutPicture(1, "rk|kr");
    // The engine's built-in picture 1 (file 401), which a sound sprite shows.
    PutPicture(401 - 1000, "kk|kk");
    std::ifstream picture(DataFolder() / "1001.bmp", std::ios::binary);
    sound_bytes::Bytes lying((std::istreambuf_iterator<char>(picture)), std::istreambuf_iterator<char>());
    lying[22] = 0x10; // 4,112 rows high, over the 2 there are
    lying[23] = 0x10;
    PutFile("lying.bmp", lying);
    PutFile("junk.bmp", { 'B', 'M', 1, 2, 3 });
    SmartPtr<CShow> show = new CShow(new CMovieGroup(Rect(0, 0, 40, 40)));
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(40, 40));
    SmartPtr<CPanePlay> pane = new CPanePlay(window.Get(), show->GetPlayer());
    window->AddChild(pane.Get());

    struct Case {
        const char* file;
        std::string message; // empty: imported
    } cases[] = {
        { "cut.wav", corrupt },
        { "lying.bmp", corrupt },
        { "junk.bmp", corrupt },
        { "missing.wav", "?" },
        { "good.wav", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        app->GetClipboard()->Put(new String("before"));
        size_t alerts = driver::AlertLog().size();
        if (!c.message.empty())
            driver::ScriptMessageBoxes({ IDOK });
        SmartPtr<FileReference> file = new FileReference((std::string("C:\\plume\\Data\\") + c.file).c_str());
        pw::authoring::ImportCommand(*app, file, nullptr, pane);
        if (c.message.empty()) {
            EXPECT_EQ(driver::AlertLog().size(), alerts);
            EXPECT_NE(Imported(), nullptr) << "the sound came in";
            continue;
        }
        ASSERT_EQ(driver::AlertLog().size(), alerts + 1) << "one alert says why";
        if (c.message != "?") {
            EXPECT_EQ(driver::AlertLog().back().text.substr(0, c.message.size()), c.message);
        }
        EXPECT_NE(SmartCast<String>(app->GetClipboard()->Contents().Get()), nullptr) << "the clipboard is kept";
    }
    window->RemoveAllChildren();
    pane = nullptr;
    show->Close();
}

// The paste runs once as the window's undo step: value 3 at (0, 0), 2 at any other point.
TEST_F(Import, ThePasteIsOneUndoableStep)
{
    struct Case {
        int32_t h;
        int32_t v;
        const char* log;
    } cases[] = {
        { 0, 0, "paste 3 at 0,0; clear; " },
        { 5, 0, "paste 2 at 5,0; clear; " },
        { 4, 9, "paste 2 at 4,9; clear; " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        SmartPtr<DocWindow> window = new DocWindow(new SimpleReference(new String("page")), SmartPtr<String>(),
            SmartPtr<DocWindow>(), SmartPtr<Scribe>(), false);
        SmartPtr<Recorder> pane = new Recorder(window->GetContent().Get());
        window->GetContent()->AddChild(pane.Get());
        app->GetClipboard()->Put(new String("sprites"));
        ImportObject(app->GetClipboard(), pane.Get(), c.h, c.v);
        ASSERT_TRUE(window->HasUndoTask());
        window->Undo();
        EXPECT_EQ(pane->log, c.log);
    }
}

} // namespace
