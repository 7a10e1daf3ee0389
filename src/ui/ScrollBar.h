#pragma once

#include "foundation/Rect.h"
#include "ui/Control.h"

#include <cstdint>

// A native scroll bar along the right or bottom edge of the view it scrolls, in step with its
// target: the target gives the range and the page size along the bar's axis (0 vertical, 1
// horizontal) and takes each new position. Arrows move the position by one, the track on either
// side of the thumb by a page; the native bar keeps the position inside the range.
class ScrollBar : public Control {
    PW_CLASS_INFO(ScrollBar)

public:
    static constexpr uint8_t kVertical = 0x01;
    // The bar's thickness, and how much of the content it covers.
    static constexpr int32_t kWidth = 16;
    static constexpr int32_t kInset = 15;

    // A bar of the orientation (0 vertical, 1 horizontal) at the rectangle, in step with the target.
    ScrollBar(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom,
        const SmartPtr<Controllable>& target, int32_t orientation);

    // Adds bars along the view's right and bottom edges (vertical first), on the view's bounds
    // grown by one pixel on every side; a bar stops 15 pixels short of the corner when there is a
    // second bar or a grow box there.
    static void Create(View* view, const SmartPtr<Controllable>& target, bool vertical, bool horizontal, bool growBox);
    // The rectangle left for the content beside the bars Create adds.
    static Rect ContentRect(const Rect& rect, bool vertical, bool horizontal);
    // Where Create puts each bar for a view at `bounds`.
    static Rect VerticalBarRect(const Rect& bounds, bool horizontal, bool growBox);
    static Rect HorizontalBarRect(const Rect& bounds, bool vertical, bool growBox);

    // At least 48 pixels along either axis; no maximum.
    Rect GetOwnLimits() override;
    // By part code: a line or a page back or on; the new value is not clamped here.
    void Action(int32_t part) override;
    // When `range` (start, length, axis) lies on this bar's axis and wholly outside the visible
    // page, scrolls so that its start is in the middle of the page.
    void RevealRange(const int32_t* range) override;
    // Takes the page size along the axis (at least 1), then the range.
    void TargetChanged(void* message) override;

    int32_t GetPage() const { return page; }
    bool IsVertical() const { return (flags & kVertical) != 0; }

private:
    int32_t page { 1 };
    uint8_t flags { 0 };
};
