#include "app/ProjectNameDialog.h"

#include "app/RunDialog.h"
#include "app/TallowResources.h"
#include "foundation/String.h"
#include "ui/Dialog.h"
#include "ui/ImageView.h"
#include "ui/TextView.h"
#include "ui/ViewControl.h"
#include "ui/WindowSignals.h"

namespace pw::app {

namespace {

// The field and the button lie on boxes drawn into picture 420.
constexpr Rect kNameField(228, 299, 375, 320);
constexpr Rect kOkButton(295, 329, 375, 349);
constexpr uint8_t kTextStyle = 3;

} // namespace

void BuildProjectNameDialog(Dialog& dialog, const SmartPtr<String>& name)
{
    SmartPtr<Image> image = TallowResources::FindPicture(kNameDialogPicture);
    if (image.Valid())
        dialog.AddChild(SmartPtr<View>(new ImageView(&dialog, image->GetBounds(), image)));
    const Rect& f = kNameField;
    SmartPtr<View> field(new TextView(&dialog, f.left, f.top, f.right, f.bottom, name, kTextStyle, true, false,
        false, false));
    dialog.AddChild(field);
    const Rect& b = kOkButton;
    dialog.AddChild(SmartPtr<View>(new ViewControl(&dialog, b.left, b.top, b.right, b.bottom, String("OK"),
        SmartPtr<GenericSignal>(new WindowCloseSignal), &dialog)));
    dialog.SetFocusChild(field);
}

bool AskProjectName(const SmartPtr<String>& name)
{
    SmartPtr<Dialog> dialog(new Dialog(2));
    BuildProjectNameDialog(*dialog.Get(), name);
    return RunCentredDialog(*dialog.Get());
}

} // namespace pw::app
