#pragma once

#include "foundation/SmartPtr.h"

class Window;

namespace pw::authoring {

// What the children's tools window asks of the authoring application: to show the option window
// of the current tool (the dropper's or the text tool's), or with an empty handle to put away the
// one shown. The authoring application class provides it; without it the tools window builds no
// option area.
class OptionViewHost {
public:
    virtual void ShowOptionView(const SmartPtr<Window>& view) = 0;

protected:
    ~OptionViewHost() = default;
};

} // namespace pw::authoring
