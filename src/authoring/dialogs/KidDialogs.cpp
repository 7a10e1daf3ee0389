#include "authoring/dialogs/KidDialogs.h"

#include "authoring/dialogs/SpeedDialog.h"
#include "foundation/FourCharCode.h"
#include "ui/ScrollBar.h"
#include "ui/ViewControl.h"
#include "ui/WindowSignals.h"

#include <algorithm>

namespace KidDialogs {

namespace {

// The scroll bar runs along the dialog.
constexpr int32_t kHorizontal = 1;

} // namespace

bool MakeDialog(const SmartPtr<CShow>& target, int16_t minimum, int16_t maximum)
{
    SmartPtr<SpeedDialog> dialog = new SpeedDialog;
    dialog->SetFrame(kDialogFrame);
    // The frame's title and edges would cover the bottom of the button: the frame grows by them,
    // so that the inside is the frame's size and holds the bar and the whole button.
    Rect inside = dialog->GetBounds();
    int32_t wider = kDialogFrame.Size().h - inside.Size().h;
    int32_t taller = kDialogFrame.Size().v - inside.Size().v;
    if (wider > 0 || taller > 0) {
        dialog->SetFrame(Rect(kDialogFrame.left, kDialogFrame.top, kDialogFrame.right + std::max(wider, 0),
            kDialogFrame.bottom + std::max(taller, 0)));
    }
    SmartPtr<SpeedControl> control = new SpeedControl(target, minimum, maximum);
    dialog->SetControl(control);
    const Rect& ok = kOKButtonRect;
    dialog->AddChild(SmartPtr<View>(new ViewControl(dialog.Get(), ok.left, ok.top, ok.right, ok.bottom, String("OK"),
        SmartPtr<GenericSignal>(new WindowCloseSignal), dialog.Get())));
    const Rect& bar = kScrollBarRect;
    dialog->AddChild(SmartPtr<View>(new ScrollBar(dialog.Get(), bar.left, bar.top, bar.right, bar.bottom,
        SmartPtr<Controllable>(control.Get()), kHorizontal)));
    dialog->TellApp(true);
    return true;
}

bool AskNumber(const String&, int16_t*)
{
    return true;
}

bool AskInterpolation(bool*, bool*, bool*, bool*, bool*, bool*, bool*, int16_t*)
{
    return false;
}

bool AskResourceKind(const String&)
{
    return false;
}

bool AskObjectKind(uint32_t* code)
{
    if (code && *code == pw::foundation::FourCharCode("SPRT"))
        *code = pw::foundation::FourCharCode("PICT");
    return true;
}

} // namespace KidDialogs
