#pragma once

#include "foundation/SmartImplementation.h"

// The registered base of the typed command signals; it adds nothing of its own.
class GenericSignal : public SmartImplementation {
    PW_CLASS_INFO(GenericSignal)
    PW_COPY_SLOTS
};
