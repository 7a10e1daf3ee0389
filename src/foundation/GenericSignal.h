#pragma once

#include "foundation/SmartImplementation.h"

#include <cstdint>

// The registered base of the command signals. A signal is one command a user can give (a menu
// entry, a button, a tool choice): asked about a watcher (the object that would carry the command
// out) it answers whether that watcher can take it now, and sent to one it carries it out. Readers
// of a status treat every value but `disabled` as enabled and only `marked` as checked.
class GenericSignal : public SmartImplementation {
    PW_CLASS_INFO(GenericSignal)
    PW_COPY_SLOTS

public:
    static constexpr int32_t enabled = 0;
    static constexpr int32_t marked = 1;
    static constexpr int32_t disabled = 3;

    // Any object or null; an unsuitable watcher answers `disabled`. Throws nothing of its own.
    virtual int32_t GetSignalStatus(Smart* watcher) = 0;
    // Carries the command out; a watcher whose status is `disabled` fails an assertion instead.
    virtual void Send(Smart* watcher) = 0;
};
