#include "platform/backend/Backend.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/sdl/SdlBackend.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

namespace pw::platform::tests {

namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(Backend, ChoiceFollowsTheOverrideElseTheDisplay)
{
    struct Case {
        const char* override;
        bool display;
        const BackendDriver* expected;
    };
    for (Case c : { Case { nullptr, false, &kHeadlessBackend }, Case { nullptr, true, &kSdlBackend },
             Case { "", true, &kSdlBackend }, Case { "headless", true, &kHeadlessBackend },
             Case { "sdl", false, &kSdlBackend }, Case { "nonsense", true, &kHeadlessBackend } }) {
        SCOPED_TRACE(std::string(c.override ? c.override : "(unset)") + (c.display ? " with display" : ""));
        EXPECT_EQ(&ChooseBackend(c.override, c.display), c.expected);
    }
}

TEST(Backend, PresentedFramesAreKeptAndCounted)
{
    // Tests run headless, with nothing presented yet.
    EXPECT_EQ(&CurrentBackend(), &kHeadlessBackend);
    EXPECT_EQ(LastPresentedFrame(), nullptr);
    Frame frame = Frame::Blank(4, 3, 9);
    frame.At(3, 2) = 200;
    PresentFrame(frame);
    PresentFrame(frame);
    ASSERT_NE(LastPresentedFrame(), nullptr);
    EXPECT_EQ(LastPresentedFrame()->pixels, frame.pixels);
    EXPECT_EQ(FrameSerial(), 2u);
    // An overlay (a message box) is shown but is not the screen's image.
    PresentOverlay(Frame::Blank(4, 3, 0));
    EXPECT_EQ(LastPresentedFrame()->pixels, frame.pixels);
}

TEST(Backend, FramesEncodeAsBottomUpEightBitBmp)
{
    Frame frame = Frame::Blank(3, 2, 0);
    frame.At(0, 0) = 1;
    frame.At(2, 1) = 2;
    frame.palette[1] = PaletteColor { 0x11, 0x22, 0x33 };
    std::vector<uint8_t> bmp = EncodeFrameAsBmp(frame);
    const size_t pixelsAt = 14 + 40 + 1024;
    ASSERT_EQ(bmp.size(), pixelsAt + 2 * 4);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(Read32(bmp, 2), bmp.size());
    EXPECT_EQ(Read32(bmp, 10), pixelsAt);
    EXPECT_EQ(Read32(bmp, 18), 3u);
    EXPECT_EQ(Read32(bmp, 22), 2u);
    EXPECT_EQ(bmp[28], 8);
    // Colour table entries are blue, green, red, 0.
    EXPECT_EQ(Read32(bmp, 54 + 4), 0x00112233u);
    // The bottom row comes first, each row padded to four bytes.
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + pixelsAt, bmp.end()), (std::vector<uint8_t> { 0, 0, 2, 0, 1, 0, 0, 0 }));
}

TEST(Backend, TheInputQueueDropsTheOldestEventsWhenNobodyReads)
{
    for (int i = 0; i < 5000; ++i)
        PushInputEvent(InputEvent { InputKind::MouseMove, i, 0 });
    EXPECT_EQ(PendingInputCount(), 4096u);
    InputEvent event;
    ASSERT_TRUE(TakeInputEvent(event));
    EXPECT_EQ(event.x, 5000 - 4096);
}

// Each key read from the display carries the modifiers held when it was pressed or let go, and
// a click those of the key before it: a capital typed quickly, Shift let go before the program
// reads the letter, stays a capital.
TEST(Backend, SdlInputCarriesTheModifiersHeldWhenEachEventWasMade)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    auto key = [](Uint32 type, SDL_Keycode code, Uint16 mod) {
        SDL_Event e {};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = code;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    };
    key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT);
    key(SDL_KEYDOWN, SDLK_k, KMOD_LSHIFT);
    key(SDL_KEYUP, SDLK_k, KMOD_LSHIFT);
    key(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE);
    SDL_Event click {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&click);
    key(SDL_KEYDOWN, SDLK_k, KMOD_LCTRL);
    kSdlBackend.PollInput();
    SDL_QuitSubSystem(SDL_INIT_EVENTS);

    std::vector<std::string> read;
    InputEvent event;
    while (TakeInputEvent(event))
        read.push_back(std::to_string(int(event.kind)) + " " + std::to_string(event.virtualKey) + (event.shift ? " shift" : "")
            + (event.control ? " control" : ""));
    // "<kind> <virtual key>": 16 is Shift, 75 the K key.
    const std::string down = std::to_string(int(InputKind::KeyDown));
    const std::string up = std::to_string(int(InputKind::KeyUp));
    EXPECT_EQ(read, (std::vector<std::string> { down + " 16 shift", down + " 75 shift", up + " 75 shift", up + " 16",
                        std::to_string(int(InputKind::MouseDown)) + " 0", down + " 75 control" }));
}

} // namespace

} // namespace pw::platform::tests
