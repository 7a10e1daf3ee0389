#pragma once

#include "foundation/Point.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <windows.h>

class BitMap;

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
    // The cursor's picture as a 1-bit bitmap in the monochrome table, the size of the cursor: black
    // where it shows black or inverts the screen, white where it is clear or white. `hotSpot` gets
    // the pixel that lies under the pointer. A handle the platform does not know fails with the
    // platform's error.
    SmartPtr<BitMap> GetImage(Point& hotSpot) const;
    HCURSOR GetHandle() const { return handle; }

private:
    HCURSOR handle;
    bool owned;
};
