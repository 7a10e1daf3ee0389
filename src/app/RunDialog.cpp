#include "app/RunDialog.h"

#include "engine/CFWDecorator.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/Dialog.h"

namespace pw::app {

bool RunCentredDialog(Dialog& dialog)
{
    dialog.SizeToFit(true);
    CFWDecorator::Get().Place(dialog, 0, 0);
    if (App* app = AppGlue::Application().Get())
        app->AddWindow(SmartPtr<Window>(&dialog), true);
    while (dialog.Poll()) {
    }
    return !dialog.WasCancelled();
}

} // namespace pw::app
