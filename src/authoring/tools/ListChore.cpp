#include "authoring/tools/ListChore.h"

#include <windows.h>

#include <algorithm>

ListChore::ListChore(uint32_t period, bool repeat)
    : Chore(period, repeat, 0)
    , interval(period)
    , lastTick(GetTickCount())
{
}

// The timer is re-armed for what is left of the period, so the calls keep to the period however
// long the clients take and however the count was reset.
void ListChore::Perform()
{
    uint32_t now = GetTickCount();
    int64_t left = int64_t(interval) - int64_t(now - lastTick);
    if (left > 0) {
        SetPeriod(static_cast<uint32_t>(left));
        return;
    }
    lastTick = now;
    SmartPtr<ListChore> self(this);
    std::vector<pw::authoring::ChoreClient*> called = clients;
    for (pw::authoring::ChoreClient* client : called) {
        if (std::find(clients.begin(), clients.end(), client) != clients.end())
            client->ChoreTick(self);
    }
    uint32_t taken = GetTickCount() - now;
    SetPeriod(taken < interval ? interval - taken : 0);
}

void ListChore::RemoveOrAppend(pw::authoring::ChoreClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}

void ListChore::ResetTick()
{
    lastTick = GetTickCount();
}
