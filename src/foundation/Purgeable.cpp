#include "foundation/Purgeable.h"

#include "foundation/ArrayRange.h"
#include "foundation/Memory.h"
#include "foundation/TypedArray.h"

namespace {

// Made at first use and never destroyed: objects may unregister from their own destructors
// during exit.
TypedArray<Purgeable*>& PurgeList()
{
    static TypedArray<Purgeable*>* list = new TypedArray<Purgeable*>(0);
    return *list;
}

} // namespace

void RegisterPurgeable(Purgeable* object)
{
    PurgeList().Append(object);
}

void UnregisterPurgeable(Purgeable* object)
{
    TypedArray<Purgeable*>& list = PurgeList();
    uint32_t index = list.IndexOf(object);
    if (index != 0)
        list.DeleteItems(index, 1);
}

bool PurgeMemory(uint32_t bytesWanted)
{
    for (ArrayRange<Purgeable*> range(PurgeList(), 1); range.More(); range.Next())
        (*range.Current())->Purge(bytesWanted);
    return FreeVirtualMemory() >= bytesWanted;
}
