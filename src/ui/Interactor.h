#pragma once

#include "foundation/BitFlags.h"
#include "foundation/Point.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class Window;

// An object that takes over the mouse for one gesture (a drag, a selection). The current Tool
// keeps the interactor of the gesture in progress and feeds it the press, every later move and
// the release, whatever window the mouse is over, until HandleMouse answers false.
class Interactor : public SmartImplementation {
    PW_CLASS_INFO(Interactor)

public:
    // True while the gesture goes on, false when it is over.
    virtual bool HandleMouse(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window) = 0;
    // Whether the typed character takes the gesture back unfinished; the tool then drops it. None
    // does here.
    virtual bool EndsOnKey(uint8_t) const { return false; }

protected:
    Interactor() = default;
};
