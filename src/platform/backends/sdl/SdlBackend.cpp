#include "platform/backends/sdl/SdlBackend.h"

#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace pw::platform {

namespace {

struct State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
};

State& TheState()
{
    static State state;
    return state;
}

constexpr int kStartWidth = 640;
constexpr int kStartHeight = 480;

bool Init()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "plumewright: SDL: %s\n", SDL_GetError());
        return false;
    }
    State& s = TheState();
    s.window = SDL_CreateWindow("Plumewright", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kStartWidth,
        kStartHeight, 0);
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
    s.width = kStartWidth;
    s.height = kStartHeight;
    return true;
}

void Quit()
{
    State& s = TheState();
    if (s.texture)
        SDL_DestroyTexture(s.texture);
    if (s.renderer)
        SDL_DestroyRenderer(s.renderer);
    if (s.window)
        SDL_DestroyWindow(s.window);
    if (s.window)
        SDL_Quit();
    s = State {};
}

UINT VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<UINT>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<UINT>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<UINT>(VK_F1 + (key - SDLK_F1));
    switch (key) {
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

void Convert(const SDL_Event& e)
{
    InputEvent event;
    SDL_Keymod mods = SDL_GetModState();
    event.shift = (mods & KMOD_SHIFT) != 0;
    event.control = (mods & KMOD_CTRL) != 0;
    event.alt = (mods & KMOD_ALT) != 0;
    switch (e.type) {
    case SDL_QUIT:
        event.kind = InputKind::CloseRequest;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            event.kind = InputKind::Activate;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            event.kind = InputKind::Deactivate;
        else
            return;
        break;
    case SDL_MOUSEMOTION:
        event.kind = InputKind::MouseMove;
        event.x = e.motion.x;
        event.y = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        event.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
        event.x = e.button.x;
        event.y = e.button.y;
        event.button = ButtonOf(e.button.button);
        if (event.button == MouseButton::None)
            return;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
        event.virtualKey = VirtualKeyOf(e.key.keysym.sym);
        if (event.virtualKey == 0)
            return;
        break;
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
        SDL_SetWindowSize(s.window, s.width, s.height);
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
