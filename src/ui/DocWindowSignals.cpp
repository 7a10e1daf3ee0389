#include "ui/DocWindowSignals.h"

SaveSignal::SaveSignal(int32_t mode)
    : Signal(PW_HERE)
    , mode(mode)
{
}

void SaveSignal::Act(DocWindow& window)
{
    window.Save(mode);
}
