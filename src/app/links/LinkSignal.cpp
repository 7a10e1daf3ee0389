#include "app/links/LinkSignal.h"

#include "app/links/WebLinkDialog.h"

LinkSignal::LinkSignal(int32_t kind, const SmartPtr<CTool>& tool)
    : Signal(PW_HERE)
    , kind(kind)
    , tool(tool)
{
}

int32_t LinkSignal::Status(CHAPane& pane)
{
    if (pane.Unreferenced())
        return disabled;
    return tool.Valid() || !pane.GetSelectedSprites().IsEmpty() ? enabled : disabled;
}

void LinkSignal::Act(CHAPane& pane)
{
    // A pane nobody holds is not taken into a handle, which would free it on release.
    SmartPtr<CHAPane> held = pane.Unreferenced() ? SmartPtr<CHAPane>() : SmartPtr<CHAPane>(&pane);
    SmartPtr<WebLinkDialog> dialog(new WebLinkDialog(kind, held, tool));
    pane.NotifyWindowOpened(SmartPtr<Window>(dialog.Get()));
    while (dialog->Poll()) {
    }
    if (!dialog->WasCancelled())
        pane.NotifyChanged();
}
