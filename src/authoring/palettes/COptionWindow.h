#pragma once

#include "authoring/palettes/CPaletteDir.h"

#include <cstdint>

class CTool;

// A small floating palette window bound to one tool: a chosen cell within the tool's options plays
// the click sound (authoring sound 2) and makes that cell's number the tool's option.
class COptionWindow : public CPaletteDir {
public:
    explicit COptionWindow(const SmartPtr<CTool>& tool);
    ~COptionWindow() override;

    // Cells outside 1 .. the tool's option count are ignored, silently.
    void CellChosen(int16_t index) override;
    void SelectIndex(int16_t index) override { ChooseOption(index); }
    // The tool's option becomes `index`.
    virtual void ChooseOption(int16_t index);

    SmartPtr<CTool> GetTool() const { return tool; }

private:
    SmartPtr<CTool> tool;
};
