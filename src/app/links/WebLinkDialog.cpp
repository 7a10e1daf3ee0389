#include "app/links/WebLinkDialog.h"

#include "app/TallowResources.h"
#include "app/links/LinkSignal.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/tools/CTool.h"
#include "engine/CFWDecorator.h"
#include "engine/CLink.h"
#include "engine/CSprite.h"
#include "export/LinkHREF.h"
#include "foundation/Clipboard.h"
#include "foundation/String.h"
#include "ui/App.h"
#include "ui/DialogSignals.h"
#include "ui/TextView.h"
#include "ui/ViewControl.h"

namespace {

constexpr int32_t kPromptString = 29;
constexpr int32_t kWebExampleString = 30;
constexpr int32_t kMailExampleString = 31;
constexpr uint8_t kTextStyle = 3;
// Every item but the prompt lies below the prompt, which is this high.
constexpr int32_t kPromptHeight = 20;

SmartPtr<View> AddText(Dialog& dialog, Point corner, Point size, const SmartPtr<String>& text, bool editable)
{
    SmartPtr<View> view(new TextView(&dialog, corner.h, corner.v, corner.h + size.h, corner.v + size.v, text,
        kTextStyle, editable, false, !editable, false));
    dialog.AddChild(view);
    return view;
}

void AddButton(Dialog& dialog, Point corner, const char* title, GenericSignal* signal)
{
    constexpr Point kSize(80, 22);
    dialog.AddChild(SmartPtr<View>(new ViewControl(&dialog, corner.h, corner.v, corner.h + kSize.h,
        corner.v + kSize.v, String(title), SmartPtr<GenericSignal>(signal), &dialog)));
}

// The address of the link the sprite has on its first frame, when that link is a web link.
SmartPtr<String> CurrentAddress(const CSprite& sprite)
{
    CLink* link = sprite.LinkAtFrame(sprite.StartFrame());
    auto* href = link ? SmartCast<LinkHREF>(link->GetHREF().Get()) : nullptr;
    return href ? SmartPtr<String>(new String(href->GetHREF())) : SmartPtr<String>();
}

} // namespace

WebLinkDialog::WebLinkDialog(int32_t kind, const SmartPtr<CHAPane>& pane, const SmartPtr<CTool>& tool)
    : Dialog(2)
    , pane(pane)
    , tool(tool)
{
    int32_t exampleString = kind == LinkSignal::kMailAddress ? kMailExampleString : kWebExampleString;
    example = new String(TallowResources::GetString(exampleString));
    // Without a current address the field edits the example itself.
    text = example;
    if (pane.Valid()) {
        SmartList<CSprite> selected = pane->GetSelectedSprites();
        if (selected.NumItems() == 1 && selected.Item(1)) {
            if (SmartPtr<String> address = CurrentAddress(*selected.Item(1)); address.Valid())
                text = address;
        }
    }
    BuildItems();
    SizeToFit(true);
    CFWDecorator::Get().Place(*this, 0, 0);
}

void WebLinkDialog::BuildItems()
{
    constexpr Point kLine(300, 22);
    AddText(*this, Point(10, 10), Point(kLine.h, kPromptHeight),
        SmartPtr<String>(new String(TallowResources::GetString(kPromptString))), false);
    SmartPtr<View> field = AddText(*this, Point(10, 20 + kPromptHeight), kLine, text, true);
    String shown("Example: ");
    shown.Append(*example.Get());
    AddText(*this, Point(10, 50 + kPromptHeight), kLine, SmartPtr<String>(new String(shown)), false);
    AddButton(*this, Point(230, 90 + kPromptHeight), "OK", new DialogDoneSignal);
    AddButton(*this, Point(140, 90 + kPromptHeight), "Cancel", new pw::ui::DialogCancelSignal);
    // Only the field takes the keyboard.
    SetFocusChild(field);
}

void WebLinkDialog::Done()
{
    SmartPtr<LinkHREF> href(new LinkHREF(*text.Get()));
    SmartPtr<CLink> link(new CLink);
    link->SetHREF(SmartPtr<Persistent>(href.Get()));
    if (tool.Valid()) {
        // The application's current tool is the one that takes the presses in the page. What it
        // attaches to the object clicked is a link from the clipboard: the address goes there
        // inside one, as a link copied from an object would. Selected pictures take it at once, as
        // that press would give it, and then no tool holds it.
        App* app = GetApplication();
        if (app)
            app->GetClipboard()->Put(link.Get());
        linkedSprites = app && pane.Valid() && pane->PasteOntoSelection(app->GetClipboard());
        if (!linkedSprites) {
            if (CToolsDir* tools = CToolsDir::Get())
                tools->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
            if (app)
                app->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
            tool->SetSoundPending(true);
        }
    } else if (pane.Valid()) {
        SmartList<CSprite> selected = pane->GetSelectedSprites();
        for (uint32_t index = selected.NumItems(); index >= 1; --index) {
            // Every frame of the sprite: playback asks the frame it shows, the export the first,
            // and a link left on some frames from before would lead elsewhere while playing.
            if (CSprite* sprite = selected.Item(index)) {
                sprite->SetLink(sprite->StartFrame(), sprite->NumFrames(), link.Get());
                linkedSprites = true;
            }
        }
    }
    Dialog::Done();
}
