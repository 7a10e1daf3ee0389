#pragma once

#include "foundation/Chore.h"
#include "foundation/SmartPtr.h"

#include <cstdint>
#include <vector>

class ListChore;

namespace pw::authoring {

// Whoever a ListChore calls each period. Clients are borrowed and remove themselves.
class ChoreClient {
public:
    virtual void ChoreTick(const SmartPtr<ListChore>& chore) = 0;

protected:
    ~ChoreClient() = default;
};

} // namespace pw::authoring

// A chore that calls a list of clients once a period, the period counted from its last call or
// from the last ResetTick, so a reset puts the next call a full period away.
class ListChore : public Chore {
public:
    ListChore(uint32_t period, bool repeat);

    void Perform() override;
    // Registers the client, or unregisters it when it is registered.
    void RemoveOrAppend(pw::authoring::ChoreClient* client);
    // The next calls come a full period from now.
    void ResetTick();

private:
    uint32_t interval;
    uint32_t lastTick;
    std::vector<pw::authoring::ChoreClient*> clients;
};
