// What a framework exception thrown by a step says: the message of a message exception (without
// its place), the expression of an assertion, "system error <code>" for the system's refusal, or ""
// when the step throws nothing.
#pragma once

#include "foundation/AssertionException.h"
#include "foundation/MessageException.h"
#include "foundation/SystemErrorException.h"

#include <string>

template <typename Step>
std::string Failure(Step step)
{
    try {
        step();
    } catch (Exception* exception) {
        if (auto* message = dynamic_cast<MessageException*>(exception))
            return message->GetText().substr(0, message->GetText().find('\r'));
        if (auto* assertion = dynamic_cast<AssertionException*>(exception))
            return assertion->GetExpression();
        if (auto* system = dynamic_cast<SystemErrorException*>(exception))
            return "system error " + std::to_string(system->GetErrorCode());
        return "other exception";
    }
    return "";
}
