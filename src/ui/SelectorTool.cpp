#include "ui/SelectorTool.h"

#include "ui/Cursor.h"

PW_DEFINE_CLASS(SelectorTool, nullptr, nullptr, Tool)
PW_DEFINE_COPY_SLOTS(SelectorTool)

SelectorTool::SelectorTool() = default;
SelectorTool::SelectorTool(const SelectorTool& other) = default;
SelectorTool& SelectorTool::operator=(const SelectorTool& other) = default;
SelectorTool::~SelectorTool() = default;

void SelectorTool::SetSelector(const SmartPtr<GridSelector>& selector)
{
    SetInteractor(SmartPtr<Interactor>(selector.Get()));
}
