#include "ui/GridSelector.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(GridSelector, nullptr, nullptr, Interactor)
PW_DEFINE_COPY_SLOTS(GridSelector)

namespace {

constexpr uint8_t kEscapeKey = 27;

} // namespace

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
    , overGrid(other.overGrid)
{
}

GridSelector& GridSelector::operator=(const GridSelector& other)
{
    window = other.window;
    grid = other.grid;
    waitingForPress = other.waitingForPress;
    overGrid = other.overGrid;
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

bool GridSelector::EndsOnKey(uint8_t character) const
{
    return character == kEscapeKey;
}

// Events come from whichever window has the mouse: the pop-up, or the window whose press opened it
// and still holds the capture while the button stays down. The point goes through the screen into
// the pop-up's coordinates, which are the grid's.
Point GridSelector::InGrid(Point point, const SmartPtr<Window>& from) const
{
    if (!from.Valid() || from.Get() == window.Get() || !window.Valid())
        return point;
    Point source = from->GetContentOrigin();
    Point target = window->GetContentOrigin();
    return Point(point.h + source.h - target.h, point.v + source.v - target.v);
}

bool GridSelector::HandleMouse(Point point, BitFlags, bool buttonDown, const SmartPtr<Window>& from)
{
    Point local = InGrid(point, from);
    if (waitingForPress) {
        if (!buttonDown)
            return true;
        waitingForPress = 0;
    }
    // Only the part of the grid the pop-up shows counts: its frame may cover the grid's edge.
    bool shown = !window.Valid() || window->GetFrame()->GetBounds().Contains(local.h, local.v);
    if (shown && grid->GetBounds().Contains(local.h, local.v))
        overGrid = 1;
    if (overGrid)
        grid->SetHighlight(grid->CellAt(local.h, local.v));
    if (!buttonDown && overGrid)
        grid->CellChosen();
    return buttonDown;
}
