#include "ui/Cursor.h"

#include "foundation/Resources.h"

PW_DEFINE_CLASS(Cursor, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Cursor)

namespace {

// The resource sets make their cursor objects through the window floor. Platform cursors are
// shared for the run, so the objects do not destroy them.
const bool lent = [] {
    pw::foundation::GetResourceServices().cursorFromHandle = [](HCURSOR handle) {
        return SmartPtr<Smart>(new Cursor(handle));
    };
    return true;
}();

} // namespace

Cursor::Cursor(HCURSOR handle, bool owned)
    : handle(handle)
    , owned(owned)
{
}

Cursor::~Cursor()
{
    if (owned && handle)
        DestroyCursor(handle);
}

void Cursor::Set() const
{
    SetCursor(handle);
}
