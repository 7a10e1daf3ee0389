#pragma once

#include "foundation/Point.h"
#include "foundation/SmartPtr.h"

#include <functional>

class GridSelector;
class GridView;
class View;

namespace pw::authoring {

// Makes the pop-up window "Selector Window" with the grid view `make` builds in it, puts the
// window's frame with its bottom-right corner at `where` (screen coordinates), hands it to the
// application and shows it; answers the selector that follows the next press in it.
SmartPtr<GridSelector> OpenSelectorWindow(Point where, const std::function<SmartPtr<GridView>(View* window)>& make);

} // namespace pw::authoring
