#pragma once

#include "foundation/Exception.h"

// Thrown when the user cancels an operation; showing it shows nothing.
class UserCancelException : public Exception {
public:
    UserCancelException() = default;

    void Display(int) override { }
};
