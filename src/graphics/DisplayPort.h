#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/Transform.h"

#include <windows.h>

#include <cstdint>

class BitMap;
class DisplayDevice;
class Paint;
class TextStyle;

// The object through which everything draws: a short-lived port over the device context of one
// DisplayDevice, made on the stack for one drawing pass. It opens the device in its constructor
// and closes it in its destructor, leaving the context with R2_COPYPEN, black text and the
// device's background colour. Between the two it holds the clip (an Area in device coordinates)
// and an optional Transform from port to device coordinates, through which every drawing call
// maps its coordinates. A port whose device is not drawing does nothing and answers neutral
// values. Ports are never copied.
class DisplayPort : public SmartImplementation {
    PW_CLASS_INFO(DisplayPort)
    PW_COPY_SLOTS

public:
    // Opens `device` with the draw mode and clips to `rect`.
    DisplayPort(DisplayDevice& device, const Rect& rect, int32_t drawMode);
    ~DisplayPort() override;
    DisplayPort(const DisplayPort&) = delete;
    // Warns "Not implemented."; nothing is assigned.
    DisplayPort& operator=(const DisplayPort& other);

    bool IsDrawing() const;
    DisplayDevice* Device() const { return device; }
    // The context, holding this port's clip; null when the device is not drawing.
    HDC GetHDC();
    const Color& GetBackground() const;

    SmartPtr<Transform> GetTransform() const { return transform; }
    void SetTransform(const SmartPtr<Transform>& newTransform) { transform = newTransform; }
    // Adds `other` after the current transform; when the two cannot be combined the port is left
    // without a transform.
    void ApplyTransform(Transform& other);
    Rect MapRect(const Rect& rect) const;
    Point MapPoint(int32_t h, int32_t v) const;
    // Maps the area in place; false when the transform cannot map areas.
    bool MapArea(Area& area) const;

    SmartPtr<Area> GetClip() const { return clip; }
    // Applies the area unless it is the one held already.
    void SetClip(const SmartPtr<Area>& area);
    // Intersects the clip with the area mapped through the transform. Restoring is the caller's
    // (PortSaver).
    void NarrowClip(const Area& area);
    // Hands out the device's pending area, erasing its part inside `within` when the device
    // erases on update, and validates the device.
    void TakeInvalidArea(const Area& within, Area& out);

    void InvertRect(const Rect& rect);
    // Inverts a ring `thickness` pixels wide inside the rectangle.
    void InvertFrame(const Rect& rect, int32_t thickness);
    void DrawRectangle(const Rect& rect, Paint& brush, Paint& pen, int32_t penWidth);
    void DrawRectangle(const Rect& rect, const Color& fill, const Color& frame, int32_t frameWidth);
    // Drawn as a plain rectangle; the corners are not rounded.
    void DrawRoundRect(const Rect& rect, int32_t cornerWidth, int32_t cornerHeight, Paint& brush, Paint& pen,
        int32_t penWidth);
    void DrawOval(const Rect& rect, Paint& brush, Paint& pen, int32_t penWidth);
    void DrawPolygon(const TypedArray<Point>& points, Paint& brush, Paint& pen, int32_t penWidth);
    // The end pixel is left out.
    void DrawLine(int32_t fromH, int32_t fromV, int32_t toH, int32_t toV, Paint& pen, int32_t penWidth);
    void DrawLine(int32_t fromH, int32_t fromV, int32_t toH, int32_t toV, const Color& color, int32_t width);
    // Top and left edges in one paint, bottom and right in the other.
    void DrawBevel(const Rect& rect, Paint& topLeft, Paint& bottomRight, int32_t penWidth);
    void DrawBevel(const Rect& rect, const Color& topLeft, const Color& bottomRight, int32_t width);
    // The rectangle's outline as lines, as DrawBevel draws it.
    void FrameRect(const Rect& rect, Paint& topLeft, Paint& bottomRight, int32_t penWidth);
    void FrameRect(const Rect& rect, const Color& topLeft, const Color& bottomRight, int32_t width);
    // Every rectangle of the area as DrawRectangle, framed `penWidth` wide (1 by default).
    void DrawAreaRects(const Area& area, Paint& brush, Paint& pen, int32_t penWidth = 1);
    void DrawAreaRects(const Area& area, const Color& fill, const Color& frame, int32_t frameWidth);
    // Fills the area's rectangles with the device's background colour.
    void EraseArea(const Area& area);
    // Lays a white checkerboard over whatever the rectangle shows.
    void FillRect(const Rect& rect);

    // Word-wrapped in the rectangle, in the style's font and colours.
    void DrawText(const char* chars, int32_t length, const Rect& rect, TextStyle& style);
    // Erases the rectangle, then draws the text in the standard style in `color`.
    void DrawString(const char* chars, int32_t length, const Rect& rect, const Color& color);
    // The size the text takes when wrapped at `width` (0: unlimited, the widest line's width);
    // with a width given, the result's width is that width. Needs the main window (the alerts'
    // owner) as the parent of the edit control that lays the text out.
    static Point MeasureText(const char* chars, int32_t length, TextStyle& style, int32_t width);
    // The size the text takes when drawn by DrawText in a rectangle `width` wide: lines break
    // between words, and a word wider than the line widens the result.
    static Point MeasureDrawnText(const char* chars, int32_t length, TextStyle& style, int32_t width);

    // Fills the area of (h, v)'s colour connected to it (device coordinates) with the pattern.
    void FloodFill(int32_t h, int32_t v, BitMap& pattern);
    // On an off-screen device: fills the region of the pixel value at the mapped point with a
    // gradient of `kind` between the two colours. `unused` has no effect.
    void GradientFill(const Color& first, const Color& second, int32_t h, int32_t v, int32_t unused, int16_t kind);
    // Paints `paint` through the bitmap used as a 1-bit mask.
    void PaintBitMap(BitMap& bitmap, Paint& paint);
    // The index of the context's palette nearest the colour; 0 when not drawing.
    uint32_t NearestPaletteIndex(const Color& color);
    // Warn "Not implemented."
    void DrawPictureData(const void* data, const Rect& rect);
    static Rect PictureBounds(uint16_t* screenDepth = nullptr);

private:
    // Puts the clip into the context (the whole surface without one).
    void ApplyClip();
    // The context, with this port's clip put back if another port changed it; null when the
    // device is not drawing.
    HDC PrepareToDraw();

    HDC dc { nullptr };
    DisplayDevice* device;
    SmartPtr<Transform> transform;
    SmartPtr<Area> clip;
    uint32_t id;
};

// The screen's bits per pixel.
uint16_t ScreenDepth();
