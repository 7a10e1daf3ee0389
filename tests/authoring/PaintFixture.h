// Shared ground for the painting tests: a picture pane of 16 x 16 pixels at (10, 10) in a window
// that keeps finished tasks as its undo step, brush cursors written as text art, the current paint
// back at its starting values, and the picture read back as rows of letters ('.' white, '#'
// black, legend letters for the other colours, '?' for the rest).
#pragma once

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CShapeTool.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/App.h"

#include "authoring/AuthoringFixture.h"
#include "authoring/PaintWindow.h"

#include <string>
#include <vector>

namespace authoring {

using Grid = std::vector<std::string>;

// A shape tool that outlines the rectangle spanned in black; counts its track calls.
class OutlineTool : public CShapeTool {
public:
    OutlineTool()
        : CShapeTool(113, nullptr, false, nullptr)
    {
    }
    void TrackShape(Point&, Point, Point, BitFlags) override { ++tracked; }
    void DrawShape(DisplayPort& port, const Rect& rect, Point, Point, BitFlags) override
    {
        port.DrawRectangle(rect, Color(Color::kNoColor), Color(1), 1);
    }
    int tracked { 0 };
};

class PaintTest : public AuthoringTest {
protected:
    static constexpr int32_t kLeft = 10;
    static constexpr int32_t kTop = 10;
    static constexpr int32_t kSide = 16;

    void SetUp() override
    {
        AuthoringTest::SetUp();
        pw::authoring::PaintSettings::Reset();
        // Brush 6 paints one pixel at the hot spot, brush 7 a 3 x 3 square around it.
        PutArt(305, "hotspot 1 1\n.o.\no#o\n.o.\n");
        PutArt(306, "hotspot 2 2\nooooo\no###o\no###o\no###o\nooooo\n");
        page = new PaintWindow;
        app->AddWindow(SmartPtr<Window>(page.Get()), true);
        OpenPane();
    }
    void TearDown() override
    {
        pane = nullptr;
        page = nullptr;
        AuthoringTest::TearDown();
    }

    void OpenPane(const SmartPtr<CStamp>& picture = nullptr, const Rect& on = Rect(0, 0, 0, 0))
    {
        if (pane.Valid())
            page->RemoveChild(SmartPtr<View>(pane.Get()));
        pane = new CPixPane(page.Get(), kLeft, kTop, kLeft + kSide, kTop + kSide, on, picture);
        page->AddChild(SmartPtr<View>(pane.Get()));
        page->Show(true);
        driver::RunUntilIdle();
    }

    static void PutArt(int id, const std::string& art)
    {
        PutFile(std::to_string(id) + ".cur", std::vector<uint8_t>(art.begin(), art.end()));
    }

    void Use(const SmartPtr<Tool>& tool) { app->SetCurrentTool(tool); }

    // Mouse input at pane points (the pane's top-left is (0, 0) here).
    POINT Screen(int32_t h, int32_t v)
    {
        Point origin = page->GetContentOrigin();
        return POINT { origin.h + kLeft + h, origin.v + kTop + v };
    }
    void Press(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::PressMouse(p.x, p.y); driver::RunUntilIdle(); }
    void Move(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::MoveMouse(p.x, p.y); driver::RunUntilIdle(); }
    void Release(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::ReleaseMouse(p.x, p.y); driver::RunUntilIdle(); }
    void Stroke(std::initializer_list<Point> points)
    {
        auto at = points.begin();
        Press(at->h, at->v);
        for (++at; at != points.end(); ++at)
            Move(at->h, at->v);
        Release((points.end() - 1)->h, (points.end() - 1)->v);
    }

    static char Letter(const Color& color)
    {
        if (color.Equals(Color(0)))
            return '.';
        if (color.Equals(Color(1)))
            return '#';
        for (const auto& [letter, rgb] : Legend()) {
            if ((color.red >> 8) == (rgb >> 16) && (color.green >> 8) == ((rgb >> 8) & 0xFF) && (color.blue >> 8) == (rgb & 0xFF))
                return letter;
        }
        return '?';
    }
    static Grid Rows(BitMap& bitmap, const Rect& within)
    {
        Grid rows;
        for (int32_t v = within.top; v < within.bottom; ++v) {
            std::string row;
            for (int32_t h = within.left; h < within.right; ++h)
                row += Letter(bitmap.GetColorOfValue(bitmap.GetPixelValue(h, v)));
            rows.push_back(row);
        }
        return rows;
    }
    // The picture's pixels in the rectangle (picture coordinates).
    Grid Picture(const Rect& within) { return Rows(*pane->GetOffScreen()->GetBitMap().Get(), within); }
    // What the window shows over the same picture rectangle.
    Grid Shown(const Rect& within)
    {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadDesktop();
        Point origin = page->GetContentOrigin();
        Grid rows;
        for (int32_t v = within.top; v < within.bottom; ++v) {
            std::string row;
            for (int32_t h = within.left; h < within.right; ++h) {
                const auto& rgb = shown.palette[shown.At(origin.h + kLeft + h, origin.v + kTop + v)];
                Color color;
                color.SetBytes(rgb.red, rgb.green, rgb.blue, 0);
                row += Letter(color);
            }
            rows.push_back(row);
        }
        return rows;
    }
    // Paints black pixels into the picture directly, for a starting picture.
    void Blot(const Rect& rect)
    {
        DisplayPort port(*pane->GetOffScreen().Get(), pane->GetOffScreen()->GetBounds(), 0);
        port.DrawRectangle(rect, Color(1), Color(1), 1);
    }

    SmartPtr<PaintWindow> page;
    SmartPtr<CPixPane> pane;
};

} // namespace authoring
