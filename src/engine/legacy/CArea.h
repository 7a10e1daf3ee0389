#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

// The area record of older object files, kept only by name: it has a class record and a version
// record (2.0, reading from 1.0) but no reader, so a file that holds one is refused with "Can't
// create object of that class!". No object of it is ever made.
class CArea : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CArea)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CArea() = delete;
};
