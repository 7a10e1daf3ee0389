#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "graphics/Area.h"
#include "graphics/Color.h"

#include <windows.h>

#include <cstdint>

class ColorTable;

// What a DisplayPort draws on: an off-screen buffer or a window frame. It lends its device context
// to ports between matching BeginDraw and EndDraw calls (nested calls only count, so the context is
// taken at the outermost begin and given back at the outermost end), knows its bounds, colour table
// and background colour, and collects the area waiting to be redrawn until a port takes it.
// Devices are never copied.
class DisplayDevice : public SmartImplementation {
    PW_CLASS_INFO(DisplayDevice)
    PW_COPY_SLOTS

public:
    // `mode` tells a window frame whether it answers a paint request (1) or draws at will (0).
    virtual void BeginDraw(int32_t mode);
    // An end without a matching begin is ignored.
    virtual void EndDraw();
    virtual bool IsDrawing() { return drawingCount != 0; }
    virtual Rect GetBounds() = 0;
    virtual SmartPtr<ColorTable> GetColorTable() = 0;
    // Adds the area to the pending area and marks the device as having something to redraw.
    virtual void Invalidate(const Area& area);
    // Empties the pending area and clears the mark.
    virtual void Validate();
    virtual bool HasInvalidArea() { return (flags & kInvalidFlag) != 0; }
    // The device context while drawing, else null.
    virtual HDC OSContext() = 0;

    bool ErasesOnUpdate() const { return (flags & kEraseFlag) != 0; }
    // A new copy of the pending area.
    SmartPtr<Area> InvalidArea() const;
    const Color& GetBackground() const { return background; }
    // OSContext while drawing, else null.
    HDC GetHDC();

    // The port whose clip the context holds: a port that finds another one's clip there puts its
    // own back before drawing, and the outermost port's end takes it out of the context.
    uint32_t ClipOwner() const { return clipOwner; }
    void SetClipOwner(uint32_t port) { clipOwner = port; }
    int32_t DrawingCount() const { return drawingCount; }

protected:
    DisplayDevice(const Color& background, bool eraseOnUpdate);

private:
    static constexpr uint8_t kEraseFlag = 1;
    static constexpr uint8_t kInvalidFlag = 2;

    int32_t drawingCount { 0 };
    Area pendingArea;
    uint8_t flags { 0 };
    Color background;
    uint32_t clipOwner { 0 };
};
