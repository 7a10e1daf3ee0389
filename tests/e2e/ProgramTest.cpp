// Runs the real program on the SDL backend (SDL's offscreen video driver, no sound) in a start-up
// folder prepared like the run command prepares one, asks it to close as a window manager would
// (SIGTERM, which SDL turns into a quit request), and checks its exit code and what it showed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

#include "e2e/Screenshot.h"

namespace {

namespace fs = std::filesystem;

// The start-up folder of the runs named `name`, prepared from the shipped data as the run command
// prepares one before every start (`fresh`: from nothing).
fs::path PrepareHome(const std::string& name, bool fresh)
{
    fs::path home = fs::path(PW_E2E_OUTPUT) / (name + "-home");
    if (fresh)
        fs::remove_all(home);
    std::string prepare = "'" PW_SOURCE_DIR "/scripts/prepare-startup-folder' '" PW_SOURCE_DIR "/data' '" + home.string() + "'";
    EXPECT_EQ(std::system(prepare.c_str()), 0) << prepare;
    return home;
}

// Starts the program in `home`, closes it after `seconds` and loads what it showed last into `bmp`.
void RunProgram(const fs::path& home, const std::string& name, double seconds, pw::e2e::Bmp& bmp)
{
    std::string shot = (fs::path(PW_E2E_OUTPUT) / (name + ".bmp")).string();
    fs::remove(shot);
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string asan = std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0";
    std::string command = "cd '" + home.string() + "' && ASAN_OPTIONS='" + asan + "' SDL_VIDEODRIVER=offscreen "
        + "SDL_AUDIODRIVER=dummy PLUMEWRIGHT_BACKEND=sdl PLUMEWRIGHT_SCREENSHOT='" + shot + "' '" + PW_PROGRAM
        + "' & pid=$!; sleep " + std::to_string(seconds) + "; kill -TERM $pid; wait $pid";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), 0) << command;
    ASSERT_TRUE(bmp.Load(shot)) << shot;
    ASSERT_GE(bmp.width / 640, 1);
}

void RunProgram(const std::string& name, double seconds, pw::e2e::Bmp& bmp)
{
    RunProgram(PrepareHome(name, true), name, seconds, bmp);
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// How many pixels of the square (left, top, size) in 640 x 480 units show `colour`.
int Count(const pw::e2e::Bmp& bmp, int left, int top, int size, pw::e2e::Rgb colour)
{
    int scale = bmp.width / 640;
    int count = 0;
    for (int v = top; v < top + size; ++v)
        for (int h = left; h < left + size; ++h)
            count += bmp.At(h * scale, v * scale) == colour;
    return count;
}

TEST(Program, StartsMaximisedOnTheDesktopAndPlaysTheSamplePage)
{
    pw::e2e::Bmp early;
    pw::e2e::Bmp late;
    RunProgram("program", 5, early);
    RunProgram("program-later", 7, late);
    for (const pw::e2e::Bmp* bmp : { &early, &late }) {
        SCOPED_TRACE(bmp == &early ? "after 5 s" : "after 7 s");
        int scale = bmp->width / 640;
        // The main window covers the whole desktop, so its caption runs along the top of the screen.
        EXPECT_EQ(bmp->At(320 * scale, 8 * scale), (pw::e2e::Rgb { 0, 0, 128 }));
        EXPECT_NE(bmp->At(5 * scale, 470 * scale), (pw::e2e::Rgb { 0, 128, 128 })) << "the bare desktop shows";
        // The page window sits at the top left of the main window; its white page fills most of
        // the square below, between the sprites.
        EXPECT_GT(Count(*bmp, 60, 120, 200, { 255, 255, 255 }), 200 * 200 / 2) << "no page shows";
    }
    // Two seconds apart the page is twelve frames on: its sprites have moved.
    int differing = 0;
    int scale = early.width / 640;
    for (int v = 60; v < 410; ++v)
        for (int h = 4; h < 354; ++h)
            differing += !(early.At(h * scale, v * scale) == late.At(h * scale, v * scale));
    EXPECT_GT(differing, 500) << "the page's frames did not change on the screen";
}

// The child edited the sample page and saved it; the next start, prepared as the run command
// prepares it, opens that page and leaves its file as the child saved it.
TEST(Program, TheNextStartKeepsThePageTheChildSaved)
{
    fs::path page = PrepareHome("child", true) / "Projects" / "Sample.mvi";
    std::ofstream(page, std::ios::binary | std::ios::app) << "and the child's edit";
    std::string saved = Read(page);
    pw::e2e::Bmp shown;
    RunProgram(PrepareHome("child", false), "child", 5, shown);
    EXPECT_EQ(Read(page), saved);
}

} // namespace
