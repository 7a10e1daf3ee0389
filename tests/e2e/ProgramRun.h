// Running the real program for the end-to-end tests: a start-up folder prepared as the run command
// prepares one, the program started there on SDL's offscreen driver with an input script, and the
// files and screen shots it leaves read back.
#pragma once

#include "e2e/Screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace pw::e2e {

namespace fs = std::filesystem;
using Steps = std::vector<std::string>;

inline fs::path Out(const std::string& name)
{
    return fs::path(PW_E2E_OUTPUT) / name;
}

// The start-up folder of the runs named `name`, prepared from the shipped data as the run command
// prepares one before every start (`fresh`: from nothing).
inline fs::path PrepareHome(const std::string& name, bool fresh)
{
    fs::path home = Out(name + "-home");
    if (fresh)
        fs::remove_all(home);
    std::string prepare = "'" PW_SOURCE_DIR "/scripts/prepare-startup-folder' '" PW_SOURCE_DIR "/data' '" + home.string() + "'";
    EXPECT_EQ(std::system(prepare.c_str()), 0) << prepare;
    return home;
}

// The shell command that starts the program in `home` with the steps as its input script;
// `environment` holds more VARIABLE=value words for it.
inline std::string ProgramCommand(
    const fs::path& home, const std::string& name, const Steps& steps, const std::string& environment = "")
{
    fs::path script = Out(name + ".script");
    std::ofstream out(script);
    for (const std::string& step : steps)
        out << step << '\n';
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string asan = std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0";
    // A program that never ends is killed after a minute, and the test fails on its exit code.
    return "cd '" + home.string() + "' && ASAN_OPTIONS='" + asan + "' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
        + environment + " PLUMEWRIGHT_BACKEND=sdl PLUMEWRIGHT_INPUT_SCRIPT='" + script.string()
        + "' timeout -s KILL 60 '" + PW_PROGRAM + "'";
}

// The program's exit code; -1 when it did not end by itself.
inline int ExitCode(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the program until it ends by itself (its script ends it); answers its exit code.
inline int RunProgram(const fs::path& home, const std::string& name, const Steps& steps, const std::string& environment = "")
{
    return ExitCode(std::system(ProgramCommand(home, name, steps, environment).c_str()));
}

// The keys that name the project in the name dialog: the default name replaced by `name`.
inline Steps NameProject(const std::string& name)
{
    return { "key control+a", "type " + name, "key return" };
}

inline Steps operator+(Steps a, const Steps& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A screen shot the script wrote, at desktop size.
inline Bmp Shot(const std::string& name)
{
    Bmp bmp;
    EXPECT_TRUE(bmp.Load(Out(name).string())) << name;
    EXPECT_EQ(bmp.width, 640);
    return bmp;
}

inline std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// How many pixels of the rectangle (the screen's bottom right when only its top left is given)
// show `colour`.
inline int Count(const Bmp& bmp, int left, int top, Rgb colour, int right = -1, int bottom = -1)
{
    right = right < 0 ? bmp.width : right;
    bottom = bottom < 0 ? bmp.height : bottom;
    int count = 0;
    for (int v = top; v < bottom; ++v)
        for (int h = left; h < right; ++h)
            count += bmp.At(h, v) == colour;
    return count;
}

} // namespace pw::e2e
