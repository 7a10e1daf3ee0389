#include "foundation/Chore.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/CriticalSectionLock.h"
#include "foundation/Exception.h"
#include "foundation/TypedArray.h"

PW_DEFINE_CLASS(Chore, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Chore)

namespace {

// Plain pointers: being in the array adds no reference. Never destroyed, so chores that outlive
// static destruction can still leave it.
TypedArray<Chore*>& ChoreArray()
{
    static TypedArray<Chore*>* array = new TypedArray<Chore*>(0);
    return *array;
}

CRITICAL_SECTION choreSection;
bool choreSectionReady = false;

// The calls around a timer leave a stale "invalid parameter" behind; it must not be what a
// following check reports.
void ClearInvalidParameter()
{
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(0);
}

} // namespace

Chore::Chore(uint32_t period, bool repeat, int32_t data)
    : period(period)
    , repeat(repeat)
    , data(data)
{
    timerId = SetTimer(nullptr, 0, period, ChoreTimerProc);
    ClearInvalidParameter();
    CheckNonZero(timerId, PW_HERE);
    ChoreArray().Append(this);
}

// Never throws: a failed KillTimer here goes unreported.
Chore::~Chore()
{
    Unschedule();
}

bool Chore::Unschedule()
{
    bool killed = true;
    if (active && timerId != 0) {
        killed = KillTimer(nullptr, timerId);
        ClearInvalidParameter();
    }
    active = false;
    timerId = 0;
    TypedArray<Chore*>& array = ChoreArray();
    uint32_t index = array.NumItems() ? array.IndexOf(this) : 0;
    if (index != 0)
        array.DeleteItems(index, 1);
    return killed;
}

void Chore::Stop()
{
    CheckCall(Unschedule(), PW_HERE);
}

void Chore::SetPeriod(uint32_t newPeriod)
{
    if (newPeriod == period)
        return;
    period = newPeriod;
    if (!active || timerId == 0)
        return;
    BOOL killed = KillTimer(nullptr, timerId);
    ClearInvalidParameter();
    CheckCall(killed, PW_HERE);
    timerId = SetTimer(nullptr, 0, period, ChoreTimerProc);
    ClearInvalidParameter();
    CheckNonZero(timerId, PW_HERE);
}

void Chore::StopIfNotRepeating()
{
    if (active && !repeat)
        Stop();
}

void Chore::Pause()
{
    if (!active)
        return;
    active = false;
    KillTimer(nullptr, timerId);
    ClearInvalidParameter();
}

// Only a paused chore resumes: a stopped one has left the array and its work is over.
void Chore::Resume()
{
    if (active || ChoreArray().IndexOf(this) == 0)
        return;
    active = true;
    timerId = SetTimer(nullptr, 0, period, ChoreTimerProc);
}

Chore* Chore::FindChore(UINT_PTR id)
{
    TypedArray<Chore*>& array = ChoreArray();
    for (uint32_t index = array.NumItems(); index >= 1; --index) {
        if (array[index]->timerId == id)
            return array[index];
    }
    return nullptr;
}

// The work may stop or destroy its own chore, so after it the chore is only touched when the
// timer id still leads to it.
void CALLBACK ChoreTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!choreSectionReady) {
        InitializeCriticalSection(&choreSection);
        choreSectionReady = true;
    }
    Chore* chore = Chore::FindChore(id);
    if (!chore || !chore->IsActive())
        return;
    try {
        CriticalSectionLock lock(&choreSection);
        chore->Perform();
        if (Chore::FindChore(id) == chore)
            chore->StopIfNotRepeating();
    } catch (Exception* exception) {
        // Held while shown: the alert's loop may run chores that throw and replace the current
        // exception. A run that failed does not repeat when the chore does not.
        SmartPtr<Exception> hold(exception);
        if (Chore::FindChore(id) == chore && !chore->IsRepeating())
            chore->Unschedule();
        exception->Display(Alert::kStop);
    }
}

void PauseAllChores()
{
    TypedArray<Chore*>& array = ChoreArray();
    for (uint32_t index = array.NumItems(); index >= 1; --index) {
        if (index <= array.NumItems())
            array[index]->Pause();
    }
}

void ResumeAllChores()
{
    TypedArray<Chore*>& array = ChoreArray();
    for (uint32_t index = array.NumItems(); index >= 1; --index) {
        if (index <= array.NumItems())
            array[index]->Resume();
    }
}

uint32_t pw::foundation::ChoreCount()
{
    return ChoreArray().NumItems();
}
