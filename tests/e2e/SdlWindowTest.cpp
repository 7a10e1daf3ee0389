// Runs the tiny window program on the SDL backend (SDL's offscreen video driver, no sound) and
// checks what its window showed, through the screenshot the backend saves when it quits. The
// screenshot stays in the test's build folder for a person to look at. The child runs without the
// leak checker: SDL's offscreen driver leaks its EGL probing, which is none of ours (the platform's
// own code is leak-checked by its unit tests).
#include <gtest/gtest.h>

#include "e2e/Screenshot.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using pw::e2e::Rgb;
using pw::e2e::Bmp;

TEST(SdlWindow, TheTinyProgramShowsItsWindowOnTheDesktop)
{
    std::string shot = std::string(PW_E2E_OUTPUT) + "/tiny-window.bmp";
    std::remove(shot.c_str());
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string asan = std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0";
    std::string command = "ASAN_OPTIONS='" + asan + "' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
        + "PLUMEWRIGHT_BACKEND=sdl PLUMEWRIGHT_SCREENSHOT='" + shot + "' '" + PW_TINY_WINDOW_PROGRAM + "'";
    int status = std::system(command.c_str());
    ASSERT_EQ(status, 0) << command;

    Bmp bmp;
    ASSERT_TRUE(bmp.Load(shot)) << shot;
    // The desktop is scaled by a whole factor to fit the display.
    ASSERT_EQ(bmp.width % 640, 0);
    int scale = bmp.width / 640;
    ASSERT_GE(scale, 1);
    ASSERT_EQ(bmp.height, 480 * scale);
    struct Case {
        const char* name;
        int x;
        int y;
        Rgb expected;
    };
    // The window lies at (40, 30), 300 x 200, with a 3-pixel frame and an 18-pixel caption.
    for (const Case& c : {
             Case { "the bare desktop", 5, 5, { 0, 128, 128 } },
             Case { "the red client area", 190, 140, { 255, 0, 0 } },
             Case { "the active caption", 100, 40, { 0, 0, 128 } },
             Case { "the frame's outer line, bottom right", 339, 229, { 0, 0, 0 } },
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bmp.At(c.x * scale + scale / 2, c.y * scale + scale / 2), c.expected);
    }
}

} // namespace
