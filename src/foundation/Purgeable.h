#pragma once

#include <cstdint>

// An object that can give cached data back when memory runs short. Deriving classes register
// with RegisterPurgeable once built and unregister before they die, so the purge list holds
// exactly the live ones. Purge must not register or unregister anything.
class Purgeable {
public:
    virtual void Purge(uint32_t bytesWanted) = 0;

protected:
    Purgeable() = default;
    Purgeable(const Purgeable&) = default;
    Purgeable& operator=(const Purgeable&) = default;
    virtual ~Purgeable() = default;
};

void RegisterPurgeable(Purgeable* object);
// Removes the object's first entry.
void UnregisterPurgeable(Purgeable* object);
// Asks every registered object to purge, then answers whether `bytesWanted` bytes are free.
bool PurgeMemory(uint32_t bytesWanted);
