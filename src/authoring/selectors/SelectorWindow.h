#pragma once

#include "foundation/Point.h"
#include "foundation/SmartPtr.h"

#include <functional>

class GridSelector;
class GridView;
class View;

namespace pw::authoring {

// Makes the pop-up window "Selector Window" with the grid view `make` builds in it, sizes its
// frame to show the whole grid with the frame's bottom-right corner at `where` (screen
// coordinates; moved in as far as the screen needs), hands it to the application and shows it;
// answers the selector that follows the next press in it.
SmartPtr<GridSelector> OpenSelectorWindow(Point where, const std::function<SmartPtr<GridView>(View* window)>& make);

} // namespace pw::authoring
