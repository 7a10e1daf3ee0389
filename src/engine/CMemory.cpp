#include "engine/CMemory.h"

CMemory& CMemory::Get()
{
    // Made on first use and never destroyed: movies may purge through it while the run ends.
    static CMemory* budget = new CMemory;
    return *budget;
}

CMemory::CMemory()
{
    reserve.TrySetSize(kReserveSize);
    RegisterPurgeable(this);
}

CMemory::~CMemory()
{
    UnregisterPurgeable(this);
}

bool CMemory::SetPurgeLevel(int16_t level)
{
    if (level < 0 || level > kMaxLevel)
        return false;
    purgeLevel = level;
    return true;
}

uint32_t CMemory::LimitFor(int16_t level)
{
    constexpr uint32_t kLevelZeroLimit = 8 * 1024 * 1024;
    if (level < 0)
        level = 0;
    if (level > kMaxLevel)
        level = kMaxLevel;
    return kLevelZeroLimit >> level;
}

bool CMemory::IsOverLimit() const
{
    return FreeVirtualMemory() < LimitFor(purgeLevel);
}

bool CMemory::RestoreReserve()
{
    if (HasReserve())
        return true;
    if (FreeVirtualMemory() < LimitFor(kMaxLevel) + kReserveSize)
        return false;
    return reserve.TrySetSize(kReserveSize);
}

bool CMemory::PurgeAll(uint32_t bytesWanted)
{
    return PurgeMemory(bytesWanted);
}

void CMemory::Purge(uint32_t)
{
    reserve.SetSize(0);
}

PurgeLevelRaise::PurgeLevelRaise(bool raise, int16_t level)
    : found(CMemory::Get().GetPurgeLevel())
{
    if (raise && found < level)
        CMemory::Get().SetPurgeLevel(level);
}

PurgeLevelRaise::~PurgeLevelRaise()
{
    CMemory::Get().SetPurgeLevel(found);
}
