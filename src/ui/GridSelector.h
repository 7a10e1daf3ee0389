#pragma once

#include "foundation/SmartPtr.h"
#include "ui/GridView.h"
#include "ui/Interactor.h"
#include "ui/Window.h"

#include <cstdint>

// The gesture of choosing a cell of a grid view shown in a pop-up window: from the first event
// with the button down, the highlight follows the pointer over the grid (staying on the last cell
// when the pointer leaves it), and the release tells the grid view that its highlighted cell was
// chosen and ends the gesture. Until the pointer has been over the grid with the button down the
// highlight stays, and a release then ends the gesture with no choice: a click outside the pop-up
// only closes it, and so does Escape. Releases before any press are ignored. A selector closes its pop-up window when
// it goes, which is when the tool drops the finished gesture.
class GridSelector : public Interactor {
    PW_CLASS_INFO(GridSelector)
    PW_COPY_SLOTS

public:
    GridSelector(const SmartPtr<Window>& window, const SmartPtr<GridView>& grid);
    GridSelector(const GridSelector& other);
    GridSelector& operator=(const GridSelector& other);
    // Closes the pop-up window; a failure to close is shown, never thrown.
    ~GridSelector() override;

    // True while the button is held (or before the first press), false at the release.
    bool HandleMouse(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window) override;

    // Escape: the pop-up closes with no choice.
    bool EndsOnKey(uint8_t character) const override;

    bool IsWaitingForPress() const { return waitingForPress != 0; }

private:
    // The point, given in `from`'s coordinates, in the pop-up's.
    Point InGrid(Point point, const SmartPtr<Window>& from) const;

    SmartPtr<Window> window;
    SmartPtr<GridView> grid;
    uint8_t waitingForPress { 1 };
    // Set once the pointer was over the grid with the button down.
    uint8_t overGrid { 0 };
};
