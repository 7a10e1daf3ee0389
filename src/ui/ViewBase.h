#pragma once

#include "ui/View.h"

#include <cstdint>

// The view part of the framework's text views, controls and edit panes: a View that always draws
// on its parent's frame. It adds no fields and overrides nothing.
class ViewBase : public View {
public:
    ViewBase(View* parent, const Rect& bounds, uint8_t sizing, bool takesFocus)
        : View(parent, bounds, sizing, takesFocus, true)
    {
    }
    // In the container's next stack row.
    ViewBase(View* container, bool takesFocus)
        : View(container, takesFocus)
    {
    }
};
