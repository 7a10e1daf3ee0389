#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"

#include <cstddef>

// A counted handle: one pointer to an object of class T (which inherits Smart virtually). Taking
// an object adds a reference, letting go releases one (deleting the object with its last).
// Copies share the object; nothing here allocates.
template <typename T>
class SmartPtr {
public:
    SmartPtr() = default;
    SmartPtr(std::nullptr_t) { }
    SmartPtr(T* pointer)
        : data(pointer)
    {
        if (data)
            data->AddReference();
    }
    SmartPtr(const SmartPtr& other)
        : SmartPtr(other.data)
    {
    }
    ~SmartPtr() { SmartRelease(data); }

    // The new object gains its reference before the old one loses its own, so assigning a handle
    // that the old object holds, or one to the same object, never frees what is being taken.
    SmartPtr& operator=(const SmartPtr& other)
    {
        T* newData = other.data;
        if (newData == data)
            return *this;
        if (newData)
            newData->AddReference();
        T* oldData = data;
        data = newData;
        SmartRelease(oldData);
        return *this;
    }

    // Fails the assertion "data != NULL" on an empty handle.
    T* operator->() const
    {
        CheckSmartData(data);
        return data;
    }
    T* Get() const { return data; }
    bool Valid() const { return data != nullptr; }
    bool operator==(const SmartPtr& other) const { return data == other.data; }
    bool operator!=(const SmartPtr& other) const { return data != other.data; }

    // A handle to a copy of the object (Copy slot), empty when there is no object, no copy, or the
    // copy is not a T.
    SmartPtr MakeCopy() const
    {
        if (!data)
            return SmartPtr();
        SmartPtr<Smart> copy(data->Copy());
        return SmartPtr(SmartCast<T>(copy.Get()));
    }

private:
    T* data { nullptr };
};
