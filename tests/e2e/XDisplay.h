// The real program on a virtual X display, driven as a child drives it: Xvfb gives the display,
// the program runs on the SDL backend there, xdotool moves the mouse and presses keys through the
// X server, and ImageMagick's `import` reads the window back. Nothing of the program's own input
// script is used, so what reaches the program is what a real mouse and keyboard send.
#pragma once

#include "e2e/ProgramRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pw::e2e {

// An RGB picture of the program's window as `import` read it (binary PPM).
struct Screen {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Rgb At(int h, int v) const
    {
        size_t at = (static_cast<size_t>(v) * width + h) * 3;
        return { rgb[at], rgb[at + 1], rgb[at + 2] };
    }

    // How many pixels of the rectangle (right and bottom exclusive) show `colour`.
    int Count(int left, int top, int right, int bottom, Rgb colour) const
    {
        int count = 0;
        for (int v = top; v < bottom; ++v)
            for (int h = left; h < right; ++h)
                count += At(h, v) == colour;
        return count;
    }

    bool SameArea(const Screen& other, int left, int top, int right, int bottom) const
    {
        for (int v = top; v < bottom; ++v)
            for (int h = left; h < right; ++h)
                if (!(At(h, v) == other.At(h, v)))
                    return false;
        return true;
    }
};

class XDisplay {
public:
    // Starts Xvfb on a free display with a screen the size of the program's desktop, so that the
    // program's window lies at the origin and window pixels are desktop pixels.
    XDisplay()
    {
        for (int n = 200 + getpid() % 400; n < 1000; ++n) {
            if (!std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock")
                && !std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) {
                number_ = n;
                break;
            }
        }
        server_ = Spawn("exec Xvfb :" + std::to_string(number_) + " -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1");
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number_);
        for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ready_ = std::filesystem::exists(socket);
    }

    ~XDisplay()
    {
        Stop(program_);
        Stop(server_);
    }

    bool Ready() const { return ready_; }

    // Starts the program in `home` on this display; answers once its window is mapped.
    bool StartProgram(const std::filesystem::path& home)
    {
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        std::string asan = std::string(sanitizer ? sanitizer : "") + ":detect_leaks=0";
        program_ = Spawn("cd '" + home.string() + "' && exec env " + Display() + " ASAN_OPTIONS='" + asan
            + "' SDL_AUDIODRIVER=dummy PLUMEWRIGHT_BACKEND=sdl '" PW_PROGRAM "' >'" + home.string()
            + "/program.log' 2>&1");
        window_ = Output("timeout 30 xdotool search --sync --onlyvisible --name '^Plumewright$' | head -n 1");
        while (!window_.empty() && (window_.back() == '\n' || window_.back() == ' '))
            window_.pop_back();
        return !window_.empty();
    }

    // The program's exit status once it has ended, -1 while it runs.
    int ProgramExit()
    {
        int status = 0;
        if (program_ <= 0 || waitpid(program_, &status, WNOHANG) != program_)
            return -1;
        program_ = 0;
        return ExitCode(status);
    }

    void Click(int h, int v) { Xdotool("mousemove " + Point(h, v) + " click 1"); }
    void Move(int h, int v) { Xdotool("mousemove " + Point(h, v)); }

    // A press at (h1, v1), the mouse moved in `steps` even steps to (h2, v2) at the pace of a hand,
    // and a release there.
    void Drag(int h1, int v1, int h2, int v2, int steps = 10)
    {
        Xdotool("mousemove " + Point(h1, v1) + " mousedown 1");
        Pause(150);
        for (int i = 1; i <= steps; ++i) {
            Xdotool("mousemove " + Point(h1 + (h2 - h1) * i / steps, v1 + (v2 - v1) * i / steps));
            Pause(30);
        }
        Pause(150);
        Xdotool("mouseup 1");
    }

    void Type(const std::string& text) { Xdotool("type --delay 60 '" + text + "'"); }
    void Key(const std::string& keys) { Xdotool("key " + keys); }

    Screen Shot() const
    {
        Screen screen;
        FILE* pipe = popen(("env " + Display() + " import -window " + window_ + " -depth 8 ppm:- 2>/dev/null").c_str(), "r");
        if (!pipe)
            return screen;
        std::vector<uint8_t> bytes;
        uint8_t buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            bytes.insert(bytes.end(), buffer, buffer + n);
        pclose(pipe);
        // "P6" width height maxval, each followed by white space, then the pixels.
        size_t at = 0;
        auto next = [&]() {
            while (at < bytes.size() && std::isspace(bytes[at]))
                ++at;
            size_t start = at;
            while (at < bytes.size() && !std::isspace(bytes[at]))
                ++at;
            return std::string(bytes.begin() + start, bytes.begin() + at);
        };
        if (next() != "P6")
            return screen;
        int width = std::atoi(next().c_str());
        int height = std::atoi(next().c_str());
        bool bytesPerSample = next() == "255";
        ++at;
        if (!bytesPerSample || width <= 0 || height <= 0 || bytes.size() - at < static_cast<size_t>(width) * height * 3)
            return screen;
        screen.width = width;
        screen.height = height;
        screen.rgb.assign(bytes.begin() + at, bytes.begin() + at + static_cast<size_t>(width) * height * 3);
        return screen;
    }

    // Reads the window until `seen` holds for it; answers the last picture read (empty when the
    // deadline passed first).
    Screen WaitFor(const std::function<bool(const Screen&)>& seen, int milliseconds = 15000) const
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        do {
            Screen screen = Shot();
            if (screen.width > 0 && seen(screen))
                return screen;
            Pause(100);
        } while (std::chrono::steady_clock::now() < deadline);
        return {};
    }

    // Saves the window as a PNG beside the test's other output, for a person to look at.
    void Keep(const std::string& name) const
    {
        std::system(("env " + Display() + " import -window " + window_ + " '" + Out(name).string() + "' 2>/dev/null").c_str());
    }

    static void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

private:
    std::string Display() const { return "DISPLAY=:" + std::to_string(number_); }
    std::string Point(int h, int v) const { return "--window " + window_ + " " + std::to_string(h) + " " + std::to_string(v); }

    void Xdotool(const std::string& arguments) const
    {
        std::string command = "env " + Display() + " xdotool " + arguments;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }

    std::string Output(const std::string& command) const
    {
        std::string output;
        FILE* pipe = popen(("env " + Display() + " " + command).c_str(), "r");
        if (!pipe)
            return output;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
        return output;
    }

    static pid_t Spawn(const std::string& command)
    {
        pid_t pid = fork();
        if (pid == 0) {
            setpgid(0, 0);
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }

    static void Stop(pid_t& pid)
    {
        if (pid <= 0)
            return;
        kill(-pid, SIGTERM);
        for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
            Pause(100);
        if (waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(-pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = 0;
    }

    int number_ = 0;
    pid_t server_ = 0;
    pid_t program_ = 0;
    bool ready_ = false;
    std::string window_;
};

} // namespace pw::e2e
