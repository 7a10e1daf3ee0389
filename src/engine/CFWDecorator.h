#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class Window;

// Where windows go inside the main window: the usable frame (the main window's client area,
// 2 pixels in), alignment of a rectangle in it by a vertical and a horizontal mode, and staggered
// positions for newly opened document windows. One shared object, made on first use.
//
// Modes, vertical / horizontal: 0 centre; 1 top below a title bar / left edge; 2 bottom / right
// edge; 3 stretch to the frame; any other leaves that direction alone.
class CFWDecorator : public SmartImplementation {
    PW_CLASS_INFO(CFWDecorator)
    PW_COPY_SLOTS

public:
    static constexpr int32_t kInset = 2;
    static constexpr uint32_t kCascadeBeforeWrap = 3;

    CFWDecorator();
    // Over a given frame, for callers that place windows in something else than the main window.
    explicit CFWDecorator(const Rect& frame);

    static CFWDecorator& Get();
    // Title-bar heights of the large (kind 0) and small (kind 3) window kinds.
    static int32_t LargeTitle();
    static int32_t SmallTitle();

    void GetFrame(Rect& out) const { out = frame; }
    void SetFrame(const Rect& rect);
    void SetStep(const Point& point);
    Point GetNext() const { return next; }

    void AlignRect(Rect& rect, int32_t vmode, int32_t hmode, bool smallTitle) const;
    void Place(Window& window, int32_t vmode, int32_t hmode);
    // Moves the window to the next cascade position; where the window would reach out of the frame
    // there, the cascade starts again and the window goes to its start.
    void Cascade(Window& window);
    // Moves `rect` to where the next cascaded window goes and advances the cascade.
    void CascadeRect(Rect& rect);
    void MoveView(Window& window, const Rect& rect, bool flag);

private:
    void ResetCascade();

    Rect frame { 0, 0, 0, 0 };
    Point step;
    Point start;
    Point next;
    uint32_t placed { 0 };
};
