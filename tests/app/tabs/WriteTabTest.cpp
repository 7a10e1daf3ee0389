// Writing on a page through the real windows: the Write tab makes the text tool current and shows
// its option window, a click on the page opens a text there, typed keys go into it, the option
// window and the Text menu restyle it, and a save keeps it: the page file read again holds a text
// sprite with those letters and that style, and the exported picture shows it.
#include "app/AboutView.h"
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/palettes/COptionView.h"
#include "authoring/palettes/CKidTools.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CTextView.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CTextTool.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CMovieGroup.h"
#include "engine/CMovieText.h"
#include "engine/CShow.h"
#include "graphics/ColorTable.h"
#include "ui/MenuItem.h"
#include "ui/WindowFrame.h"
#include "ui/StyledText.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "export/JpegDecode.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;


class WriteTabTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        // As the program starts: the tools window follows the page pane.
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    void ClickWindow(const SmartPtr<Window>& target, Point at)
    {
        Point origin = target->GetContentOrigin();
        driver::Click(origin.h + at.h, origin.v + at.v);
        driver::RunUntilIdle();
    }
    void ChooseWriteTab()
    {
        ClickWindow(tallow->GetTabSetWindow(), tallow->GetTabSelector()->GetCellRect(kPaintSoundSet).Center());
        Rect cell = window->GetTabs()->GetTabPalette(window->GetTabs()->GetCurrentSet())->GetCellRect(kWriteTab);
        ASSERT_FALSE(cell.IsEmpty()) << "the Write tab shows";
        ClickWindow(window.Get(), cell.Center());
    }
    // A click on the page at a point of the page's own coordinates.
    void ClickPage(Point at)
    {
        Rect page = window->GetPagePane()->GetBounds();
        ClickWindow(window.Get(), Point(page.left + at.h, page.top + at.v));
    }
    // The page tab of the Paint & Sound set.
    void ChoosePageTab()
    {
        Rect cell = window->GetTabs()->GetTabPalette(window->GetTabs()->GetCurrentSet())->GetCellRect(kPageTab);
        ClickWindow(window.Get(), cell.Center());
    }
    // A cell of the text options, as the child clicks it.
    void ChooseOption(int16_t cell)
    {
        int kind = cell < 10 ? 0 : cell < 20 ? 1 : 2;
        ClickWindow(tallow->GetCurrentFloater(), OptionWindow()->GetRow(kind)->GetCellRect(cell).Center());
    }
    // The colour of entry `entry` of the colour selector, opened from the option window's swatch.
    void ChooseColour(int32_t entry)
    {
        SmartPtr<Window> options = tallow->GetCurrentFloater();
        const SmartList<View>& strip = options->GetChildren().Item(1)->GetChildren();
        View* swatch = nullptr;
        for (uint32_t i = 1; i <= strip.NumItems(); ++i) {
            if (dynamic_cast<CPatternSelector*>(strip.Item(i)))
                swatch = strip.Item(i);
        }
        ASSERT_NE(swatch, nullptr);
        ClickWindow(options, swatch->GetBounds().Center());
        HWND selector = driver::FindWindowByTitle("Selector Window");
        ASSERT_NE(selector, nullptr) << "the swatch opened the colour selector";
        ClickWindow(Window::FromHandle(selector), Point(5 + 10 * entry, 5));
    }
    // Entry `entry` of the colour selector that a click on the swatch opens.
    void PickFromSwatch(const SmartPtr<Window>& holder, View& swatch, int32_t entry)
    {
        ClickWindow(holder, swatch.GetBounds().Center());
        HWND selector = driver::FindWindowByTitle("Selector Window");
        ASSERT_NE(selector, nullptr) << "the swatch opened the colour selector";
        ClickWindow(Window::FromHandle(selector), Point(5 + 10 * entry, 5));
    }
    // The page as the window shows it, pixel by pixel, as palette colours (page coordinates).
    std::vector<std::vector<Color>> Shown()
    {
        driver::RunUntilIdle();
        pw::platform::Frame frame = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        Rect pane = window->GetPagePane()->GetBounds();
        std::vector<std::vector<Color>> rows;
        for (int32_t v = 0; v < pane.bottom - pane.top; ++v) {
            rows.emplace_back();
            for (int32_t h = 0; h < pane.right - pane.left; ++h) {
                const pw::platform::PaletteColor& c = frame.palette[frame.At(pane.left + h, pane.top + v)];
                Color colour;
                colour.SetBytes(c.red, c.green, c.blue, 0);
                rows.back().push_back(colour);
            }
        }
        return rows;
    }
    // The editor's box on the page, in the page's own coordinates.
    Rect EditorBox()
    {
        Rect box = window->GetPagePane()->GetEditView()->GetBounds();
        Rect page = window->GetPagePane()->GetBounds();
        box.Offset(-page.left, -page.top);
        return box;
    }
    CTextView* Editor() { return SmartCast<CTextView>(window->GetPagePane()->GetEditView().Get()); }
    COptionView* OptionWindow() { return SmartCast<COptionView>(tallow->GetCurrentFloater().Get()); }
    // The menu entry with this title, as the menu bar shows and sends it.
    SmartPtr<MenuItem> Entry(const std::string& title) { return tallow->FindMenuItem(MenuCommand(title)); }
    int32_t Status(const std::string& title) { return tallow->SignalStatus(Entry(title)->GetCommand().Get()); }
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The page file's text sprites, read back through the page scribe.
struct StoredText {
    std::string letters;
    SmartPtr<TextStyle> style;
    Rect bounds { 0, 0, 0, 0 };
};

std::vector<StoredText> TextsIn(TallowApp& app, const SmartPtr<FileReference>& file)
{
    std::vector<StoredText> texts;
    SmartPtr<Smart> root = app.App::OpenScribe(file, 1)->Read();
    auto* show = SmartCast<CShow>(root.Get());
    if (!show)
        return texts;
    auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
    for (uint32_t i = 0; group && i < group->NumSprites(); ++i) {
        CSprite* sprite = group->GetSprite(static_cast<int16_t>(i));
        auto* cels = SmartCast<CMovieText>(sprite->GetMovie().Get());
        auto* text = cels ? SmartCast<StyledText>(cels->ItemObject(0).Get()) : nullptr;
        if (!text)
            continue;
        StoredText stored { TextOf(*text), text->GetStyle() };
        sprite->GetFrameBounds(0, &stored.bounds, nullptr);
        texts.push_back(stored);
    }
    show->Close();
    return texts;
}

} // namespace

// The Write tab, a click on the page and typed letters: the text tool is current and its option
// window is up, the letters show in a text over the page, and the Text menu works on that text.
// A save keeps the text: the page file holds it as a sprite in the chosen style, and the exported
// picture shows dark letters on the white page.
TEST_F(WriteTabTest, ATextTypedOnThePageIsRestyledSavedAndExported)
{
    ChooseWriteTab();
    SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
    EXPECT_EQ(tools->GetCurrentToolNumber(), CTextTool::kNumber);
    EXPECT_EQ(tallow->GetCurrentTool().Get(), CToolsDir::GetTextTool().Get()) << "the pane's presses go to the text tool";
    ASSERT_NE(OptionWindow(), nullptr) << "the text tool's option window shows";
    EXPECT_TRUE(OptionWindow()->IsVisible());
    EXPECT_EQ(Status("Courier New"), GenericSignal::disabled) << "no text is edited yet";

    ClickPage(Point(20, 30));
    ASSERT_NE(Editor(), nullptr) << "the click opened a text";
    driver::TypeText("Hello");
    driver::RunUntilIdle();
    EXPECT_EQ(TextOf(*Editor()->GetText().Get()), "Hello");

    // Size 24 from the option window's third row (its seventh cell).
    SmartPtr<CProxyPalette> sizes = OptionWindow()->GetRow(2);
    ClickWindow(tallow->GetCurrentFloater(), sizes->GetCellRect(26).Center());
    EXPECT_EQ(Editor()->GetTextView()->GetStyle()->GetPointSize(), 24);

    EXPECT_NE(Status("Courier New"), GenericSignal::disabled) << "the Text menu works on the edited text";
    EXPECT_EQ(Status("24"), GenericSignal::marked);
    Entry("Courier New")->Select(0, *tallow.Get());
    EXPECT_EQ(std::string(Editor()->GetTextView()->GetStyle()->GetFaceName()), "Courier New");

    driver::ScriptFileDialog("Home");
    // File ▸ Save, as the child chooses it while still typing.
    Entry("Save")->Select(0, *tallow.Get());
    driver::RunUntilIdle();
    ASSERT_TRUE(std::filesystem::exists(driver::HostPath("plume/Projects/Kim/Home.mvi"))) << "the page was saved";
    SmartPtr<FileReference> project = tallow->GetProject().GetFolder();
    SmartPtr<FileReference> file = FileReference::FileReferenceInFolder(*project.Get(), String("Home.mvi"), false);
    std::vector<StoredText> texts = TextsIn(*tallow.Get(), file);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].letters, "Hello");
    EXPECT_EQ(texts[0].style->GetPointSize(), 24);
    EXPECT_EQ(std::string(texts[0].style->GetFaceName()), "Courier New");
    EXPECT_EQ(texts[0].bounds.TopLeft(), Point(20, 30));

    // The page's picture is the part of the page its sprites cover: here the text alone, letters
    // in the colour the option window showed on the white page.
    std::string html = Read(driver::HostPath("plume/Projects/Kim/HTML/Home.htm"));
    EXPECT_NE(html.find("SRC = \"Home.jpg\""), std::string::npos) << html;
    std::string jpeg = Read(driver::HostPath("plume/Projects/Kim/HTML/Home.jpg"));
    jpegtest::DecodedJpeg picture = jpegtest::Decode(std::vector<uint8_t>(jpeg.begin(), jpeg.end()));
    ASSERT_TRUE(picture.ok) << picture.error;
    EXPECT_EQ(picture.width, static_cast<JDIMENSION>(texts[0].bounds.right - texts[0].bounds.left));
    const Color& shown = pw::authoring::PaintSettings::Current().foreground;
    size_t inked = 0;
    size_t light = 0;
    for (JDIMENSION y = 0; y < picture.height; ++y) {
        for (JDIMENSION x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            inked += std::abs(p[0] - (shown.red >> 8)) < 60 && std::abs(p[1] - (shown.green >> 8)) < 60
                && std::abs(p[2] - (shown.blue >> 8)) < 60;
            light += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    }
    EXPECT_GT(inked, 100u) << "the letters show in the exported picture";
    EXPECT_GT(light, inked) << "on the white page";
}

// The text tool's option window lies over the kid tools, where their content begins, and covers
// it, once the Write tab has put them below the page; dragged by their caption, the kid tools take
// it along.
TEST_F(WriteTabTest, TheOptionWindowSitsOverTheKidToolsAndFollowsThem)
{
    ChooseWriteTab();
    SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
    ASSERT_NE(OptionWindow(), nullptr);
    // Both on the screen: the content's bounds are known there, the option window's frame too.
    auto expectOverTools = [&](const char* when) {
        SCOPED_TRACE(when);
        Rect content = tools->GetFrame()->GetContentBounds();
        RECT options {};
        ASSERT_TRUE(GetWindowRect(OptionWindow()->GetFrame()->GetOSWindow(), &options));
        EXPECT_EQ(options.left, content.left);
        EXPECT_EQ(options.top, content.top - 1);
        EXPECT_EQ(options.bottom, content.bottom) << "the kid tools show nothing below the options";
    };
    expectOverTools("shown by the tab");

    HWND hwnd = tools->GetFrame()->GetOSWindow();
    Rect before = tools->GetRect();
    POINT caption = driver::CaptionPoint(hwnd);
    driver::Drag(caption.x, caption.y, caption.x + 30, caption.y - 200);
    driver::RunUntilIdle();
    Rect after = tools->GetRect();
    EXPECT_EQ(after.TopLeft(), Point(before.left + 30, before.top - 200)) << "the kid tools moved";
    expectOverTools("dragged");
}

// A dialog that opens while the Write tab is chosen (the About box, Save As cancelled) shows in
// front of the option window, and once it is gone the option window shows its cells as before:
// the kid tools, shown again, do not cover it.
TEST_F(WriteTabTest, ADialogShowsInFrontOfTheOptionWindowAndLeavesItDrawn)
{
    // Centred, a picture this large covers the option window below the page.
    PutPicture(pw::app::kAboutPicture, authoring::Plain('r', 460, 400));
    tallow->InstallMenus();
    ChooseWriteTab();
    ASSERT_NE(OptionWindow(), nullptr);
    HWND options = OptionWindow()->GetFrame()->GetOSWindow();
    const std::vector<uint8_t> cells = driver::ReadClientArea(options).pixels;
    const struct {
        const char* name;
        std::function<void()> open;
        // The headless file dialog answers from its script without a window.
        bool showsWindow;
    } cases[] = {
        { "the About box", [&] { tallow->DoAbout(); }, true },
        { "Save As cancelled", [&] {
             driver::ScriptFileDialogCancel();
             EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand("Save As\x85")));
         }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool shown = false;
        driver::SetIdleHandler([&] {
            auto* dialog = dynamic_cast<Dialog*>(tallow->GetWindow(tallow->NumWindows()).Get());
            if (!dialog || dialog->IsClosed())
                return false;
            shown = true;
            HWND hwnd = dialog->GetFrame()->GetOSWindow();
            RECT over {}, under {};
            GetWindowRect(hwnd, &over);
            GetWindowRect(options, &under);
            EXPECT_TRUE(over.left < under.right && under.left < over.right && over.top < under.bottom && under.top < over.bottom)
                << "the dialog lies over the option window";
            // The picture is one colour: nothing else shows over any part of it.
            std::vector<uint8_t> pixels = driver::ReadClientArea(hwnd).pixels;
            EXPECT_EQ(std::count(pixels.begin(), pixels.end(), pixels.front()), static_cast<ptrdiff_t>(pixels.size()))
                << "the dialog is in front";
            Point origin = dialog->GetContentOrigin();
            driver::Click(origin.h + 1, origin.v + 1);
            return true;
        });
        c.open();
        driver::SetIdleHandler(nullptr);
        driver::RunUntilIdle();
        EXPECT_EQ(shown, c.showsWindow);
        EXPECT_TRUE(OptionWindow()->IsVisible());
        EXPECT_TRUE(driver::ReadClientArea(options).pixels == cells) << "the option window shows its cells";
    }
}

// The kid tools' close box puts them away with their option window, as the other palette windows'
// boxes put those away; the Write tab brings both back.
TEST_F(WriteTabTest, TheKidToolsCloseBoxPutsThemAwayWithTheirOptionWindow)
{
    ChooseWriteTab();
    SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
    SmartPtr<Window> options = tallow->GetCurrentFloater();
    ASSERT_TRUE(options.Valid());
    uint32_t windows = tallow->NumWindows();
    driver::ClickCloseBox(tools->GetFrame()->GetOSWindow());
    driver::RunUntilIdle();
    EXPECT_FALSE(tools->IsVisible());
    EXPECT_FALSE(options->IsVisible());
    EXPECT_EQ(tallow->NumWindows(), windows) << "nothing closed for good";

    ChooseWriteTab();
    EXPECT_TRUE(tools->IsVisible());
    ASSERT_NE(OptionWindow(), nullptr);
    EXPECT_TRUE(OptionWindow()->IsVisible());
}

// Two texts written at two places are two texts. The child writes "Dog", goes back to the page and
// chooses Write again: nothing opens by itself. Options and a colour chosen then are the next
// text's: "Dog" keeps its look. A click elsewhere starts "Cat" there, showing its letters where
// they go; a click beside it starts "Fox" at once; a click on "Dog" opens "Dog" again, and a letter
// typed then goes after its own. Saved and read back, the page holds three text sprites, each with
// its own letters, place and style.
TEST_F(WriteTabTest, TwoTextsWrittenAtTwoPlacesAreTwoTextsWithTheirOwnStyles)
{
    ChooseWriteTab();
    ClickPage(Point(20, 30));
    ASSERT_NE(Editor(), nullptr);
    driver::TypeText("Dog");
    driver::RunUntilIdle();
    ChoosePageTab();
    ASSERT_EQ(Editor(), nullptr) << "the page tab put the text on the page";
    SmartPtr<TextStyle> dogLook = new TextStyle(*CToolsDir::GetTextTool()->GetTextStyle().Get());

    ChooseWriteTab();
    EXPECT_EQ(Editor(), nullptr) << "choosing Write opens no text by itself";
    ChooseOption(2);    // Courier New
    ChooseOption(11);   // italic
    ChooseOption(26);   // 24 points
    ChooseColour(9);
    EXPECT_EQ(Editor(), nullptr);

    ClickPage(Point(120, 150));
    ASSERT_NE(Editor(), nullptr) << "a click where there is no text starts one";
    EXPECT_EQ(EditorBox().TopLeft(), Point(120, 150)) << "the letters show where the child clicked";
    driver::TypeText("Cat");
    driver::RunUntilIdle();
    EXPECT_EQ(TextOf(*Editor()->GetText().Get()), "Cat");

    ClickPage(Point(200, 60));
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(EditorBox().TopLeft(), Point(200, 60)) << "a click beside a text starts the next one";
    driver::TypeText("Fox");
    driver::RunUntilIdle();
    ClickPage(Point(25, 35));
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(TextOf(*Editor()->GetText().Get()), "Dog") << "a click on a text opens it";
    driver::TypeText("s");
    driver::RunUntilIdle();
    ChoosePageTab();

    driver::ScriptFileDialog("Home");
    Entry("Save")->Select(0, *tallow.Get());
    driver::RunUntilIdle();
    SmartPtr<FileReference> project = tallow->GetProject().GetFolder();
    SmartPtr<FileReference> file = FileReference::FileReferenceInFolder(*project.Get(), String("Home.mvi"), false);
    std::vector<StoredText> texts = TextsIn(*tallow.Get(), file);
    ASSERT_EQ(texts.size(), 3u);
    std::sort(texts.begin(), texts.end(), [](const StoredText& a, const StoredText& b) { return a.letters < b.letters; });
    Color picked = ColorTable::Setup(8)->GetColor(9);
    struct Expected {
        const char* letters;
        Point at;
        const char* face;
        int16_t size;
        uint8_t flags;
        Color colour;
    } const expected[] = {
        { "Cat", Point(120, 150), "Courier New", 24, 2, picked },
        { "Dogs", Point(20, 30), dogLook->GetFaceName(), dogLook->GetPointSize(), dogLook->GetStyleFlags(), dogLook->GetColor() },
        { "Fox", Point(200, 60), "Courier New", 24, 2, picked },
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].letters);
        EXPECT_EQ(texts[i].letters, expected[i].letters);
        EXPECT_EQ(texts[i].bounds.TopLeft(), expected[i].at);
        EXPECT_STREQ(texts[i].style->GetFaceName(), expected[i].face);
        EXPECT_EQ(texts[i].style->GetPointSize(), expected[i].size);
        EXPECT_EQ(texts[i].style->GetStyleFlags(), expected[i].flags);
        EXPECT_TRUE(texts[i].style->GetColor().Equals(expected[i].colour));
    }
}

// A text opened again and given a size, then a font, takes each and keeps the rest of its own
// look, its colour among it, whatever the option window held from the text written before.
TEST_F(WriteTabTest, AnOptionChosenForAnOpenedTextChangesOnlyThatOption)
{
    ChooseWriteTab();
    ClickPage(Point(20, 30));
    ASSERT_NE(Editor(), nullptr);
    driver::TypeText("Dog");
    driver::RunUntilIdle();
    SmartPtr<TextStyle> dog = new TextStyle(*Editor()->GetTextView()->GetStyle().Get());
    ClickPage(Point(200, 150));
    ChooseOption(11); // italic
    ChooseColour(9);
    driver::TypeText("Cat");
    driver::RunUntilIdle();

    ClickPage(Point(25, 35));
    ASSERT_NE(Editor(), nullptr);
    ASSERT_EQ(TextOf(*Editor()->GetText().Get()), "Dog");
    ChooseOption(26); // 24 points
    ChooseOption(2);  // Courier New
    SmartPtr<TextStyle> look = Editor()->GetTextView()->GetStyle();
    EXPECT_EQ(look->GetPointSize(), 24);
    EXPECT_STREQ(look->GetFaceName(), "Courier New");
    EXPECT_EQ(look->GetStyleFlags(), dog->GetStyleFlags()) << "not the italic chosen for the Cat";
    EXPECT_TRUE(look->GetColor().Equals(dog->GetColor())) << "not the colour chosen for the Cat";
}

// A page closed on the Write tab takes the text options away with the kid tools, and a page
// opened after it shows them again with the tools.
TEST_F(WriteTabTest, ThePageClosedOnTheWriteTabTakesTheTextOptionsAway)
{
    ChooseWriteTab();
    ASSERT_NE(OptionWindow(), nullptr);
    Entry("Close")->Select(0, *tallow.Get());
    driver::RunUntilIdle();
    SmartPtr<Window> left = tallow->GetCurrentFloater();
    EXPECT_FALSE(left.Valid() && left->IsVisible()) << "no text options over an empty desk";

    Entry("New Page")->Select(0, *tallow.Get());
    driver::RunUntilIdle();
    window = SmartCast<TallowWindow>(tallow->GetWindow(tallow->NumWindows()).Get());
    ASSERT_TRUE(window.Valid());
    ChooseWriteTab();
    ASSERT_NE(OptionWindow(), nullptr);
    EXPECT_TRUE(OptionWindow()->IsVisible());
}

// With the Write tab chosen the page's middle is free to write on: a click at its centre reaches
// the page and starts a text there, under neither the kid tools nor their text options.
TEST_F(WriteTabTest, AClickAtThePagesCentreStartsAText)
{
    ChooseWriteTab();
    ASSERT_NE(OptionWindow(), nullptr);
    Rect page = window->GetPagePane()->GetBounds();
    Point centre((page.right - page.left) / 2, (page.bottom - page.top) / 2);
    ClickPage(centre);
    ASSERT_NE(Editor(), nullptr) << "the click reached the page";
    EXPECT_EQ(EditorBox().TopLeft(), centre);
    driver::TypeText("Hi");
    driver::RunUntilIdle();
    EXPECT_EQ(TextOf(*Editor()->GetText().Get()), "Hi");
}

// A text takes the colour the option window shows (the one a run starts with, or one picked from
// the Paint tab's swatch while the text options were closed): the page shows its letters in it
// once it is finished, and the stored text has it.
TEST_F(WriteTabTest, ATextTakesTheColourTheOptionWindowShows)
{
    struct Case {
        const char* name;
        int32_t pickedOnPaintTab;
    } const cases[] = {
        { "as a run starts", -1 },
        { "picked on the Paint tab", 9 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pickedOnPaintTab >= 0) {
            ClickWindow(tallow->GetTabSetWindow(), tallow->GetTabSelector()->GetCellRect(kPaintSoundSet).Center());
            Rect paintTab = window->GetTabs()->GetTabPalette(window->GetTabs()->GetCurrentSet())->GetCellRect(15);
            ClickWindow(window.Get(), paintTab.Center());
            auto* tools = dynamic_cast<CKidTools*>(CTumblerApp::GetTools().Get());
            ASSERT_TRUE(tools && tools->GetPatternSelector().Valid()) << "the paint tools show their swatch";
            PickFromSwatch(SmartPtr<Window>(tools), *tools->GetPatternSelector().Get(), c.pickedOnPaintTab);
            ChoosePageTab();
        }
        ChooseWriteTab();
        const Color shownColour = pw::authoring::PaintSettings::Current().foreground;
        ClickPage(Point(30, 40 + 60 * (c.pickedOnPaintTab >= 0)));
        ASSERT_NE(Editor(), nullptr);
        driver::TypeText("Hello");
        driver::RunUntilIdle();
        ChoosePageTab();
        ASSERT_EQ(Editor(), nullptr);
        SmartList<CSprite> selected = window->GetPagePane()->GetSelectedSprites();
        ASSERT_FALSE(selected.IsEmpty());
        Rect made(0, 0, 0, 0);
        selected.Item(1)->GetFrameBounds(0, &made, nullptr);
        std::vector<std::vector<Color>> finished = Shown();
        int letters = 0;
        for (int32_t v = made.top; v < made.bottom; ++v)
            for (int32_t h = made.left; h < made.right; ++h)
                letters += finished[size_t(v)][size_t(h)].Equals(shownColour);
        EXPECT_GT(letters, 30) << "the letters show in the colour the option window shows";
        auto* cels = SmartCast<CMovieText>(selected.Item(1)->GetMovie().Get());
        auto* text = cels ? SmartCast<StyledText>(cels->ItemObject(0).Get()) : nullptr;
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->GetStyle()->GetColor().Equals(shownColour)) << "the text keeps that colour";
    }
}

// Escape ends the typing and a text with nothing in it leaves nothing on the page: opened and left
// at once (by Escape or by a click elsewhere), or emptied letter by letter. Saved, the page holds
// only the texts that kept letters.
TEST_F(WriteTabTest, EscapeEndsTheTypingAndAnEmptyTextLeavesNothing)
{
    struct Step {
        const char* name;
        Point click;
        const char* keys;
        bool escape;
        size_t texts;
    } const steps[] = {
        { "opened and left by Escape", Point(20, 30), "", true, 0 },
        { "typed and left by Escape", Point(20, 30), "Hi", true, 1 },
        { "opened and left by a click elsewhere", Point(150, 100), "", false, 1 },
        { "that click's text, typed", Point(150, 160), "Ho", true, 2 },
        { "the first opened again and emptied", Point(25, 35), "\b\b", true, 1 },
    };
    ChooseWriteTab();
    CMovieGroup* group = window->GetPagePane()->GetGroup();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ClickPage(step.click);
        ASSERT_NE(Editor(), nullptr) << "the click opened a text";
        for (const char* key = step.keys; *key; ++key) {
            if (*key == '\b')
                driver::TypeKey(VK_BACK);
            else
                driver::TypeText(std::string(1, *key));
        }
        driver::RunUntilIdle();
        if (step.escape) {
            driver::TypeKey(VK_ESCAPE);
            driver::RunUntilIdle();
            EXPECT_EQ(Editor(), nullptr) << "Escape ended the typing";
        }
        EXPECT_EQ(group->NumSprites(), step.texts) << "the texts on the page";
    }
    driver::ScriptFileDialog("Home");
    Entry("Save")->Select(0, *tallow.Get());
    driver::RunUntilIdle();
    SmartPtr<FileReference> file = FileReference::FileReferenceInFolder(
        *tallow->GetProject().GetFolder().Get(), String("Home.mvi"), false);
    std::vector<StoredText> texts = TextsIn(*tallow.Get(), file);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].letters, "Ho");
}
