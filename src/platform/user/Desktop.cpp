#include "platform/user/Desktop.h"

#include "platform/gdi/Screen.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"
#include "platform/user/Cursors.h"
#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Painting.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pw::platform {

using gdi::RegionData;

namespace {

constexpr uint64_t kPresentIntervalMs = 16;

struct Shown {
    HWND hwnd;
    RECT rect;
    RECT client;
    RegionData own;
};

struct State {
    int changeDepth = 0;
    std::vector<Shown> before;
    RegionData desktopBefore;
    uint64_t lastPresentMs = 0;
    // The screen size the background was painted for; a fresh screen (0 x 0) is painted whole.
    SIZE painted {};
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

std::vector<Shown> SnapshotWindows()
{
    std::vector<Shown> shown;
    for (HWND hwnd : WindowTable::Handles()) {
        const Window* window = WindowTable::Find(hwnd);
        if (window && IsShown(*window))
            shown.push_back(Shown { hwnd, ScreenRect(*window), ClientScreenRect(*window), Visibility::OwnRegion(*window) });
    }
    return shown;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ExposeChanges(const std::vector<Shown>& before, const RegionData& desktopBefore)
{
    for (const Shown& now : SnapshotWindows()) {
        auto old = std::find_if(before.begin(), before.end(), [&](const Shown& s) { return s.hwnd == now.hwnd; });
        bool moved = old == before.end() || !SameRect(old->rect, now.rect) || !SameRect(old->client, now.client);
        RegionData gained = moved ? now.own : RegionData::Combine(now.own, old->own, gdi::kRgnDiff);
        if (Window* window = WindowTable::Find(now.hwnd); window && !gained.IsEmpty())
            Painting::Expose(*window, gained);
    }
    RegionData desktop = Visibility::DesktopRegion();
    Desktop::PaintBackground(RegionData::Combine(desktop, desktopBefore, gdi::kRgnDiff));
    Painting::RefreshWindowDCs();
}

// A screen that was made afresh (at start, or resized by a test) gets its background and every
// window's frame and client area back.
void EnsurePainted()
{
    State& s = TheState();
    const gdi::ScreenSettings& screen = gdi::Screen::Settings();
    if (s.painted.cx == screen.width && s.painted.cy == screen.height)
        return;
    s.painted = SIZE { screen.width, screen.height };
    Desktop::PaintBackground(Visibility::DesktopRegion());
    for (const Shown& shown : SnapshotWindows()) {
        if (Window* window = WindowTable::Find(shown.hwnd))
            Painting::Expose(*window, shown.own);
    }
}

} // namespace

void Desktop::FillRect(const RegionData& clip, const RECT& rect, uint8_t index)
{
    gdi::Surface screen = gdi::Screen::GetSurface();
    RECT bounds = IntersectRects(rect, screen.Bounds());
    clip.ForEachRectInside(bounds, [&](const RECT& piece) {
        for (LONG y = piece.top; y < piece.bottom; ++y)
            std::memset(screen.Row(y) + piece.left, index, static_cast<size_t>(piece.right - piece.left));
    });
}

void Desktop::PaintBackground(const RegionData& region)
{
    FillRect(region, region.Box(), kBackground);
}

Frame Desktop::Compose(bool withCursor)
{
    EnsurePainted();
    gdi::Surface screen = gdi::Screen::GetSurface();
    Frame frame = Frame::Blank(screen.width, screen.height, 0);
    for (int y = 0; y < screen.height; ++y)
        std::memcpy(&frame.At(0, y), screen.Row(y), static_cast<size_t>(screen.width));
    auto palette = gdi::Screen::SystemPalette();
    for (size_t i = 0; i < palette.size(); ++i)
        frame.palette[i] = PaletteColor { palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue };
    if (withCursor && InputRouter::MouseInside())
        Cursors::Draw(frame, InputRouter::MousePosition());
    return frame;
}

void Desktop::PresentIfChanged()
{
    TheState().lastPresentMs = Clock::NowMs();
    Frame frame = Compose(true);
    const Frame* last = LastPresentedFrame();
    if (last && last->width == frame.width && last->height == frame.height && last->pixels == frame.pixels) {
        bool samePalette = std::equal(frame.palette.begin(), frame.palette.end(), last->palette.begin(),
            [](const PaletteColor& a, const PaletteColor& b) {
                return a.red == b.red && a.green == b.green && a.blue == b.blue;
            });
        if (samePalette)
            return;
    }
    PresentFrame(frame);
}

void Desktop::PresentWhenDue()
{
    if (Clock::IsVirtual())
        return;
    if (Clock::NowMs() - TheState().lastPresentMs >= kPresentIntervalMs)
        PresentIfChanged();
}

DesktopChange::DesktopChange()
{
    State& s = TheState();
    if (s.changeDepth++ == 0) {
        EnsurePainted();
        s.before = SnapshotWindows();
        s.desktopBefore = Visibility::DesktopRegion();
    }
}

DesktopChange::~DesktopChange()
{
    State& s = TheState();
    if (--s.changeDepth > 0)
        return;
    std::vector<Shown> before = std::move(s.before);
    RegionData desktopBefore = std::move(s.desktopBefore);
    s.before.clear();
    ExposeChanges(before, desktopBefore);
}

} // namespace pw::platform
