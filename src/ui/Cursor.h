#pragma once

#include "foundation/SmartImplementation.h"

#include <windows.h>

// A cursor: a counted object over a platform cursor. System cursors are shared by the platform and
// never destroyed; a cursor made with `owned` destroys its handle when it goes.
class Cursor : public SmartImplementation {
    PW_CLASS_INFO(Cursor)
    PW_COPY_SLOTS

public:
    explicit Cursor(HCURSOR handle, bool owned = false);
    ~Cursor() override;

    // Makes it the current cursor.
    void Set() const;
    HCURSOR GetHandle() const { return handle; }

private:
    HCURSOR handle;
    bool owned;
};
