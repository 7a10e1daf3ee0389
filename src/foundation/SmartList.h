#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/ListHandle.h"
#include "foundation/SmartPtr.h"

// A typed handle to a shared list of objects of class T: it creates the list with T's record as
// item class, hands objects to it as their Smart interface, and casts entries back through the
// class registry, so an entry of another class reads as null.
template <typename T>
class SmartList : public ListHandle {
public:
    SmartList()
        : ListHandle(&T::classInfo)
    {
    }
    // `count` null entries.
    explicit SmartList(uint32_t count)
        : SmartList()
    {
        if (count > 0)
            ListHandle::InsertItems(nullptr, 0, count);
    }
    SmartList(const SmartList& other) = default;
    SmartList& operator=(const SmartList& other) = default;

    T* Item(uint32_t index) const { return SmartCast<T>(GetItem(index)); }
    void Append(const SmartPtr<T>& object) { ListHandle::Append(ToSmart(object.Get())); }
    void InsertItems(T* object, uint32_t after, uint32_t num) { ListHandle::InsertItems(ToSmart(object), after, num); }
    void Replace(T* object, uint32_t from, uint32_t num) { SetItems(ToSmart(object), from, num); }
    bool Contains(T* object) const { return IndexOf(ToSmart(object)) != 0; }

private:
    static Smart* ToSmart(T* object) { return object; }
};
