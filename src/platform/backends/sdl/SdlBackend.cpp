#include "platform/backends/sdl/SdlBackend.h"

#include "platform/backends/sdl/SdlAudioDevice.h"
#include "platform/kernel/CodePage.h"
#include "platform/winmm/AudioDevice.h"

#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace pw::platform {

namespace {

struct State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // The desktop's size: the renderer's logical size, which SDL scales to the window.
    int width = 0;
    int height = 0;
    // The modifier keys held as of the last key event read. SDL's own state is that after every
    // event already fetched from the display, so a capital typed quickly (Shift let go before the
    // program reads the letter) would read as a small letter.
    SDL_Keymod modifiers = KMOD_NONE;
};

State& TheState()
{
    static State state;
    return state;
}

constexpr int kStartWidth = 640;
constexpr int kStartHeight = 480;
// Room left around the window for the desktop's own panels and the window's decorations.
constexpr int kMarginX = 40;
constexpr int kMarginY = 80;

// The largest whole multiple of the desktop that fits the display, so pixels stay square and sharp.
int StartScale()
{
    SDL_Rect usable {};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return 1;
    return std::max(1, std::min((usable.w - kMarginX) / kStartWidth, (usable.h - kMarginY) / kStartHeight));
}

// PLUMEWRIGHT_SCREENSHOT names a BMP file that receives what the window shows when the backend
// quits (the end-to-end tests read it).
void SaveScreenshot(const State& s)
{
    const char* path = std::getenv("PLUMEWRIGHT_SCREENSHOT");
    if (!path || !*path || !s.renderer || !s.texture)
        return;
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(s.renderer, &width, &height) != 0)
        return;
    SDL_RenderClear(s.renderer);
    SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
    SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
    if (!shot)
        return;
    if (SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_BGR24, shot->pixels, shot->pitch) == 0
        && SDL_SaveBMP(shot, path) != 0)
        std::fprintf(stderr, "plumewright: SDL: %s\n", SDL_GetError());
    SDL_FreeSurface(shot);
}

bool Init()
{
    // The close box is the program's to answer (it may ask to save, or refuse while a dialog is
    // up); a termination signal ends the program whatever it is doing.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "plumewright: SDL: %s\n", SDL_GetError());
        return false;
    }
    State& s = TheState();
    int scale = StartScale();
    s.window = SDL_CreateWindow("Plumewright", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kStartWidth * scale,
        kStartHeight * scale, SDL_WINDOW_RESIZABLE);
    if (s.window)
        s.renderer = SDL_CreateRenderer(s.window, -1, 0);
    if (!s.renderer) {
        std::fprintf(stderr, "plumewright: SDL: %s\n", SDL_GetError());
        if (s.window)
            SDL_DestroyWindow(s.window);
        SDL_Quit();
        s = State {};
        return false;
    }
    // Nearest-neighbour scaling of the 8-bit desktop, letterboxed to keep its shape; mouse
    // positions come back in desktop pixels.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_RenderSetLogicalSize(s.renderer, kStartWidth, kStartHeight);
    s.width = kStartWidth;
    s.height = kStartHeight;
    // The platform draws its own cursor on the desktop.
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    s.modifiers = SDL_GetModState();
    winmm::SetAudioDevice(std::make_unique<SdlAudioDevice>());
    return true;
}

void Quit()
{
    State& s = TheState();
    if (!s.window)
        return;
    SaveScreenshot(s);
    winmm::SetAudioDevice(nullptr);
    if (s.texture)
        SDL_DestroyTexture(s.texture);
    if (s.renderer)
        SDL_DestroyRenderer(s.renderer);
    SDL_DestroyWindow(s.window);
    SDL_Quit();
    s = State {};
}

UINT VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<UINT>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<UINT>('0' + (key - SDLK_0));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return static_cast<UINT>('1' + (key - SDLK_KP_1));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<UINT>(VK_F1 + (key - SDLK_F1));
    switch (key) {
    case SDLK_KP_0: return '0';
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    default: return 0;
    }
}

MouseButton ButtonOf(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    default: return MouseButton::None;
    }
}

// Shows the last frame again (the window was resized or uncovered).
void Redraw()
{
    State& s = TheState();
    if (!s.renderer || !s.texture)
        return;
    SDL_RenderClear(s.renderer);
    SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
    SDL_RenderPresent(s.renderer);
}

// A pointer position in desktop pixels: outside the letterboxed desktop it is held at the edge.
void PlacePointer(InputEvent& event, int x, int y)
{
    const State& s = TheState();
    event.x = std::clamp(x, 0, std::max(0, s.width - 1));
    event.y = std::clamp(y, 0, std::max(0, s.height - 1));
}

// The typed text's characters that no key above gave (the US layout's keys give ASCII): each an
// accented letter or sign in the program's code page, "?" when the code page has none, pressed and
// released as VK_PACKET.
void PushTypedCharacters(const char* utf8, const InputEvent& modifiers)
{
    std::string text(utf8);
    for (size_t i = 0; i < text.size();) {
        size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            for (char c : ProgramTextFromUtf8(text.substr(i, end - i))) {
                InputEvent event = modifiers;
                event.virtualKey = VK_PACKET;
                event.character = static_cast<uint8_t>(c);
                event.kind = InputKind::KeyDown;
                PushInputEvent(event);
                event.kind = InputKind::KeyUp;
                PushInputEvent(event);
            }
        }
        i = end;
    }
}

// Each event carries the modifiers held when it was made: a key event its own, any other event
// those of the last key event before it.
void Convert(const SDL_Event& e)
{
    InputEvent event;
    SDL_Keymod& mods = TheState().modifiers;
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP)
        mods = static_cast<SDL_Keymod>(e.key.keysym.mod);
    event.shift = (mods & KMOD_SHIFT) != 0;
    event.control = (mods & KMOD_CTRL) != 0;
    event.alt = (mods & KMOD_ALT) != 0;
    switch (e.type) {
    case SDL_QUIT:
        // Only a termination signal (SIGTERM, SIGINT) sends it: the close box does not (see Init).
        event.kind = InputKind::QuitRequest;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            event.kind = InputKind::CloseRequest;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            event.kind = InputKind::Activate;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            event.kind = InputKind::Deactivate;
        else if (e.window.event == SDL_WINDOWEVENT_LEAVE)
            event.kind = InputKind::MouseLeave;
        else {
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_EXPOSED)
                Redraw();
            return;
        }
        break;
    case SDL_MOUSEMOTION:
        event.kind = InputKind::MouseMove;
        PlacePointer(event, e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        event.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
        PlacePointer(event, e.button.x, e.button.y);
        event.button = ButtonOf(e.button.button);
        if (event.button == MouseButton::None)
            return;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
        event.virtualKey = VirtualKeyOf(e.key.keysym.sym);
        event.repeat = e.key.repeat != 0;
        if (event.virtualKey == 0)
            return;
        break;
    case SDL_TEXTINPUT:
        PushTypedCharacters(e.text.text, event);
        return;
    default:
        return;
    }
    PushInputEvent(event);
}

void PollInput()
{
    SDL_Event e;
    while (SDL_PollEvent(&e))
        Convert(e);
}

void WaitForEvents(uint32_t timeoutMs)
{
    SDL_Event e;
    int timeout = timeoutMs == kWaitForever ? -1 : static_cast<int>(std::min<uint32_t>(timeoutMs, INT_MAX));
    if (SDL_WaitEventTimeout(&e, timeout))
        Convert(e);
    PollInput();
}

void Present(const Frame& frame)
{
    State& s = TheState();
    if (!s.renderer || frame.width <= 0 || frame.height <= 0)
        return;
    if (!s.texture || frame.width != s.width || frame.height != s.height) {
        if (s.texture)
            SDL_DestroyTexture(s.texture);
        s.width = frame.width;
        s.height = frame.height;
        SDL_RenderSetLogicalSize(s.renderer, s.width, s.height);
        s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
            s.width, s.height);
        if (!s.texture)
            return;
    }
    void* target = nullptr;
    int targetPitch = 0;
    if (SDL_LockTexture(s.texture, nullptr, &target, &targetPitch) != 0)
        return;
    Uint32 colours[256];
    for (size_t i = 0; i < 256; ++i) {
        PaletteColor c = i < frame.palette.size() ? frame.palette[i] : PaletteColor {};
        colours[i] = 0xFF000000u | Uint32(c.red) << 16 | Uint32(c.green) << 8 | c.blue;
    }
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* from = frame.pixels.data() + static_cast<size_t>(y) * frame.pitch;
        auto* to = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(target) + static_cast<size_t>(y) * targetPitch);
        for (int x = 0; x < frame.width; ++x)
            to[x] = colours[from[x]];
    }
    SDL_UnlockTexture(s.texture);
    SDL_RenderClear(s.renderer);
    SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
    SDL_RenderPresent(s.renderer);
}

std::optional<std::string> GetClipboardText()
{
    if (!SDL_HasClipboardText())
        return std::nullopt;
    char* text = SDL_GetClipboardText();
    if (!text)
        return std::nullopt;
    std::string result(text);
    SDL_free(text);
    return result;
}

bool SetClipboardText(const std::string& text)
{
    return SDL_SetClipboardText(text.c_str()) == 0;
}

} // namespace

const BackendDriver kSdlBackend {
    "sdl",
    Init,
    Quit,
    PollInput,
    WaitForEvents,
    Present,
    GetClipboardText,
    SetClipboardText,
};

} // namespace pw::platform
