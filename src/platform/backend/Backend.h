// The small interface between the platform floor and what shows it: the headless backend (tests,
// memory the tests read) or the SDL backend (a real window, mouse, keyboard, clipboard text).
// Like a video driver table: each backend fills one BackendDriver; the rest of the floor calls the
// functions below, never a backend directly.
#pragma once

#include <windef.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// The module handle that names the program itself (LoadStringA(NULL, …) and WinMain's instance).
HINSTANCE ProgramInstance();

// Brings the platform up for the windowed program: real clock, SDL backend when a display is
// present (PLUMEWRIGHT_BACKEND=headless|sdl overrides); false (reported on stderr) when the chosen
// backend cannot start. StopProgramPlatform takes it down at exit.
bool StartProgramPlatform();
void StopProgramPlatform();

struct PaletteColor {
    uint8_t red { 0 };
    uint8_t green { 0 };
    uint8_t blue { 0 };
};

// An 8-bit screen image: rows of `pitch` bytes, each pixel an index into the 256-entry palette.
struct Frame {
    int width { 0 };
    int height { 0 };
    int pitch { 0 };
    std::vector<uint8_t> pixels;
    std::vector<PaletteColor> palette = std::vector<PaletteColor>(256);

    static Frame Blank(int width, int height, uint8_t index);
    uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * pitch + x]; }
};

// Input as a backend reports it, in screen pixels; turned into window messages by USER.
enum class InputKind : uint8_t {
    MouseMove,
    MouseDown,
    MouseUp,
    KeyDown,
    KeyUp,
    // The host window's close box.
    CloseRequest,
    // The process was asked to end (a termination signal): the program's loops end.
    QuitRequest,
    // The host window gained or lost the keyboard.
    Activate,
    Deactivate,
    // The pointer left the host window (the cursor is not drawn until it comes back).
    MouseLeave,
};

enum class MouseButton : uint8_t {
    None,
    Left,
    Right,
    Middle,
};

struct InputEvent {
    InputKind kind { InputKind::MouseMove };
    int x { 0 };
    int y { 0 };
    MouseButton button { MouseButton::None };
    UINT virtualKey { 0 };
    // With VK_PACKET: the character typed, in the program's code page (Windows-1252).
    uint8_t character { 0 };
    bool shift { false };
    bool control { false };
    bool alt { false };
    // A key held down repeating.
    bool repeat { false };
};

// A backend's operations. Every pointer is set; a backend without a feature fills a stub.
struct BackendDriver {
    const char* name;
    bool (*Init)();
    void (*Quit)();
    // Moves pending events into the input queue (PushInputEvent).
    void (*PollInput)();
    // Waits until an event arrives or `timeoutMs` passes (kWaitForever: no limit), then polls.
    void (*WaitForEvents)(uint32_t timeoutMs);
    void (*Present)(const Frame& frame);
    std::optional<std::string> (*GetClipboardText)();
    bool (*SetClipboardText)(const std::string& text);
};

constexpr uint32_t kWaitForever = UINT32_MAX;

// The backend PLUMEWRIGHT_BACKEND asks for ("headless" or "sdl"), else sdl when DISPLAY or
// WAYLAND_DISPLAY is set, else headless. Unknown override values choose headless.
const BackendDriver& ChooseBackend(const char* override, bool displayPresent);

// The backend in use (headless until another is installed) and its replacement: the old one is
// quit, the new one initialised; false when the new one fails to start (then headless is used).
const BackendDriver& CurrentBackend();
bool UseBackend(const BackendDriver& driver);

void PollBackendInput();
void WaitForBackendEvents(uint32_t timeoutMs);

// Shows `frame` and keeps it as the screen's last image; FrameSerial counts presentations.
void PresentFrame(const Frame& frame);
const Frame* LastPresentedFrame();
uint64_t FrameSerial();

// Shows an image over the screen without making it the screen's image (a message box).
void PresentOverlay(const Frame& frame);

std::optional<std::string> GetBackendClipboardText();
bool SetBackendClipboardText(const std::string& text);

// The platform's input queue, filled by backends and by the test driver; USER turns its events
// into messages as they are retrieved. Bounded: the oldest events are dropped when nobody reads
// them.
void PushInputEvent(const InputEvent& event);
bool TakeInputEvent(InputEvent& event);
size_t PendingInputCount();

} // namespace pw::platform
