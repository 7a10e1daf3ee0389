#include "ui/WindowSignals.h"

WindowCloseSignal::WindowCloseSignal()
    : Signal(PW_HERE)
{
}

void WindowCloseSignal::Act(Window& window)
{
    window.Close();
}

UndoSignal::UndoSignal()
    : Signal(PW_HERE)
{
}

int32_t UndoSignal::Status(Window& window)
{
    return window.HasUndoTask() ? enabled : disabled;
}

void UndoSignal::Act(Window& window)
{
    window.Undo();
}
