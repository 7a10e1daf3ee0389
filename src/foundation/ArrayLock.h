#pragma once

#include "foundation/GenericArray.h"

// Holds an array locked for as long as raw item addresses are in use; reports the count on entry.
class ArrayLock {
public:
    ArrayLock(GenericArray& array, uint32_t& count)
        : array(array)
    {
        count = array.NumItems();
        array.Lock();
    }
    explicit ArrayLock(GenericArray& array)
        : array(array)
    {
        array.Lock();
    }
    ~ArrayLock() { array.Unlock(); }

    ArrayLock(const ArrayLock&) = delete;
    ArrayLock& operator=(const ArrayLock&) = delete;

    // The address of item `index`, or null outside 1..NumItems (never "Range error").
    void* At(uint32_t index) const
    {
        return index == 0 || index > array.NumItems() ? nullptr : array.ItemAddress(index);
    }

private:
    GenericArray& array;
};
