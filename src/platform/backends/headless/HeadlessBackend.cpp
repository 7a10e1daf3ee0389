#include "platform/backends/headless/HeadlessBackend.h"

#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

namespace pw::platform {

namespace {

std::optional<std::string>& Clipboard()
{
    static std::optional<std::string> text;
    return text;
}

const bool registered = testing::RegisterReset([] { Clipboard().reset(); });

bool Init()
{
    return true;
}

void Quit()
{
}

void PollInput()
{
}

// Nothing can arrive from outside; in real time the wait is slept in short slices so the caller
// looks at its timers again soon.
void WaitForEvents(uint32_t timeoutMs)
{
    if (Clock::IsVirtual())
        return;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<uint32_t>(timeoutMs, 50)));
}

void Present(const Frame&)
{
}

std::optional<std::string> GetClipboardText()
{
    return Clipboard();
}

bool SetClipboardText(const std::string& text)
{
    Clipboard() = text;
    return true;
}

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

const BackendDriver kHeadlessBackend {
    "headless",
    Init,
    Quit,
    PollInput,
    WaitForEvents,
    Present,
    GetClipboardText,
    SetClipboardText,
};

std::vector<uint8_t> EncodeFrameAsBmp(const Frame& frame)
{
    const uint32_t rowBytes = (static_cast<uint32_t>(frame.width) + 3) & ~3u;
    const uint32_t headerBytes = 14 + 40 + 256 * 4;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(frame.height);
    std::vector<uint8_t> out;
    out.reserve(headerBytes + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, headerBytes + imageBytes);
    Put32(out, 0);
    Put32(out, headerBytes);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(frame.width));
    Put32(out, static_cast<uint32_t>(frame.height));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (size_t i = 0; i < 256; ++i) {
        PaletteColor c = i < frame.palette.size() ? frame.palette[i] : PaletteColor {};
        out.insert(out.end(), { c.blue, c.green, c.red, 0 });
    }
    for (int y = frame.height - 1; y >= 0; --y) {
        auto row = frame.pixels.begin() + static_cast<ptrdiff_t>(y) * frame.pitch;
        out.insert(out.end(), row, row + frame.width);
        out.insert(out.end(), rowBytes - static_cast<uint32_t>(frame.width), 0);
    }
    return out;
}

bool WriteFrameAsBmp(const Frame& frame, const std::string& path)
{
    std::vector<uint8_t> bytes = EncodeFrameAsBmp(frame);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace pw::platform
