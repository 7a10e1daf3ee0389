#pragma once

#include "foundation/GenericArray.h"

// A GenericArray of plain values of type T (item size sizeof(T)). It reports the GenericArray
// class and version records and is stored exactly like one.
template <typename T>
class TypedArray : public GenericArray {
public:
    explicit TypedArray(uint32_t count = 0)
        : GenericArray(sizeof(T), count)
    {
    }
    TypedArray(const TypedArray& other) = default;
    // Reads an array stored with T-sized items.
    explicit TypedArray(ArchiveScope& scope)
        : GenericArray(sizeof(T), scope)
    {
    }
    TypedArray& operator=(const TypedArray& other)
    {
        GenericArray::operator=(other);
        return *this;
    }

    Smart* Copy() const override { return new TypedArray(*this); }

    // Element `index` (1-based); "Range error" outside 1..NumItems.
    T& operator[](uint32_t index) const { return *static_cast<T*>(ItemAddress(index)); }

    void Append(const T& value) { AppendItems(&value, 1); }
    void InsertItems(const T* source, uint32_t after, uint32_t num) { GenericArray::InsertItems(source, after, num); }
    uint32_t IndexOf(const T& value) const { return GenericArray::IndexOf(&value); }
    // Removes the first element equal to value, or appends it when absent.
    void Toggle(const T& value)
    {
        uint32_t index = IndexOf(value);
        if (index != 0)
            DeleteItems(index, 1);
        else
            Append(value);
    }
};

// 32-bit values: client lists, queues and record sizes.
using LongArray = TypedArray<int32_t>;
