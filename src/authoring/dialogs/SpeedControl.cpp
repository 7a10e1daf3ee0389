#include "authoring/dialogs/SpeedControl.h"

#include "engine/CShow.h"

#include <algorithm>

PW_DEFINE_CLASS(SpeedControl, nullptr, nullptr, Controllable, SmartImplementation)

SpeedControl::SpeedControl(const SmartPtr<CShow>& target, int16_t minimum, int16_t maximum)
    : target(target)
    , minimum(minimum)
    , maximum(maximum)
{
}

SpeedControl::SpeedControl(const SpeedControl& other)
    : Controllable(other)
    , SmartImplementation()
    , target(other.target)
    , minimum(other.minimum)
    , maximum(other.maximum)
    , clients(other.clients)
{
}

void SpeedControl::GetRange(int32_t, int32_t* first, int32_t* second)
{
    *first = minimum;
    *second = maximum;
}

void SpeedControl::TakeValue(int32_t value)
{
    target->SetFrameRate(static_cast<int16_t>(value));
    for (pw::authoring::SpeedClient* client : std::vector<pw::authoring::SpeedClient*>(clients))
        client->SpeedChanged();
}

int32_t SpeedControl::GetValueFor(int32_t)
{
    return target->GetFrameRate();
}

void SpeedControl::ToggleClient(pw::authoring::SpeedClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}
