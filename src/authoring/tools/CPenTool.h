#pragma once

#include "authoring/tools/CTool.h"

#include <cstdint>

// The base of the paint tools that leave a trail under the moving mouse (the brush and the
// eraser). The tools only describe the pen; the picture pane's pen tasks paint the strokes. Every
// pen tool's start sound loops while it plays.
class CPenTool : public CTool {
    PW_CLASS_INFO(CPenTool)

public:
    // The rectangle the pen covers, relative to the point under the mouse.
    virtual Rect GetPenBounds() = 0;

protected:
    CPenTool(int32_t number, const SmartPtr<SoundResource>& startSound);
};
