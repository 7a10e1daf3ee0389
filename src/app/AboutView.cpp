#include "app/AboutView.h"

#include "app/RunDialog.h"
#include "app/TallowResources.h"
#include "ui/Dialog.h"

bool AboutView::MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>& window)
{
    auto* dialog = dynamic_cast<Dialog*>(window.Get());
    if (!dialog)
        return false;
    dialog->Close();
    return true;
}

namespace pw::app {

void ShowAboutPicture()
{
    SmartPtr<Image> picture = TallowResources::FindPicture(kAboutPicture);
    if (!picture.Valid())
        return;
    SmartPtr<Dialog> dialog(new Dialog(2));
    Rect bounds = picture->GetBounds();
    dialog->AddChild(SmartPtr<View>(new AboutView(dialog.Get(),
        Rect(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top), picture)));
    RunCentredDialog(*dialog.Get());
}

} // namespace pw::app
