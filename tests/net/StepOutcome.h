// How a network step ended, as the tests compare it.
#pragma once

#include "foundation/MessageException.h"
#include "foundation/SystemErrorException.h"
#include "foundation/UserCancelException.h"

#include <string>

namespace pw::net::tests {

// "" when the step passed, "cancelled" for the user's cancel (after an alert or Stop), "system
// error N" for a failed call with a recorded error, else the failure's text without its place.
template <typename Step>
std::string Outcome(Step step)
{
    try {
        step();
    } catch (Exception* failure) {
        if (dynamic_cast<UserCancelException*>(failure))
            return "cancelled";
        if (auto* system = dynamic_cast<SystemErrorException*>(failure))
            return "system error " + std::to_string(system->GetErrorCode());
        auto* message = dynamic_cast<MessageException*>(failure);
        return message ? message->GetText().substr(0, message->GetText().find('\r')) : "failed";
    }
    return "";
}

} // namespace pw::net::tests
