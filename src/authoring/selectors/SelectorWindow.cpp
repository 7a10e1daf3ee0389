#include "authoring/selectors/SelectorWindow.h"

#include "ui/GridSelector.h"
#include "ui/GridView.h"
#include "ui/Window.h"

namespace pw::authoring {

SmartPtr<GridSelector> OpenSelectorWindow(Point where, const std::function<SmartPtr<GridView>(View* window)>& make)
{
    SmartPtr<Window> window = new Window(new String("Selector Window"), 4, false, false, Point(250, 250));
    SmartPtr<GridView> grid = make(window.Get());
    window->AddChild(SmartPtr<View>(grid.Get()));
    window->Refresh(nullptr);
    Rect frame = grid->GetBounds();
    frame.Offset(where.h - frame.right, where.v - frame.bottom);
    window->SetFrame(frame);
    window->TellApp(true);
    window->Show(true);
    return new GridSelector(window, grid);
}

} // namespace pw::authoring
