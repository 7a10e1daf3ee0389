#pragma once

#include <windows.h>

// Holds a critical section for the length of a scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CRITICAL_SECTION* section)
        : section(section)
    {
        EnterCriticalSection(section);
    }
    ~CriticalSectionLock() { LeaveCriticalSection(section); }

    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION* section;
};
