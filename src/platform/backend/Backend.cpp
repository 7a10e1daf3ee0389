#include "platform/backend/Backend.h"

#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/sdl/SdlBackend.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"
#include "platform/winsock/SocketEvents.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace pw::platform {

namespace {

struct ProgramModule {
    int unused;
} programModule;

constexpr size_t kMaxPendingInput = 4096;

struct State {
    const BackendDriver* driver = &kHeadlessBackend;
    std::optional<Frame> lastFrame;
    uint64_t frameSerial = 0;
    std::deque<InputEvent> input;
};

State& TheState()
{
    static State state;
    return state;
}

// Tests run on a fresh headless backend: no frame shown, no input waiting.
const bool registered = testing::RegisterReset([] {
    UseBackend(kHeadlessBackend);
    State& s = TheState();
    s.lastFrame.reset();
    s.frameSerial = 0;
    s.input.clear();
});

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

HINSTANCE ProgramInstance()
{
    return reinterpret_cast<HINSTANCE>(&programModule);
}

Frame Frame::Blank(int width, int height, uint8_t index)
{
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pitch = width;
    frame.pixels.assign(static_cast<size_t>(width) * height, index);
    return frame;
}

const BackendDriver& ChooseBackend(const char* override, bool displayPresent)
{
    if (override && *override)
        return std::strcmp(override, "sdl") == 0 ? kSdlBackend : kHeadlessBackend;
    return displayPresent ? kSdlBackend : kHeadlessBackend;
}

bool StartProgramPlatform()
{
    Clock::UseRealTime();
    const BackendDriver& driver
        = ChooseBackend(std::getenv("PLUMEWRIGHT_BACKEND"), IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"));
    if (UseBackend(driver))
        return true;
    std::fprintf(stderr, "plumewright: the %s display could not be started\n", driver.name);
    return false;
}

void StopProgramPlatform()
{
    TheState().driver->Quit();
    TheState().driver = &kHeadlessBackend;
}

const BackendDriver& CurrentBackend()
{
    return *TheState().driver;
}

bool UseBackend(const BackendDriver& driver)
{
    State& s = TheState();
    if (s.driver == &driver)
        return true;
    s.driver->Quit();
    if (driver.Init()) {
        s.driver = &driver;
        return true;
    }
    s.driver = &kHeadlessBackend;
    s.driver->Init();
    return false;
}

void PollBackendInput()
{
    TheState().driver->PollInput();
}

void WaitForBackendEvents(uint32_t timeoutMs)
{
    // Socket notifications are made when messages are retrieved; while a socket waits for I/O
    // the wait for input stays short, so its events are not held up until the next timer.
    if (SocketsExpectEvents())
        timeoutMs = std::min(timeoutMs, kSocketWaitMs);
    TheState().driver->WaitForEvents(timeoutMs);
}

void PresentFrame(const Frame& frame)
{
    State& s = TheState();
    s.lastFrame = frame;
    ++s.frameSerial;
    s.driver->Present(frame);
}

const Frame* LastPresentedFrame()
{
    const State& s = TheState();
    return s.lastFrame ? &*s.lastFrame : nullptr;
}

uint64_t FrameSerial()
{
    return TheState().frameSerial;
}

void PresentOverlay(const Frame& frame)
{
    TheState().driver->Present(frame);
}

std::optional<std::string> GetBackendClipboardText()
{
    return TheState().driver->GetClipboardText();
}

bool SetBackendClipboardText(const std::string& text)
{
    return TheState().driver->SetClipboardText(text);
}

void PushInputEvent(const InputEvent& event)
{
    auto& input = TheState().input;
    if (input.size() >= kMaxPendingInput)
        input.pop_front();
    input.push_back(event);
}

bool TakeInputEvent(InputEvent& event)
{
    auto& input = TheState().input;
    if (input.empty())
        return false;
    event = input.front();
    input.pop_front();
    return true;
}

size_t PendingInputCount()
{
    return TheState().input.size();
}

} // namespace pw::platform
