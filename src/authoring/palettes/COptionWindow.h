#pragma once

#include "authoring/palettes/CPaletteDir.h"
#include "authoring/palettes/CProxyPalette.h"
#include "authoring/tools/CTool.h"

#include <cstdint>
#include <memory>

class CTilePane;
struct ButtonGrid;

// A small floating palette window bound to one tool: a chosen cell within the tool's options plays
// the click sound (authoring sound 2) and makes that cell's number the tool's option.
class COptionWindow : public CPaletteDir {
public:
    explicit COptionWindow(const SmartPtr<CTool>& tool);
    ~COptionWindow() override;

    // Cells outside 1 .. the tool's option count are ignored, silently.
    void CellChosen(int16_t index) override;
    void SelectIndex(int16_t index) override { ChooseOption(index); }
    // The option palette (when there is one) selects the cell; the tool's option becomes `index`.
    virtual void ChooseOption(int16_t index);

    SmartPtr<CTool> GetTool() const { return tool; }
    SmartPtr<CProxyPalette> GetOptionPalette() const { return optionPalette; }

protected:
    // The window's content: a framed row of a palette of the tool's options (cells from 1, drawn
    // by the tool) and, when asked, the swatch of the current colours; the window fits it and
    // puts its top-left corner on the placement's.
    void BuildOptionRow(std::unique_ptr<ButtonGrid> grid, bool withPattern, const Rect& placement);
    // Lays the content out, fits the window around it and puts its top-left corner on the
    // placement's.
    void FitAt(CTilePane& tiles, const Rect& placement);

private:
    SmartPtr<CTool> tool;
    SmartPtr<CProxyPalette> optionPalette;
};

// The option window of one tool: its options alone.
class COneOption : public COptionWindow {
public:
    COneOption(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid, const Rect& placement);
};
