#include "foundation/ListHandle.h"

ListHandle::ListHandle(const ClassInfo* itemClass)
    : data(new ListData(itemClass))
{
}

void ListHandle::SetItems(Smart* item, uint32_t from, uint32_t num)
{
    uint64_t needed = static_cast<uint64_t>(from) + num - 1;
    if (needed > NumItems())
        data->InsertItems(nullptr, NumItems(), static_cast<uint32_t>(needed - NumItems()));
    data->ReplaceItems(item, from, num);
}
