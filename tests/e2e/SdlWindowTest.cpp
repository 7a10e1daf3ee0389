// Runs the tiny window program on the SDL backend (SDL's offscreen video driver, no sound) and
// checks what its window showed, through the screenshot the backend saves when it quits. The
// screenshot stays in the test's build folder for a person to look at. The child runs without the
// leak checker: SDL's offscreen driver leaks its EGL probing, which is none of ours (the platform's
// own code is leak-checked by its unit tests).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// An uncompressed 24-bit BMP as SDL writes it.
struct Bmp {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    uint32_t offset = 0;
    std::vector<uint8_t> bytes;

    static uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
    {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    }

    bool Load(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
            return false;
        offset = Read32(bytes, 10);
        width = static_cast<int32_t>(Read32(bytes, 18));
        auto signedHeight = static_cast<int32_t>(Read32(bytes, 22));
        bottomUp = signedHeight > 0;
        height = bottomUp ? signedHeight : -signedHeight;
        int bits = bytes[28] | bytes[29] << 8;
        return bits == 24 && width > 0 && height > 0 && offset + static_cast<size_t>(Stride()) * height <= bytes.size();
    }

    int Stride() const { return (width * 3 + 3) & ~3; }

    Rgb At(int x, int y) const
    {
        int row = bottomUp ? height - 1 - y : y;
        size_t at = offset + static_cast<size_t>(row) * Stride() + static_cast<size_t>(x) * 3;
        return Rgb { bytes[at + 2], bytes[at + 1], bytes[at] };
    }
};

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
