#include "ui/IdleChore.h"

#include "ui/View.h"

PW_DEFINE_CLASS(IdleChore, nullptr, nullptr, Chore)

IdleChore::IdleChore(View* view, int32_t mode, uint32_t period)
    : Chore(period, true, 0)
    , view(view)
    , mode(mode)
{
}

// Nothing of the chore is touched after the tick: the view's Idle may stop its ticks or let the
// view go, and either destroys this chore (which the chore timer procedure allows).
void IdleChore::Perform()
{
    if (mode != kAlways && !view->IsActive())
        return;
    view->Idle();
}
