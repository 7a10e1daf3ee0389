// The process's GDI handle table. Handles are fresh keys that are never reused while the table
// lives, so a deleted handle stays dead. Stock objects sit at fixed handles and are never removed.
// Tests get a fresh table (and fresh stock objects) before each case.
#pragma once

#include "platform/gdi/GdiObject.h"

#include <cstddef>
#include <memory>

namespace pw::platform::gdi {

class ObjectTable {
public:
    // Takes ownership of `object` and returns its new handle.
    static HGDIOBJ Add(std::shared_ptr<GdiObject> object);

    // The live object named by `handle`, or null (also for null handles).
    static GdiObject* Find(HGDIOBJ handle);
    // The live object when it is of type T, else null.
    template <typename T>
    static T* Find(HGDIOBJ handle)
    {
        GdiObject* object = Find(handle);
        return object && object->Kind() == T::kKind ? static_cast<T*>(object) : nullptr;
    }

    // Removes a live, non-stock object; its handle is dead from now on.
    static void Remove(HGDIOBJ handle);

    // The stock object of GetStockObject's index, or null for an index that has none.
    static HGDIOBJ Stock(int index);
    // The 1 x 1 monochrome bitmap that a new memory DC holds.
    static HBITMAP DefaultBitmap();

    // Live objects other than stock objects and device contexts; live device contexts.
    static size_t ObjectCount();
    static size_t DcCount();

    // Drops every object and makes the stock objects again.
    static void Reset();

    // Used while making the stock objects: fixes `object` at `handle` for good.
    static void MarkStock(GdiObject& object, HGDIOBJ handle);
};

} // namespace pw::platform::gdi
