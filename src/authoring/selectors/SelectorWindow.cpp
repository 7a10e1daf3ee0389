#include "authoring/selectors/SelectorWindow.h"

#include "ui/GridSelector.h"
#include "ui/GridView.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include <windows.h>

namespace pw::authoring {

SmartPtr<GridSelector> OpenSelectorWindow(Point where, const std::function<SmartPtr<GridView>(View* window)>& make)
{
    SmartPtr<Window> window = new Window(new String("Selector Window"), 4, false, false, Point(250, 250));
    SmartPtr<GridView> grid = make(window.Get());
    window->AddChild(SmartPtr<View>(grid.Get()));
    window->Refresh(nullptr);
    // Frames are placed in their parent's client coordinates, `where` is on the screen.
    POINT corner { where.h, where.v };
    if (HWND parent = GetParent(window->GetFrame()->GetOSWindow()))
        ScreenToClient(parent, &corner);
    // The frame holds the whole grid inside its border, its bottom-right corner at `where`.
    Point outer = window->GetFrame()->OuterSize(grid->GetBounds().Size());
    window->SetFrame(Rect(corner.x - outer.h, corner.y - outer.v, corner.x, corner.y));
    window->TellApp(true);
    window->Show(true);
    return new GridSelector(window, grid);
}

} // namespace pw::authoring
