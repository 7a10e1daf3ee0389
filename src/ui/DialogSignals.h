#pragma once

#include "foundation/Signal.h"
#include "ui/Dialog.h"

// The OK and Cancel buttons' commands of every dialog: they end the dialog they are sent to, as
// Done (not cancelled) or as Cancel. Any Dialog, of whatever subclass, takes them.
class DialogDoneSignal : public Signal<Dialog> {
public:
    DialogDoneSignal();

protected:
    void Act(Dialog& dialog) override;
};

namespace pw::ui {

class DialogCancelSignal : public Signal<Dialog> {
public:
    DialogCancelSignal();

protected:
    void Act(Dialog& dialog) override;
};

} // namespace pw::ui
