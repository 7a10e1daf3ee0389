#pragma once

#include "authoring/palettes/CCommandButton.h"
#include "authoring/palettes/CToolsDir.h"

#include <array>
#include <cstdint>
#include <memory>

class COptionView;
class CPatternSelector;
struct ButtonGrid;

// The floating tools window of the children's program. It owns the two fixed sets of tools (seven
// animation tools at cells 1 to 7, six paint tools at cells 8 to 13; cell 14 is the shared text
// tool), shows them in palettes laid out in a framed row, and whenever the current tool changes
// replaces its option area with the option palette of that tool (cells from 15) and, for the
// tools that paint in colour, the swatch of the current colours. The dropper's and the text
// tool's options (font, style, size) go to a window of their own, which the application shows.
class CKidTools : public CToolsDir {
public:
    static constexpr int16_t NUM_ANIM_TOOLS = 7;
    static constexpr int16_t NUM_PAINT_TOOLS = 6;
    // Cells below it name tools, cells from it options of the current tool.
    static constexpr int16_t kFirstOptionCell = 15;
    static constexpr int16_t kTextToolCell = 14;

    // `altMode` goes to the first three animation tools.
    CKidTools(bool altMode, bool withAnimPalette, bool withSwitchPalette);
    ~CKidTools() override;

    // The chore step, which the page window runs before it saves: the brushes are flushed and a
    // text being typed is put on the page; the window stays open and shown.
    void Close() override;
    // The close box puts the window away with its option window, as the other palette windows'
    // boxes do, after the step of Close has put what is being made onto the page.
    bool CloseBoxPressed() override;
    void CellChosen(int16_t index) override;
    // Below 15 makes the cell's tool current and rebuilds the option area; from 15 on makes the
    // cell the current tool's option.
    void SelectIndex(int16_t index) override;
    int16_t IndexOfToolNumber(int32_t number) override;
    // Outside the paint mode (3) the paint tools' option area goes.
    void SetMode(int32_t mode) override;
    SmartPtr<Tool> ToolAt(int16_t index) override;
    // The option window shown for the current tool goes back over the tools window, where it was
    // placed and above it, wherever the tools window moves.
    void Moved() override;

    void ShowOptionPalette(int16_t grid, bool proxy, bool withPattern);
    void RemoveOptionPalette();

    SmartPtr<CCommandButton> GetCommandButton() const { return commandButton; }
    SmartPtr<CToolPalette> GetOptionPalette() const { return optionPalette; }
    SmartPtr<CPatternSelector> GetPatternSelector() const { return patternSelector; }

private:
    // Where the animation palette lies inside the button that frames it.
    static constexpr Point kPaletteInset { 3, 15 };

    // The brushes are flushed while the brush is current.
    void ResetBrush();
    // The text tool's option window, put at the placement unless it is shown already; one serves
    // every time the text tool is chosen.
    SmartPtr<Window> TextOptions(const Rect& placement);
    // Where an option window's top-left corner goes: over the window's content, a pixel up.
    Rect OptionPlacement() const;
    // The window's content takes the size that the option window placed over it covers.
    void HoldUnder(Window& options);
    // Places the animation palette inside its button and fits the button around it.
    void FrameAnimationPalette();

    std::array<SmartPtr<CTool>, NUM_ANIM_TOOLS> animTools;
    std::array<SmartPtr<CTool>, NUM_PAINT_TOOLS> paintTools;
    // Frames the animation palette; shown in the modes that show the palette.
    SmartPtr<CCommandButton> commandButton;
    SmartPtr<SoundResource> clickSound;
    SmartPtr<CToolPalette> optionPalette;
    SmartPtr<CPatternSelector> patternSelector;
    SmartPtr<COptionView> textOptions;
    // The option window last shown for the current tool (the dropper's or the text tool's).
    SmartPtr<Window> optionWindow;
    // The largest content of the tool modes, which the window holds in each of them.
    Point largestContent { 0, 0 };
};
