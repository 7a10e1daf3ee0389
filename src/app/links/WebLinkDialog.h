#pragma once

#include "foundation/SmartPtr.h"
#include "ui/Dialog.h"

#include <cstdint>

class CHAPane;
class CTool;
class String;

// The modal dialog in which the user types the address a page object links to: a prompt, one
// field, a line showing an example address, OK and Cancel. The field starts with the address of
// the one selected sprite's web link, else with the example. OK makes a web link of the text as
// typed (no check of its form) and either links every selected sprite of the pane to it over all
// the sprite's frames, replacing the links it had, or, with a tool, puts a link holding it on the
// application's clipboard and makes the tool current, its sound due, so that the user attaches it
// by clicking objects. Cancel changes nothing. The pane and the tool are held for the dialog's one
// modal run.
class WebLinkDialog : public Dialog {
public:
    // `kind` LinkSignal::kMailAddress shows the example mail address, any other the example web
    // address; `pane` may be empty (then OK links nothing).
    WebLinkDialog(int32_t kind, const SmartPtr<CHAPane>& pane, const SmartPtr<CTool>& tool);

    // Stores the link, then closes as Dialog::Done does.
    void Done() override;
    // Whether OK attached the link to sprites of the page (with a tool it only readies the tool).
    bool LinkedSprites() const { return linkedSprites; }

private:
    void BuildItems();

    SmartPtr<CHAPane> pane;
    SmartPtr<String> text;
    SmartPtr<String> example;
    SmartPtr<CTool> tool;
    bool linkedSprites { false };
};
