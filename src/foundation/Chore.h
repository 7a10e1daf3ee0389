#pragma once

#include "foundation/SmartImplementation.h"

#include <windows.h>

#include <cstdint>

// Periodic work on a platform timer of the user-interface thread. A chore runs from construction
// until it is stopped (its destructor stops it): every period the one timer procedure finds it by
// its timer id in the chore array and runs Perform under the one recursive chore lock. A chore
// built without repeat stops after its first run. An exception thrown by the work is shown as a
// stop alert. Work may stop or destroy its own chore; pausing takes chores off their timers
// without leaving the array, and resuming puts them back with their current period.
class Chore : public SmartImplementation {
    PW_CLASS_INFO(Chore)
    PW_COPY_SLOTS

public:
    Chore(uint32_t period, bool repeat, int32_t data);
    ~Chore() override;

    Chore(const Chore&) = delete;
    Chore& operator=(const Chore&) = delete;

    // The work.
    virtual void Perform() = 0;

    // Kills the timer and leaves the chore array; a paused chore just leaves the array.
    void Stop();
    // A running chore gets a new timer at once; a paused one takes the period at resume.
    void SetPeriod(uint32_t newPeriod);
    void StopIfNotRepeating();
    void Pause();
    void Resume();

    // The chore with that timer id, searching from the most recent; null when none.
    static Chore* FindChore(UINT_PTR id);

    bool IsActive() const { return active; }
    void SetActive(bool value) { active = value; }
    UINT_PTR GetTimerId() const { return timerId; }
    void SetTimerId(UINT_PTR id) { timerId = id; }
    uint32_t GetPeriod() const { return period; }
    bool IsRepeating() const { return repeat; }
    int32_t GetData() const { return data; }

private:
    friend void CALLBACK ChoreTimerProc(HWND, UINT, UINT_PTR, DWORD);

    // Takes the chore off its timer and out of the array; answers KillTimer's result.
    bool Unschedule();

    uint32_t period;
    bool repeat;
    bool active { true };
    int32_t data;
    UINT_PTR timerId { 0 };
};

// The timer procedure of every chore.
void CALLBACK ChoreTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// Pause or resume every chore in the array, from the last to the first.
void PauseAllChores();
void ResumeAllChores();

namespace pw::foundation {

// How many chores are in the chore array (started and not stopped).
uint32_t ChoreCount();

} // namespace pw::foundation
