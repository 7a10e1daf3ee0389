// Runs the real program on the SDL backend (SDL's offscreen video driver, no sound) in a start-up
// folder prepared like the run command prepares one. The program takes its input from a script
// (PLUMEWRIGHT_INPUT_SCRIPT): keys typed into its windows, and shots of the screen and the open
// menu's entries written to files at given moments. The tests check what it showed, what it left
// on disk, and that it ends with 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "e2e/ProgramRun.h"

namespace {

using namespace pw::e2e;

constexpr Rgb kNavy { 0, 0, 128 };
constexpr Rgb kWhite { 255, 255, 255 };
constexpr Rgb kBlack { 0, 0, 0 };
constexpr Rgb kMenuGrey { 192, 192, 192 };

// An open drop-down as the program wrote it: its rectangle on the screen and its entries, each
// "-" for a separator or the title, with "\tgrayed" when it is off.
struct OpenMenu {
    int left = 0, top = 0, right = 0, bottom = 0;
    std::vector<std::string> entries;
};

OpenMenu ReadMenu(const std::string& name)
{
    OpenMenu menu;
    std::istringstream lines(Read(Out(name)));
    std::string line;
    std::getline(lines, line);
    std::istringstream(line.substr(line.find(' ') + 1)) >> menu.left >> menu.top >> menu.right >> menu.bottom;
    while (std::getline(lines, line))
        menu.entries.push_back(line.substr(line.find(' ') + 1));
    return menu;
}

// The entries a drop-down shows, read off the screen: each band of rows with marks on the menu's
// face is one entry (an accent a row above its letters belongs to them); a band one or two rows
// high across the face is a separator ("-"), any other an item, "on" when its text is black (or
// white on the highlight) and "grayed" when it is not.
std::vector<std::string> EntriesOnScreen(const Bmp& bmp, const OpenMenu& menu)
{
    struct Band {
        int start, end, widest;
        bool on;
        bool Separator(int width) const { return end - start <= 2 && widest > width * 4 / 5; }
    };
    int left = menu.left + 3;
    int right = menu.right - 3;
    std::vector<Band> bands;
    for (int v = menu.top + 2; v < menu.bottom - 2; ++v) {
        int marks = 0;
        bool on = false;
        for (int h = left; h < right; ++h) {
            Rgb c = bmp.At(h, v);
            if (c == kMenuGrey || c == kNavy)
                continue;
            ++marks;
            on = on || c == kBlack || (c == kWhite && bmp.At(left, v) == kNavy);
        }
        if (marks == 0)
            continue;
        if (!bands.empty() && bands.back().end == v) {
            Band& band = bands.back();
            band.end = v + 1;
            band.widest = std::max(band.widest, marks);
            band.on = band.on || on;
        } else {
            bands.push_back(Band { v, v + 1, marks, on });
        }
    }
    std::vector<Band> entries;
    for (const Band& band : bands) {
        Band* last = entries.empty() ? nullptr : &entries.back();
        if (last && band.start - last->end <= 2 && !last->Separator(right - left) && !band.Separator(right - left)) {
            last->end = band.end;
            last->widest = std::max(last->widest, band.widest);
            last->on = last->on || band.on;
        } else {
            entries.push_back(band);
        }
    }
    std::vector<std::string> shown;
    for (const Band& entry : entries)
        shown.push_back(entry.Separator(right - left) ? "-" : entry.on ? "on" : "grayed");
    return shown;
}

// What the menu's own entries say the screen should show, in EntriesOnScreen's words.
std::vector<std::string> EntriesExpected(const OpenMenu& menu)
{
    std::vector<std::string> expected;
    for (const std::string& entry : menu.entries)
        expected.push_back(entry == "-" ? "-" : entry.ends_with("\tgrayed") ? "grayed" : "on");
    return expected;
}

// The titles of the entries, without their shortcuts and states.
std::vector<std::string> Titles(const OpenMenu& menu)
{
    std::vector<std::string> titles;
    for (const std::string& entry : menu.entries)
        titles.push_back(entry.substr(0, entry.find('\t')));
    return titles;
}

TEST(Program, StartsMaximisedAsksForTheProjectsNameAndShowsItsFirstPage)
{
    fs::path home = PrepareHome("program", true);
    Steps steps = Steps { "shot " + Out("name-dialog.bmp").string() } + NameProject("Kids")
        + Steps { "shot " + Out("first-page.bmp").string(), "key control+q" };
    ASSERT_EQ(RunProgram(home, "program", steps), 0);
    EXPECT_TRUE(fs::is_directory(home / "Projects" / "Kids")) << "the project's folder";

    Bmp dialog = Shot("name-dialog.bmp");
    Bmp page = Shot("first-page.bmp");
    for (const Bmp* bmp : { &dialog, &page }) {
        SCOPED_TRACE(bmp == &dialog ? "the name dialog" : "the first page");
        // The main window covers the whole desktop, so its caption runs along the top.
        EXPECT_EQ(bmp->At(320, 8), kNavy);
        EXPECT_NE(bmp->At(5, 470), (Rgb { 0, 128, 128 })) << "the bare desktop shows";
    }
    // The dialog is centred: its caption crosses the middle of the screen above the centre, and
    // its face covers the centre.
    int captionRows = 0;
    for (int v = 30; v < 240; ++v)
        captionRows += dialog.At(320, v) == kNavy;
    EXPECT_GT(captionRows, 10) << "no dialog caption in the middle";
    EXPECT_NE(dialog.At(320, 240), (Rgb { 128, 128, 128 })) << "the bare main window shows at the centre";
    // The page window stands right of the tab-set window; its white page fills most of the lower
    // right of the screen.
    EXPECT_GT(Count(page, 200, 160, kWhite), 440 * 320 / 2) << "no page shows";
}

// The menus opened from the keyboard (Alt, Down, then Right from title to title): each holds the
// entries of the program's menu table, and the screen shows each of them, enabled or grayed as the
// menu holds it. Read through the menu's state (titles) and off the screen (bands of text).
TEST(Program, TheFileEditAndLinkToMenusShowTheirEntries)
{
    fs::path home = PrepareHome("menus", true);
    Steps steps = NameProject("Kids") + Steps { "key alt", "key down" };
    const char* menus[] = { "file", "edit", "linkto" };
    for (const char* menu : menus) {
        std::string name = menu;
        if (name != "file")
            steps.push_back("key right");
        steps.push_back("menu " + Out(name + ".menu").string());
        steps.push_back("shot " + Out(name + "-menu.bmp").string());
    }
    steps = steps + Steps { "key escape", "key escape", "quit" };
    ASSERT_EQ(RunProgram(home, "menus", steps), 0);

    const std::vector<std::string> titles[] = {
        { "New Page", "Open\x85", "Import\x85", "Close", "-", "Save", "Save As\x85", "-", "Publish\x85", "-", "Quit" },
        { "Cut", "Copy", "Paste", "Delete", "-", "Bring Forwards", "Send Backwards", "-", "Undo", "-", "Sound On" },
        { "URL\x85", "E-Mail\x85" },
    };
    for (size_t i = 0; i < std::size(menus); ++i) {
        SCOPED_TRACE(menus[i]);
        std::string name = menus[i];
        OpenMenu menu = ReadMenu(name + ".menu");
        EXPECT_EQ(Titles(menu), titles[i]);
        Bmp shot = Shot(name + "-menu.bmp");
        EXPECT_EQ(EntriesOnScreen(shot, menu), EntriesExpected(menu));
    }
}

// Stopped from outside (SIGTERM) while the name dialog waits for the child, the program ends at
// once with 0 and makes no project.
TEST(Program, ATerminationSignalEndsTheProgramWhileTheNameDialogWaits)
{
    fs::path home = PrepareHome("stopped", true);
    fs::path ready = Out("stopped-dialog.bmp");
    fs::remove(ready);
    std::string command = ProgramCommand(home, "stopped", { "shot " + ready.string() }) + " & pid=$!; for i in $(seq 600); do [ -s '"
        + ready.string() + "' ] && break; sleep 0.05; done; kill -TERM $pid; wait $pid";
    EXPECT_EQ(ExitCode(std::system(command.c_str())), 0) << command;
    EXPECT_TRUE(fs::exists(ready)) << "the name dialog never waited";
    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(home / "Projects"))
        entries += entry.is_directory();
    EXPECT_EQ(entries, 0u) << "a project folder was made";
}

// The child edited the sample page and saved it; the next start, prepared as the run command
// prepares it, keeps that page: the child opens it (File, Open…), it shows its sprites, and its
// file stays as the child saved it.
TEST(Program, TheNextStartKeepsThePageTheChildSaved)
{
    fs::path page = PrepareHome("child", true) / "Projects" / "Sample.mvi";
    std::ofstream(page, std::ios::binary | std::ios::app) << "and the child's edit";
    std::string saved = Read(page);
    fs::path home = PrepareHome("child", false);
    Steps steps = NameProject("Kids")
        + Steps { "key control+o", "type ..\\Sample.mvi", "key return", "shot " + Out("child-page.bmp").string(), "quit" };
    ASSERT_EQ(RunProgram(home, "child", steps), 0);
    EXPECT_EQ(Read(page), saved);
    Bmp shown = Shot("child-page.bmp");
    // The sample page's yellow sun and red bar, in the page window right of the tab-set window.
    EXPECT_GT(Count(shown, 150, 150, Rgb { 255, 255, 0 }), 500) << "the sample page does not show";
    EXPECT_GT(Count(shown, 150, 150, Rgb { 255, 0, 0 }), 500) << "the sample page does not show";
}

} // namespace
