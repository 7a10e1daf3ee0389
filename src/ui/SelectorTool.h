#pragma once

#include "foundation/SmartPtr.h"
#include "ui/GridSelector.h"
#include "ui/Tool.h"

// A tool that can be handed a grid selector as the interactor of the gesture in progress, so that
// the presses, moves and release of that gesture go to the selector.
class SelectorTool : public Tool {
    PW_CLASS_INFO(SelectorTool)
    PW_COPY_SLOTS

public:
    // The standard arrow, as a plain tool.
    SelectorTool();
    SelectorTool(const SelectorTool& other);
    SelectorTool& operator=(const SelectorTool& other);
    ~SelectorTool() override;

    void SetSelector(const SmartPtr<GridSelector>& selector);
};
