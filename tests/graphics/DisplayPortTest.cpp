#include "graphics/DisplayPort.h"

#include "foundation/Alert.h"
#include "graphics/ColorPaint.h"
#include "graphics/ColoredPatternPaint.h"
#include "graphics/PatternPaint.h"
#include "graphics/PlatformConversions.h"
#include "graphics/PortSaver.h"
#include "graphics/TextStyle.h"
#include "graphics/Translation.h"
#include "graphics/WinVersion.h"

#include "platform/gdi/GdiTesting.h"
#include "platform/testing/TestDriver.h"

#include "PortFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace ports;

namespace {

class DisplayPortTest : public bitmaps::WithStandardPalette { };

struct Operation {
    const char* name;
    std::function<void(DisplayPort&)> draw;
    const char* expected;
};

struct Draw {
    const char* name;
    std::function<void(DisplayPort&)> draw;
};

TypedArray<Point> Points(std::initializer_list<Point> points)
{
    TypedArray<Point> list;
    for (const Point& point : points)
        list.Append(point);
    return list;
}

// A 1-bit mask bitmap from text art: '#' for 0 (paint), '.' for 1.
SmartPtr<BitMap> Mask(int32_t width, int32_t height, const std::string& art)
{
    SmartPtr<BitMap> mask = new BitMap(width, height, ColorTable::Setup(1), Color(0), false);
    PixelIterator cursor(*mask.Get(), mask->GetBounds(), true);
    for (char name : art) {
        if (name == '|')
            continue;
        cursor.SetPixel(name == '#' ? 0 : 1);
        cursor.Next();
    }
    return mask;
}

} // namespace

// Every operation draws on a 10 x 6 white buffer through a port moved by (2, 1) and clipped to
// the port's rectangle (0, 0, 6, 4), device (2, 1, 8, 5).
TEST_F(DisplayPortTest, OperationsUnderClipAndTransform)
{
    ColorPaint red(Color(7));
    ColorPaint blue(Color(9));
    ColorPaint none { Color(Color::kNoColor) };
    auto blacken = [](DisplayPort& port) { port.DrawRectangle(Rect(-2, -1, 8, 5), Color(1), Color(1), 1); };
    Operation operations[] = {
        { "rectangle", [&](DisplayPort& port) { port.DrawRectangle(Rect(1, 1, 7, 4), red, blue, 1); },
            "..........|..........|...bbbbb..|...brrrr..|...bbbbb..|.........." },
        { "rectangle without pen", [&](DisplayPort& port) { port.DrawRectangle(Rect(1, 1, 5, 4), red, none, 1); },
            "..........|..........|...rrr....|...rrr....|..........|.........." },
        { "round rectangle", [&](DisplayPort& port) { port.DrawRoundRect(Rect(-1, 1, 3, 9), 3, 3, none, blue, 1); },
            "..........|..........|..bbb.....|....b.....|....b.....|.........." },
        { "oval", [&](DisplayPort& port) { port.DrawOval(Rect(0, 0, 6, 4), red, blue, 1); },
            "..........|...bbbb...|..brrrrb..|..brrrrb..|...bbbb...|.........." },
        { "polygon", [&](DisplayPort& port) { port.DrawPolygon(Points({ { 0, 0 }, { 5, 0 }, { 0, 5 } }), red, blue, 1); },
            "..........|..bbbbbb..|..brr.b...|..br.b....|..b.b.....|.........." },
        { "line", [&](DisplayPort& port) { port.DrawLine(-2, -1, 9, 10, Color(1), 1); },
            "..........|..........|..#.......|...#......|....#.....|.........." },
        { "bevel", [&](DisplayPort& port) { port.DrawBevel(Rect(1, 0, 4, 2), Color(7), Color(9), 1); },
            "..........|...rrr....|...r..b...|....bbb...|..........|.........." },
        { "area rectangles", [&](DisplayPort& port) {
             Area area(Rect(0, 0, 3, 2));
             area.Merge(Area(Rect(4, 2, 9, 9)));
             port.DrawAreaRects(area, red, blue);
         },
            "..........|..bbb.....|..bbb.....|......bb..|......br..|.........." },
        { "frame in colours", [&](DisplayPort& port) { port.FrameRect(Rect(1, 0, 4, 2), Color(7), Color(9), 1); },
            "..........|...rrr....|...r..b...|....bbb...|..........|.........." },
        { "area rectangles in colours, framed 2 wide", [&](DisplayPort& port) {
             port.DrawAreaRects(Area(Rect(0, 0, 6, 4)), Color(7), Color(9), 2);
         },
            "..........|..bbbbbb..|..brrrbb..|..bbbbbb..|..bbbbbb..|.........." },
        { "checkerboard", [&](DisplayPort& port) { blacken(port), port.FillRect(Rect(1, 1, 6, 4)); },
            "..........|..######..|..#.#.##..|..##.#.#..|..######..|.........." },
        { "erase", [&](DisplayPort& port) { blacken(port), port.EraseArea(Area(Rect(1, 1, 4, 3))); },
            "..........|..######..|..#...##..|..#...##..|..######..|.........." },
        { "string without text", [&](DisplayPort& port) { blacken(port), port.DrawString("", 0, Rect(1, 1, 4, 3), Color(7)); },
            "..........|..######..|..#...##..|..#...##..|..######..|.........." },
        { "invert", [&](DisplayPort& port) { port.InvertRect(Rect(3, -1, 12, 2)); },
            "..........|.....xxx..|.....xxx..|..........|..........|.........." },
        { "invert frame", [&](DisplayPort& port) { port.InvertFrame(Rect(0, 0, 5, 4), 1); },
            "..........|..xxxxx...|..x...x...|..x...x...|..xxxxx...|.........." },
        { "invert frame of thickness 0", [&](DisplayPort& port) { port.InvertFrame(Rect(0, 0, 5, 4), 0); },
            "..........|..........|..........|..........|..........|.........." },
        { "paint through a mask", [&](DisplayPort& port) {
             ColoredPatternPaint checks(Color(9), Pattern(3), Color(7));
             port.PaintBitMap(*Mask(4, 3, "##..|#..#|.##.").Get(), checks);
         },
            "..........|..br......|..r..b....|...rb.....|..........|.........." },
    };
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.name);
        OffScreen buffer(10, 6, 8, Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            Translation moved(2, 1);
            port.ApplyTransform(moved);
            port.NarrowClip(Area(Rect(0, 0, 6, 4)));
            operation.draw(port);
        }
        EXPECT_EQ(Art(buffer), operation.expected);
    }
}

// A mask keeps the buffer its pattern is laid out in: a thousand paints, moved about, into an
// off-screen buffer or any other device, make one buffer, and each paint still aligns the pattern
// with the port's origin. A bitmap that takes over another's pixels takes its buffer too.
TEST_F(DisplayPortTest, MaskedPaintsReuseTheBitmapsPatternBuffer)
{
    ColoredPatternPaint checks(Color(9), Pattern(3), Color(7));
    SmartPtr<BitMap> mask = Mask(4, 3, "##..|#..#|.##.");
    OffScreen buffer(10, 6, 8, Color(0), true);
    for (int paint = 0; paint < 1000; ++paint) {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        Translation moved(paint % 7, paint % 3);
        port.ApplyTransform(moved);
        port.PaintBitMap(*mask.Get(), checks);
    }
    EXPECT_EQ(mask->PatternBuffersMade(), 1u);
    OffScreen fresh(10, 6, 8, Color(0), true);
    {
        DisplayPort port(fresh, fresh.GetBounds(), 0);
        Translation moved(2, 1);
        port.ApplyTransform(moved);
        port.PaintBitMap(*mask.Get(), checks);
    }
    EXPECT_EQ(Art(fresh), "..........|..br......|..r..b....|...rb.....|..........|..........");

    SmartPtr<BitMap> screen = new BitMap(10, 6, ColorTable::Setup(8), Color(0), false);
    BitMapDevice window(screen, Color(0), false);
    for (int paint = 0; paint < 1000; ++paint) {
        DisplayPort port(window, window.GetBounds(), 0);
        port.PaintBitMap(*mask.Get(), checks);
    }
    EXPECT_EQ(mask->PatternBuffersMade(), 1u);

    SmartPtr<BitMap> smaller = Mask(2, 2, "##|##");
    smaller->CopyFrom(mask.Get());
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        smaller->PaintThroughMask(port, checks);
    }
    EXPECT_EQ(smaller->PatternBuffersMade(), 0u);

    // Taking over a mask that has no buffer yet drops the old one: the next paint makes one, the
    // paint after it reuses it.
    smaller->CopyFrom(Mask(12, 2, "############|############").Get());
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        smaller->PaintThroughMask(port, checks);
        smaller->PaintThroughMask(port, checks);
    }
    EXPECT_EQ(smaller->PatternBuffersMade(), 1u);
}

TEST_F(DisplayPortTest, NoColourPaintsChangeNoPixel)
{
    const std::string picture = "rgb.#|#.rgb|b#.gr|ggrrb";
    ColorPaint none { Color(Color::kNoColor) };
    ColoredPatternPaint noForeground(Color(Color::kNoColor), Pattern(3), Color(7));
    Draw draws[] = {
        { "rectangle", [&](DisplayPort& port) { port.DrawRectangle(Rect(0, 0, 5, 4), none, none, 1); } },
        { "colour form", [&](DisplayPort& port) { port.DrawRectangle(Rect(0, 0, 5, 4), Color(13), Color(13), 2); } },
        { "pattern", [&](DisplayPort& port) { port.DrawRectangle(Rect(0, 0, 5, 4), noForeground, none, 1); } },
        { "oval", [&](DisplayPort& port) { port.DrawOval(Rect(0, 0, 5, 4), none, none, 1); } },
        { "polygon", [&](DisplayPort& port) { port.DrawPolygon(Points({ { 0, 0 }, { 4, 0 }, { 0, 3 } }), none, none, 1); } },
        { "line", [&](DisplayPort& port) { port.DrawLine(0, 0, 5, 4, Color(13), 1); } },
        { "bevel", [&](DisplayPort& port) { port.DrawBevel(Rect(0, 0, 4, 3), Color(13), Color(13), 1); } },
    };
    for (const Draw& draw : draws) {
        SCOPED_TRACE(draw.name);
        OffScreen buffer(5, 4, 8, Color(0), true);
        PaintArt(*buffer.GetBitMap().Get(), picture);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            draw.draw(port);
        }
        EXPECT_EQ(Art(buffer), picture);
    }
}

// A pattern alone selects nothing: as a brush it warns every time it is asked, as a pen it keeps
// quiet, so whatever the context held stays selected.
TEST_F(DisplayPortTest, PatternOnlyPaintSelectsNothing)
{
    Alert::EnableAlerts();
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK });
    OffScreen buffer(2, 2, 8, Color(0), true);
    DisplayPort port(buffer, buffer.GetBounds(), 0);
    HDC dc = port.GetHDC();
    HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    PatternPaint paint(Pattern(3));
    EXPECT_FALSE(paint.SelectAsBrush(dc));
    EXPECT_FALSE(paint.SelectAsBrush(dc));
    EXPECT_FALSE(paint.SelectAsPen(dc, 2));
    paint.ReleaseBrush(dc);
    paint.ReleasePen(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    const auto& alerts = pw::platform::testing::AlertLog();
    ASSERT_EQ(alerts.size(), 2u);
    for (const auto& alert : alerts)
        EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u) << alert.text;
    pw::foundation::SetAlertsEnabled(false);
}

// The context of a buffer's bitmap outlives the ports drawn through it: each leaves it as it found
// it, with the device's background, and leaks no platform object.
TEST_F(DisplayPortTest, ContextIsResetWhenThePortCloses)
{
    TextStyle framed(1, 12, 0, Color(9), Color(10));
    framed.GetFont();
    ColorTable::Setup(8);
    Draw draws[] = {
        { "checkerboard", [&](DisplayPort& port) { port.FillRect(Rect(0, 0, 10, 10)); } },
        { "pattern", [&](DisplayPort& port) {
             ColoredPatternPaint pattern(Color(9), Pattern(4), Color(8));
             port.DrawRectangle(Rect(0, 0, 10, 10), pattern, pattern, 1);
         } },
        { "text", [&](DisplayPort& port) { port.DrawText("Ab", 2, Rect(0, 0, 30, 20), framed); } },
        { "string", [&](DisplayPort& port) { port.DrawString("Ab", 2, Rect(0, 0, 30, 20), Color(8)); } },
        { "narrowed clip", [&](DisplayPort& port) { port.NarrowClip(Area(Rect(2, 2, 4, 4))); } },
    };
    for (const Draw& draw : draws) {
        SCOPED_TRACE(draw.name);
        size_t objects = pw::platform::gdi::testing::LiveObjectCount();
        OffScreen buffer(30, 20, 8, Color(7), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            draw.draw(port);
        }
        HDC dc = buffer.GetBitMap()->GetDC();
        EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
        EXPECT_EQ(GetTextColor(dc), ColorToOSColor(Color(1)));
        EXPECT_EQ(GetBkColor(dc), ColorToOSColor(Color(7)));
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        RECT clip;
        GetClipBox(dc, &clip);
        EXPECT_EQ(FromRECT(clip), Rect(0, 0, 30, 20));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
        buffer.SetBitMap(nullptr);
        EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objects);
    }
}

TEST_F(DisplayPortTest, PortOnADeviceThatIsNotDrawingDoesNothing)
{
    SmartPtr<BitMap> bitmap = new BitMap(6, 5, ColorTable::Setup(8), Color(0), false);
    const std::string picture = "rgb.#.|#.rgb.|b#.gr.|ggrrb.|......";
    PaintArt(*bitmap.Get(), picture);
    BitMapDevice device(bitmap, Color(9), true);
    device.Invalidate(Area(Rect(0, 0, 2, 2)));
    ColorPaint red(Color(7));
    TextStyle style(1, 12, 0, Color(1), Color(0));
    Draw draws[] = {
        { "rectangle", [&](DisplayPort& port) { port.DrawRectangle(Rect(0, 0, 5, 4), red, red, 1); } },
        { "line", [&](DisplayPort& port) { port.DrawLine(0, 0, 5, 4, Color(1), 1); } },
        { "checkerboard", [&](DisplayPort& port) { port.FillRect(Rect(0, 0, 6, 5)); } },
        { "invert", [&](DisplayPort& port) { port.InvertFrame(Rect(0, 0, 6, 5), 1); } },
        { "text", [&](DisplayPort& port) { port.DrawText("W", 1, Rect(0, 0, 6, 5), style); } },
        { "string", [&](DisplayPort& port) { port.DrawString("W", 1, Rect(0, 0, 6, 5), Color(7)); } },
        { "flood fill", [&](DisplayPort& port) { port.FloodFill(5, 4, *bitmap.Get()); } },
        { "mask", [&](DisplayPort& port) { port.PaintBitMap(*Mask(3, 2, "###|###").Get(), red); } },
        { "queries", [&](DisplayPort& port) {
             Area taken;
             port.TakeInvalidArea(Area(Rect(0, 0, 6, 5)), taken);
             EXPECT_TRUE(taken.IsEmpty());
             EXPECT_EQ(port.GetHDC(), nullptr);
             EXPECT_EQ(port.NearestPaletteIndex(Color(0)), 0u);
         } },
    };
    for (const Draw& draw : draws) {
        SCOPED_TRACE(draw.name);
        {
            DisplayPort port(device, device.GetBounds(), 0);
            draw.draw(port);
        }
        EXPECT_EQ(Art(*bitmap.Get()), picture);
        EXPECT_EQ(device.InvalidArea()->ComputeBounds(), Rect(0, 0, 2, 2));
    }
}

TEST_F(DisplayPortTest, ThinOvalIsLeftOutOnlyOnTheOldPlatform)
{
    for (WinVersion version : { Win31Only, Win95 }) {
        SCOPED_TRACE(version);
        pw::graphics::testing::ForceWinVersion(version);
        OffScreen buffer(6, 12, 8, Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            ColorPaint black(Color(1));
            port.DrawOval(Rect(2, 1, 4, 11), black, black, 1);
        }
        EXPECT_EQ(Art(buffer).find('#') != std::string::npos, version == Win95);
    }
}

// A port's clip stays its own: a nested port's clip is gone once that port closes.
TEST_F(DisplayPortTest, NestedPortsKeepTheirOwnClips)
{
    OffScreen buffer(8, 3, 8, Color(0), true);
    {
        DisplayPort outer(buffer, Rect(0, 0, 6, 3), 0);
        {
            DisplayPort inner(buffer, Rect(2, 0, 3, 3), 0);
            inner.DrawRectangle(Rect(0, 0, 8, 1), Color(7), Color(7), 1);
        }
        outer.DrawRectangle(Rect(0, 1, 8, 2), Color(9), Color(9), 1);
    }
    EXPECT_EQ(Art(buffer), "..r.....|bbbbbb..|........");

    HDC dc = buffer.GetBitMap()->GetDC();
    SmartPtr<Area> other = new Area(Rect(1, 1, 2, 2));
    DisplayPort port(buffer, Rect(0, 0, 4, 3), 0);
    SelectClipRgn(dc, other->GetRegion());
    port.SetClip(port.GetClip());
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(FromRECT(box), Rect(1, 1, 2, 2)) << "the same clip again does not touch the context";
    port.SetClip(nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(FromRECT(box), Rect(0, 0, 8, 3));
}

TEST_F(DisplayPortTest, TransformsAreCopiedThenCombined)
{
    OffScreen buffer(4, 4, 8, Color(0), true);
    DisplayPort port(buffer, buffer.GetBounds(), 0);
    Translation first(1, 2);
    port.ApplyTransform(first);
    first.SetOffset(100, 100);
    Translation second(10, 20);
    port.ApplyTransform(second);
    EXPECT_EQ(port.MapRect(Rect(0, 0, 1, 1)), Rect(11, 22, 12, 23)) << "the port holds a copy";
}

TEST_F(DisplayPortTest, FloodFillTakesDeviceCoordinatesAndStopsAtOtherColours)
{
    OffScreen buffer(7, 4, 8, Color(0), true);
    PaintArt(*buffer.GetBitMap().Get(), "..#...#|..#.#..|###.#..|....#..");
    SmartPtr<BitMap> pattern = new BitMap(8, 8, ColorTable::Setup(8), Color(0), false);
    PaintArt(*pattern.Get(), "rgrgrgrg|grgrgrgr|rgrgrgrg|grgrgrgr|rgrgrgrg|grgrgrgr|rgrgrgrg|grgrgrgr");
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        Translation moved(3, 0);
        port.ApplyTransform(moved);
        port.FloodFill(3, 1, *pattern.Get());
    }
    EXPECT_EQ(Art(buffer), "..#grg#|..#r#rg|###g#gr|grgr#rg");
}

// Standard colour 13 as the background draws the text alone.
TEST_F(DisplayPortTest, TextTakesTheStyleColours)
{
    for (bool transparent : { false, true }) {
        SCOPED_TRACE(transparent);
        OffScreen buffer(30, 20, 8, Color(0), true);
        TextStyle style(1, 12, 0, Color(1), transparent ? Color(Color::kNoColor) : Color(10));
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            port.DrawText("Hi", 2, Rect(0, 0, 30, 20), style);
        }
        std::string art = Art(buffer);
        EXPECT_NE(art.find('#'), std::string::npos);
        EXPECT_EQ(art.find('y') == std::string::npos, transparent);
        EXPECT_EQ(art.find_first_not_of(".#y|"), std::string::npos);
    }
}

namespace {

SIZE Extent(TextStyle& style, const std::string& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, style.GetFont());
    SIZE size {};
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

} // namespace

TEST_F(DisplayPortTest, MeasureTextGivesTheWidestLineOrTheWidthAndWrappedHeight)
{
    // The main window owns the measuring edit control.
    HWND main = CreateWindowExA(0, "STATIC", "Plumewright", WS_OVERLAPPEDWINDOW, 0, 0, 630, 465, nullptr, nullptr,
        nullptr, nullptr);
    Alert::SetOwnerWindow(main);
    TextStyle style(1, 12, 0, Color(1), Color(Color::kNoColor));
    SIZE line = Extent(style, "lineI");
    EXPECT_EQ(DisplayPort::MeasureText("line\na wider line\nx", 19, style, 0),
        Point(Extent(style, "a wider lineI").cx, 3 * line.cy));
    EXPECT_EQ(DisplayPort::MeasureText("", 0, style, 0), Point(0, 0));

    const std::string words = "the quick brown fox jumps over the lazy dog and then runs far away again";
    Point wrapped = DisplayPort::MeasureText(words.data(), int32_t(words.size()), style, 200);
    EXPECT_EQ(wrapped.h, 200);
    EXPECT_GT(wrapped.v, line.cy);
    EXPECT_EQ(wrapped.v % line.cy, 0);
    EXPECT_EQ(DisplayPort::MeasureText(words.data(), int32_t(words.size()), style, 0),
        Point(Extent(style, words + "I").cx, line.cy));
    EXPECT_EQ(FindWindowA("EDIT", nullptr), nullptr) << "the measuring control is gone";
    Alert::SetOwnerWindow(nullptr);
}
