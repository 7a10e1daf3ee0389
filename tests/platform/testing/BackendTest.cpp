#include "platform/backend/Backend.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/sdl/SdlBackend.h"

#include <gtest/gtest.h>

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

} // namespace

} // namespace pw::platform::tests
