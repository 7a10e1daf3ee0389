#pragma once

#include "authoring/tools/CPenTool.h"

#include <cstdint>

// Tool 109. Its one option is the size index, 1 to 20: squares from 4 to 32 pixels, then
// horizontal and vertical bars; the eraser task paints one rectangle of that size in the erase
// colour under the mouse.
class CEraserTool : public CPenTool {
    PW_CLASS_INFO(CEraserTool)
    PW_COPY_SLOTS

public:
    static constexpr int16_t kSizes = 20;

    CEraserTool();

    // One kind; the kind is not read. Values outside 1 to 20 are ignored.
    void SetOption(int16_t kind, int16_t value) override;
    int16_t GetOption(int16_t) override { return sizeIndex; }
    int16_t CountOptions(int16_t) override { return kSizes; }
    // The size as a black rectangle centred in the cell.
    void Apply(DisplayPort& port, const Rect& rect) override;
    // Warns "Not implemented." and answers the empty rectangle: the eraser task places its
    // rectangle itself.
    Rect GetPenBounds() override;

    // Width (h) and height (v) of the current size.
    Point GetSize() const;

private:
    int16_t sizeIndex { 3 };
};
