#pragma once

#include "foundation/Chore.h"

class View;

// The timer that gives a view its idle ticks: every period it calls the view's Idle, always in
// mode 2, otherwise only while the view is active. The view owns its chore (and so outlives it).
class IdleChore : public Chore {
    PW_CLASS_INFO(IdleChore)

public:
    static constexpr int32_t kAlways = 2;

    IdleChore(View* view, int32_t mode, uint32_t period);

    void Perform() override;

    int32_t GetMode() const { return mode; }

private:
    View* view;
    int32_t mode;
};
