#pragma once

#include "foundation/SmartPtr.h"
#include "ui/GridView.h"
#include "ui/Interactor.h"
#include "ui/Window.h"

#include <cstdint>

// The gesture of choosing a cell of a grid view shown in a pop-up window: from the first event
// with the button down, the highlight follows the pointer over the grid (staying on the last cell
// when the pointer leaves it), and the release tells the grid view that its highlighted cell was
// chosen and ends the gesture. Releases before any press are ignored. A selector closes its pop-up
// window when it goes, which is when the tool drops the finished gesture.
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

    bool IsWaitingForPress() const { return waitingForPress != 0; }

private:
    SmartPtr<Window> window;
    SmartPtr<GridView> grid;
    uint8_t waitingForPress { 1 };
};
