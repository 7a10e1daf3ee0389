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
    // Only a held pane is enabled, so taking it into a handle cannot free it on release.
    SmartPtr<WebLinkDialog> dialog(new WebLinkDialog(kind, SmartPtr<CHAPane>(&pane), tool));
    pane.NotifyWindowOpened(SmartPtr<Window>(dialog.Get()));
    while (dialog->Poll()) {
    }
    // The page's window hears of new links, so that the page counts as changed; a link handed to
    // the tool changes the page only when the child clicks it onto an object.
    if (!dialog->WasCancelled() && dialog->LinkedSprites())
        pane.NotifyChanged();
}
