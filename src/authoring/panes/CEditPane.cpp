#include "authoring/panes/CEditPane.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(CEditPane, nullptr, nullptr, View, NumberCommandHandler)

CEditPane::CEditPane(View* owner, int32_t left, int32_t top, int32_t right, int32_t bottom)
    : ViewBase(owner, Rect(left, top, right, bottom), kSizeStretch, true)
{
}

bool CEditPane::Changed(bool set)
{
    if (set)
        flags |= kChanged;
    return (flags & kChanged) != 0;
}

bool CEditPane::EditState(bool toggle)
{
    if (toggle)
        flags ^= kEditState;
    return (flags & kEditState) != 0;
}

void CEditPane::Lock()
{
    flags |= kLocked;
}

void CEditPane::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    if (IsActive())
        flags |= kChanged;
    View::AdjustBounds(dl, dt, dr, db);
}

bool CEditPane::TakePicture(Rect&, SmartPtr<CResource>&)
{
    return false;
}

void CEditPane::DoCommand(int32_t number, int32_t)
{
    if (number == kSaveCommand)
        flags &= static_cast<uint8_t>(~kChanged);
    Exception::Warn(kNotImplemented, PW_HERE);
}

int32_t CEditPane::GetCommandStatus(int32_t number)
{
    if (number == kSaveCommand && (flags & kChanged) && !(flags & kLocked))
        return kEnabled;
    return kDisabled;
}
