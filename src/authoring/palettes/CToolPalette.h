#pragma once

#include "authoring/palettes/ButtonGrid.h"
#include "authoring/palettes/PaletteClient.h"
#include "foundation/ImageResource.h"
#include "ui/View.h"

#include <cstdint>
#include <memory>
#include <vector>

// A rectangular grid of picture buttons from which the child picks one. The cells carry the
// numbers first .. first + count - 1, row by row from the top left, so several palettes of one
// window can share one index space; 0 is no cell. The palette keeps the geometry, each cell's
// look (normal, selected, disabled, highlighted), the selection, and tells its clients which cell
// was clicked; the clients decide what that means and call SelectTool to move the selection.
// The looks come from whole-palette pictures drawn over the palette (a cell shows its part of
// them) and from optional pictures of single cells.
class CToolPalette : public View {
public:
    static constexpr uint8_t kNormal = 0;
    static constexpr uint8_t kDisabled = 1;
    static constexpr uint8_t kHighlighted = 2;

    // Consumes the grid ("Missing (NULL) value." without one). The palette is exactly as large as
    // its grid, with its top-left corner at (0, 0); the caller adds it to the parent.
    CToolPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first);
    ~CToolPalette() override;

    void DrawContent(DisplayPort& port, Area& area) override;
    // Tells the clients of a click on another enabled cell (or, with notify-on-reselect, on the
    // selected one); a double click on the selected cell is DoubleClick. Always handled.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;

    virtual void Hook() { }
    virtual void DoubleClick(int16_t) { }
    // Marks the cell's rectangle for redrawing.
    virtual void RedrawCell(int16_t index);
    virtual void DrawCell(DisplayPort& port, int16_t index, const Rect& cellRect, bool inFullDraw);
    virtual void DrawSelection(DisplayPort& port, int16_t index, bool inFullDraw);
    virtual void NotifyClients(int16_t index);

    int16_t GetSelectedTool() const { return current; }
    // A number outside the cells selects none. The clients are not told.
    void SelectTool(int16_t index);
    // -1: every cell, and the whole palette is redrawn. False when nothing changed. A number
    // outside the cells fails "Range error".
    bool EnableCell(int16_t index, bool enable);
    void HighlightCell(int16_t index, bool on);
    void SetNotifyOnReselect(bool notify);
    void AddClient(pw::authoring::PaletteClient* client);
    void RemoveClient(pw::authoring::PaletteClient* client);
    // The cell under a point of the window, 0 when none. The first pixel row and column of a cell
    // (other than the palette's first) belong to the cell above or to the left.
    int16_t CellAt(Point point) const;
    // Right and bottom exclusive; (0, 0, 0, 0) for a number outside the cells.
    Rect GetCellRect(int16_t index) const;
    // Draws the picture with its top-left corner at the rectangle's. Always true.
    bool DrawPicture(DisplayPort& port, const SmartPtr<ImageResource>& picture, const Rect& rect);
    // Black separators on the last pixel row and column of every cell.
    void DrawGrid(DisplayPort& port);
    // Draws the palette at once with `index` shown selected, leaving the selection as it is.
    void DrawWithSelection(int16_t index);

    int16_t GetFirst() const { return first; }
    int16_t GetCount() const { return count; }
    uint8_t GetCellState(int16_t index) const;

protected:
    bool Contains(int16_t index) const { return index >= first && index < first + count; }
    SmartPtr<ImageResource> GetSelectedPicture() const { return selectedPicture; }

private:
    static constexpr uint8_t kNotifyOnReselect = 0x01;

    // The per-cell slot (0-based) of a cell number.
    size_t Slot(int16_t index) const { return static_cast<size_t>(index - first); }

    int16_t current;
    int16_t first;
    int16_t count { 0 };
    int16_t rows { 0 };
    int16_t columns { 0 };
    int16_t cellWidth { 0 };
    int16_t cellHeight { 0 };
    std::vector<uint8_t> cellStates;
    std::vector<SmartPtr<ImageResource>> cellPictures;
    std::vector<SmartPtr<ImageResource>> selectedCellPictures;
    SmartPtr<ImageResource> normalPicture;
    SmartPtr<ImageResource> selectedPicture;
    SmartPtr<ImageResource> disabledPicture;
    uint8_t options { 0 };
    std::vector<pw::authoring::PaletteClient*> clients;
};
