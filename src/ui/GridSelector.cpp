#include "ui/GridSelector.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"

PW_DEFINE_CLASS(GridSelector, nullptr, nullptr, Interactor)
PW_DEFINE_COPY_SLOTS(GridSelector)

GridSelector::GridSelector(const SmartPtr<Window>& window, const SmartPtr<GridView>& grid)
    : window(window)
    , grid(grid)
{
}

GridSelector::GridSelector(const GridSelector& other)
    : Smart()
    , Interactor(other)
    , window(other.window)
    , grid(other.grid)
    , waitingForPress(other.waitingForPress)
{
}

GridSelector& GridSelector::operator=(const GridSelector& other)
{
    window = other.window;
    grid = other.grid;
    waitingForPress = other.waitingForPress;
    return *this;
}

GridSelector::~GridSelector()
{
    if (!window.Valid())
        return;
    try {
        window->Close();
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    } catch (...) {
    }
}

bool GridSelector::HandleMouse(Point point, BitFlags, bool buttonDown, const SmartPtr<Window>& from)
{
    Point local = grid->ConvertPoint(SmartPtr<View>(from.Get()), point.h, point.v);
    if (waitingForPress) {
        if (!buttonDown)
            return true;
        waitingForPress = 0;
    }
    grid->SetHighlight(grid->CellAt(local.h, local.v));
    if (!buttonDown)
        grid->CellChosen();
    return buttonDown;
}
