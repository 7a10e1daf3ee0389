#pragma once

#include "foundation/ListData.h"
#include "foundation/SmartPtr.h"

// A counted handle that creates a list and forwards the common operations to it. Copies share the
// list, which lives while any handle or other counted reference holds it.
class ListHandle {
public:
    explicit ListHandle(const ClassInfo* itemClass);
    ListHandle(const ListHandle& other) = default;
    ListHandle& operator=(const ListHandle& other) = default;
    ~ListHandle() = default;

    ListData* Data() const { return data.Get(); }

    uint32_t NumItems() const { return data->NumItems(); }
    uint32_t IndexOf(Smart* item) const { return data->IndexOf(item); }
    Smart* GetItem(uint32_t index) const { return data->GetItem(index); }
    bool IsEmpty() const { return NumItems() == 0; }

    void InsertItems(Smart* item, uint32_t after, uint32_t num) { data->InsertItems(item, after, num); }
    void Append(Smart* item) { InsertItems(item, NumItems(), 1); }
    void AppendList(const ListHandle& other) { data->InsertList(*other.data.Get(), NumItems()); }
    // Grows the list with null entries to hold from + num - 1, then makes that run equal to item.
    void SetItems(Smart* item, uint32_t from, uint32_t num);

private:
    SmartPtr<ListData> data;
};
