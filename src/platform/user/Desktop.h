#pragma once

#include "platform/backend/Backend.h"
#include "platform/gdi/RegionData.h"

#include <windows.h>

#include <cstdint>

namespace pw::platform {

// The desktop: the GDI screen on which windows draw, the bare background between them, and the
// frames shown through the backend (the screen with the system palette, the cursor on top).
//
// Windows draw into the screen directly; a frame is presented when the program goes idle and, in
// real time, at most every 16 ms while it keeps busy, and only when something changed. Tests
// compose frames on demand instead (the virtual clock never presents by itself).
class Desktop {
public:
    // The bare desktop's colour: the static teal.
    static constexpr uint8_t kBackground = 6;

    // Sets the screen pixels of `rect` (screen coordinates) that lie in `clip` to `index`.
    static void FillRect(const gdi::RegionData& clip, const RECT& rect, uint8_t index);
    // Paints the bare desktop wherever `region` shows it.
    static void PaintBackground(const gdi::RegionData& region);

    // The screen as shown: pixels, system palette and (optionally) the cursor.
    static Frame Compose(bool withCursor);

    // Presents a frame when it differs from the last one presented.
    static void PresentIfChanged();
    // In real time, presents when 16 ms have passed since the last presentation.
    static void PresentWhenDue();
};

// Keeps the desktop right through a change of window positions, sizes, z-order or visibility: made
// before the change, it remembers what each window showed; destroyed after it, it invalidates
// what each window newly shows (all of it for a window that moved or changed size), repaints the
// frames that came into view and the bare desktop that was uncovered, and moves held window DCs.
// Changes nest; the outermost one does the work.
class DesktopChange {
public:
    DesktopChange();
    ~DesktopChange();
    DesktopChange(const DesktopChange&) = delete;
    DesktopChange& operator=(const DesktopChange&) = delete;
};

} // namespace pw::platform
