#pragma once

#include "authoring/panes/CHAPane.h"
#include "authoring/tools/CTool.h"
#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

// The link command of the LinkTo menu and of the media tabs' link items: it asks for a web or mail
// address in the link dialog and links the page pane's selected sprites to it, or, when it carries
// a tool, hands the link to that tool through the clipboard. Enabled for a page pane that someone
// holds and that has a selected sprite, or any such pane when the command carries a tool.
class LinkSignal : public Signal<CHAPane> {
public:
    static constexpr int32_t kWebAddress = 0;
    static constexpr int32_t kMailAddress = 1;

    // `kind` only chooses the example address the dialog shows.
    explicit LinkSignal(int32_t kind, const SmartPtr<CTool>& tool = {});

protected:
    int32_t Status(CHAPane& pane) override;
    void Act(CHAPane& pane) override;

private:
    int32_t kind;
    SmartPtr<CTool> tool;
};
