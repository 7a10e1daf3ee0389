#pragma once

#include "authoring/palettes/CPaletteDir.h"
#include "authoring/palettes/CToolPalette.h"
#include "authoring/panes/PaneForwarder.h"
#include "authoring/panes/ToolsWindowPane.h"
#include "authoring/tools/ListChore.h"
#include "ui/Tool.h"

#include <cstdint>
#include <vector>

class CDropperTool;
class CTextTool;
class CTool;
class CToolsDir;

namespace pw::authoring {

// Told by the tools window when its subclass has changed what it offers (the tab bar watches).
class ToolsWatcher {
public:
    virtual void ToolsChanged(CToolsDir* tools) = 0;

protected:
    ~ToolsWatcher() = default;
};

} // namespace pw::authoring

// The floating tools window of the authoring application. It holds the current tool (the tool
// that takes the next press in an editing pane), the animation and paint palettes its subclass
// builds (which share one index space), follows the active editing pane, and switches between
// modes that decide which palette shows and what the pane edits: 0 none, 1 and 4 the animation
// palette with the background edited, 2 a text, 3 the paint palette with a picture edited. Every
// 4000 ms after the last tool change it lets the current tool play its pending sound.
class CToolsDir : public CPaletteDir,
                  public PaneForwarder,
                  public pw::authoring::PaneClient,
                  public pw::authoring::ChoreClient {
public:
    explicit CToolsDir(const SmartPtr<SoundResource>& clickSound);
    ~CToolsDir() override;

    // The tools window made last, while it lives; null when there is none.
    static CToolsDir* Get();

    bool ToggleShown(bool toggle) override;
    void CellChosen(int16_t index) override;
    // Selects the cell in the shown palettes (the other clears its selection) and makes its tool
    // current.
    void SelectIndex(int16_t index) override;

    // The palette cell of a tool number; 0 here, the subclass answers from its tables.
    virtual int16_t IndexOfToolNumber(int32_t number);
    virtual void SetMode(int32_t mode);
    // The tool of a palette cell; warns "Not implemented." here and answers none.
    virtual SmartPtr<Tool> ToolAt(int16_t index);

    SmartPtr<Tool> GetCurrent() const { return current; }
    SmartPtr<CTool> GetCurrentTool() const;
    int32_t GetCurrentToolNumber() const;
    // An empty tool changes nothing; any other restarts the 4000 ms count, and a new tool takes the
    // place of the old one, whose pending sound is no longer due.
    void SetCurrentTool(const SmartPtr<Tool>& tool);
    void SetCurrentToolNumber(int32_t number);
    void SelectDefaultTools();
    // Command 2109: the active picture pane selects all of its picture.
    void UpdatePaintPane();
    // The palette holding the tool's cell, or none.
    SmartPtr<CToolPalette> PaletteOfTool(int32_t number);
    void SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& pane) override;
    void UpdateForPane();
    // The active pane, stopped first when it plays.
    SmartPtr<pw::authoring::ToolsWindowPane> GetPane();
    // The content view that lays the palettes out.
    SmartPtr<View> GetTilePane() const { return tilePane; }
    void ToggleWatcher(pw::authoring::ToolsWatcher* watcher);
    void NotifyWatchers();
    int32_t GetMode() const { return mode; }
    SmartPtr<ListChore> GetChore() const { return chore; }

    // The frame of the browser and the pattern selector: 3 pixels wide; the rectangle is left as
    // the area inside it.
    static void DrawBeveledFrame(DisplayPort& port, Rect& rect);

    // The tools every tools window shares: the first one's default tool (number 3) and the
    // paint-tool palette the subclass names.
    static SmartPtr<Tool> GetDefaultTool();
    // The dropper every paint tool and selector shares; each tools window made makes a new one
    // (made here when there is none yet).
    static SmartPtr<CDropperTool> GetDropperTool();
    // The text tool the same way: the one new texts take their style from, kept for the run.
    static SmartPtr<CTextTool> GetTextTool();
    static SmartPtr<CToolPalette> GetPaintPalette();
    static void SetPaintPalette(const SmartPtr<CToolPalette>& palette);

    // PaneClient: the pane's editing or playing changed.
    void PaneChanged(pw::authoring::ToolsWindowPane* pane) override;
    // ChoreClient: plays the current tool's pending sound.
    void ChoreTick(const SmartPtr<ListChore>& tick) override;

protected:
    // Lays the content out from (0, 0), when it is a tile pane, and fits the window around it.
    void FitContent();
    // The active pane as it is, playing or not.
    const SmartPtr<pw::authoring::ToolsWindowPane>& ActivePane() const { return pane; }

    // The subclass makes the content view and both palettes.
    SmartPtr<View> tilePane;
    SmartPtr<CToolPalette> animationPalette;
    SmartPtr<CToolPalette> paintPalette;

private:
    static bool Shown(const SmartPtr<CToolPalette>& palette) { return palette.Valid() && !palette->IsHidden(); }

    SmartPtr<pw::authoring::ToolsWindowPane> pane;
    int32_t mode { 0 };
    SmartPtr<Tool> current;
    SmartPtr<ListChore> chore;
    std::vector<pw::authoring::ToolsWatcher*> watchers;
};
