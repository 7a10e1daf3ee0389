#include "app/tabs/TabSetSelector.h"

#include "app/TallowApp.h"
#include "app/TallowResources.h"
#include "foundation/Exception.h"
#include "ui/ImageView.h"

namespace {

// The picture above the buttons.
constexpr int16_t kPanelPicture = 553;

} // namespace

TabSetSelector::TabSetSelector(View* parent)
    : CToolPalette(parent, TallowResources::MakeButtonGrid(kGrid), kFirstCell)
{
}

void TabSetSelector::NotifyClients(int16_t index)
{
    CToolPalette::NotifyClients(index);
    if (index == kFirstCell)
        NotifyCommand(SmartPtr<GenericSignal>(new NewPageSignal));
}

NewPageSignal::NewPageSignal()
    : Signal<TallowApp>(PW_HERE)
{
}

void NewPageSignal::Act(TallowApp& app)
{
    app.NewPageIfNoWindow();
}

namespace pw::app {

SmartPtr<CToolPalette> SetUpTabSetSelector(View& parent)
{
    SmartPtr<Image> picture = TallowResources::FindPicture(kPanelPicture);
    Rect rect = picture.Valid() ? picture->GetBounds() : Rect(0, 0, 0, 0);
    rect.Offset(-rect.left, -rect.top);
    parent.AddChild(SmartPtr<View>(new ImageView(&parent, rect, picture)));
    SmartPtr<CToolPalette> palette = new TabSetSelector(&parent);
    palette->SetNotifyOnReselect(true);
    Rect bounds = palette->GetBounds();
    bounds.Offset(0, rect.bottom - rect.top);
    palette->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    parent.AddChild(SmartPtr<View>(palette.Get()));
    return palette;
}

} // namespace pw::app
