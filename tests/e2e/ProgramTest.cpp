// Runs the real program on the SDL backend (SDL's offscreen video driver, no sound) in a start-up
// folder prepared like the run command prepares one, asks it to close as a window manager would
// (SIGTERM, which SDL turns into a quit request), and checks its exit code and what it showed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "e2e/Screenshot.h"

namespace {

namespace fs = std::filesystem;

TEST(Program, StartsMaximisedOnTheDesktopAndQuitsWhenAskedToClose)
{
    fs::path home = fs::path(PW_E2E_OUTPUT) / "program-home";
    fs::remove_all(home);
    fs::create_directories(home / "Data");
    fs::copy_file(fs::path(PW_SOURCE_DIR) / "data" / "Data" / "standard.pal", home / "Data" / "standard.pal");
    std::string shot = (fs::path(PW_E2E_OUTPUT) / "program.bmp").string();
    fs::remove(shot);

    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string asan = std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0";
    std::string command = "cd '" + home.string() + "' && ASAN_OPTIONS='" + asan + "' SDL_VIDEODRIVER=offscreen "
        + "SDL_AUDIODRIVER=dummy PLUMEWRIGHT_BACKEND=sdl PLUMEWRIGHT_SCREENSHOT='" + shot + "' '" + PW_PROGRAM
        + "' & pid=$!; sleep 4; kill -TERM $pid; wait $pid";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), 0) << command;

    pw::e2e::Bmp bmp;
    ASSERT_TRUE(bmp.Load(shot)) << shot;
    int scale = bmp.width / 640;
    ASSERT_GE(scale, 1);
    // The main window covers the whole desktop, so its caption runs along the top of the screen.
    EXPECT_EQ(bmp.At(320 * scale, 8 * scale), (pw::e2e::Rgb { 0, 0, 128 }));
    EXPECT_NE(bmp.At(5 * scale, 470 * scale), (pw::e2e::Rgb { 0, 128, 128 })) << "the bare desktop shows";
}

} // namespace
