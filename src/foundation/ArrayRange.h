#pragma once

#include "foundation/TypedArray.h"

// A locked cursor over elements first..last of a typed array: while it lives the array can
// neither move nor change its count. An empty array, or last < first, yields no elements.
template <typename T>
class ArrayRange {
public:
    ArrayRange(TypedArray<T>& array, uint32_t first, uint32_t last)
        : array(array)
    {
        if (last >= first && first >= 1 && last <= array.NumItems()) {
            current = &array[first];
            this->last = &array[last];
        }
        array.Lock();
    }
    ArrayRange(TypedArray<T>& array, uint32_t first)
        : ArrayRange(array, first, array.NumItems())
    {
    }
    ~ArrayRange() { array.Unlock(); }

    ArrayRange(const ArrayRange&) = delete;
    ArrayRange& operator=(const ArrayRange&) = delete;

    bool More() const { return current && current <= last; }
    void Next() { ++current; }
    T* Current() const { return current; }

private:
    TypedArray<T>& array;
    T* current { nullptr };
    T* last { nullptr };
};
