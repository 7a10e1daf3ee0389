#include "ui/DialogSignals.h"

DialogDoneSignal::DialogDoneSignal()
    : Signal(PW_HERE)
{
}

void DialogDoneSignal::Act(Dialog& dialog)
{
    dialog.Done();
}

namespace pw::ui {

DialogCancelSignal::DialogCancelSignal()
    : Signal(PW_HERE)
{
}

void DialogCancelSignal::Act(Dialog& dialog)
{
    dialog.Cancel();
}

} // namespace pw::ui
