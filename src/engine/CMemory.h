#pragma once

#include "foundation/Memory.h"
#include "foundation/Purgeable.h"

#include <cstdint>

// The engine's memory budget, one object for the run (CMemory::Get). Its purge level, 0 to
// kMaxLevel, says how hard caches may still grow: at level L the budget counts as over its limit
// while less than LimitFor(L) bytes of memory are free, so higher levels tolerate less free
// memory. The budget also keeps a small reserve block that it gives back first when asked to
// purge and rebuilds on request once memory allows.
class CMemory : public Purgeable {
public:
    static constexpr int16_t kMaxLevel = 3;
    static constexpr uint32_t kReserveSize = 64 * 1024;

    static CMemory& Get();

    int16_t GetPurgeLevel() const { return purgeLevel; }
    // Stores the level and answers true when it lies in 0 .. kMaxLevel; otherwise changes nothing.
    bool SetPurgeLevel(int16_t level);
    // Less free memory than the current level's limit.
    bool IsOverLimit() const;
    // The free bytes a level wants kept: 8 MB at level 0, halved at each level above.
    static uint32_t LimitFor(int16_t level);
    // Rebuilds the reserve when it is gone and memory allows; answers whether it is in place.
    bool RestoreReserve();
    bool HasReserve() const { return reserve.Size() != 0; }
    // Asks every registered purgeable object, this budget among them, to give memory back;
    // answers whether `bytesWanted` bytes are free afterwards.
    bool PurgeAll(uint32_t bytesWanted);
    // Gives the reserve back.
    void Purge(uint32_t bytesWanted) override;

private:
    CMemory();
    ~CMemory() override;

    int16_t purgeLevel { 0 };
    Memory reserve;
};

// Raises the budget's purge level to `level` for its life when the level is lower, and always
// puts back the level it found.
class PurgeLevelRaise {
public:
    PurgeLevelRaise(bool raise, int16_t level);
    ~PurgeLevelRaise();
    PurgeLevelRaise(const PurgeLevelRaise&) = delete;
    PurgeLevelRaise& operator=(const PurgeLevelRaise&) = delete;

    int16_t Found() const { return found; }

private:
    int16_t found;
};
