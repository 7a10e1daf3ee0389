#pragma once

#include "foundation/SmartPtr.h"

#include <cstdint>

class ProgressDialog;
class String;

// One level of a long operation's progress, opened with its number of steps where the work starts
// and closed when it goes out of scope. All ranges share one global progress state: the outermost
// open range makes the ProgressDialog (brought to the front only once the work has taken half a
// second), and a range opened inside another subdivides the step of the outer one that it was
// opened in, so nested operations move one bar smoothly. An advance marks the beginning of a step:
// the bar shows the point reached by the previous one. After the dialog's Stop the next advance of
// any range throws UserCancelException, which unwinds silently; the ranges close on the way out.
//
// Positions are kept in the finest units of the open ranges: each subdividing range multiplies
// the scale by its step count when it opens and divides it back when it closes. A subdivision that
// would pass 31 bits is not made: such a range only counts its steps.
class ProgressRange {
public:
    // The title is used only when this range makes the dialog.
    ProgressRange(uint32_t count, const String& title);
    // Closes the range; never throws (a failure while the dialog closes is dropped).
    virtual ~ProgressRange();
    ProgressRange(const ProgressRange&) = delete;
    ProgressRange& operator=(const ProgressRange&) = delete;

    // Moves `steps` on; an advance past the count stops this range's bar at its end. Throws
    // UserCancelException when the dialog was stopped.
    void Advance(uint32_t steps);
    // Advance, then shows `text` in the dialog's line, followed by the steps done when this range
    // does not move the bar.
    void AdvanceWithText(const String& text, uint32_t steps);
    // Shows the current position (and, after 500 ms, the dialog).
    void Update();

    // The master switch: while off every range operation does nothing. Turning it on reveals an
    // existing dialog, turning it off hides it.
    static void SetVisible(bool visible);
    static bool IsVisible();
    // The open dialog, or empty.
    static SmartPtr<ProgressDialog> CurrentDialog();
    // Whether the open dialog's Stop was pressed.
    static bool WasStopped();

private:
    uint32_t count;
    uint32_t done { 0 };
    // Units of the global scale one step moves the bar; 0 when this range only counts.
    uint32_t scale { 1 };
    // The factor this range multiplied the global units by (0: none), undone at its end.
    uint32_t factor { 0 };
    // The dialog this range made (the outermost range), which it closes.
    SmartPtr<ProgressDialog> made;
};

namespace pw::ui::testing {

// Progress enabled, no dialog, the initial scale: the state at start-up.
void ResetProgress();

} // namespace pw::ui::testing
