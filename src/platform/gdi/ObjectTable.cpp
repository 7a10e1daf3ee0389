#include "platform/gdi/ObjectTable.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/LogicalFont.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Screen.h"
#include "platform/testing/Reset.h"

#include <unordered_map>

namespace pw::platform::gdi {

namespace {

// Stock objects sit at fixed small handles; every other handle comes from a counter that starts
// above them, so handle values never repeat within a run of the table.
constexpr uintptr_t kStockBase = 0x1000;
constexpr uintptr_t kDefaultBitmapIndex = 31;
constexpr uintptr_t kFirstHandle = 0x10000;
constexpr uintptr_t kHandleStep = 4;

HGDIOBJ StockHandle(uintptr_t index)
{
    return reinterpret_cast<HGDIOBJ>(kStockBase + index * kHandleStep);
}

struct Table {
    std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects;
    uintptr_t next = kFirstHandle;
    size_t dcs = 0;
    bool stocked = false;
    // Handles found lately, one slot per handle's low bits, so that a call naming the same few
    // DCs and objects again skips the map. A slot is cleared when its object leaves the table.
    struct Recent {
        uintptr_t key = 0;
        GdiObject* object = nullptr;
    };
    static constexpr size_t kRecent = 64;
    Recent recent[kRecent];

    Recent& SlotOf(uintptr_t key) { return recent[(key / kHandleStep) % kRecent]; }
};

Table& TheTable()
{
    static Table table;
    return table;
}

void AddStock(Table& table, uintptr_t index, std::shared_ptr<GdiObject> object)
{
    HGDIOBJ handle = StockHandle(index);
    table.objects[reinterpret_cast<uintptr_t>(handle)] = object;
    ObjectTable::MarkStock(*object, handle);
}

void MakeStock(Table& table)
{
    table.stocked = true;
    struct StockBrush {
        int index;
        COLORREF color;
    };
    for (StockBrush stock : { StockBrush { WHITE_BRUSH, RGB(255, 255, 255) }, { LTGRAY_BRUSH, RGB(192, 192, 192) },
                              { GRAY_BRUSH, RGB(128, 128, 128) }, { DKGRAY_BRUSH, RGB(64, 64, 64) },
                              { BLACK_BRUSH, RGB(0, 0, 0) } })
        AddStock(table, stock.index, Brush::MakeSolid(stock.color));
    AddStock(table, NULL_BRUSH, Brush::MakeNull());
    AddStock(table, WHITE_PEN, std::make_shared<Pen>(PS_SOLID, 0, RGB(255, 255, 255)));
    AddStock(table, BLACK_PEN, std::make_shared<Pen>(PS_SOLID, 0, RGB(0, 0, 0)));
    AddStock(table, NULL_PEN, std::make_shared<Pen>(PS_NULL, 0, RGB(0, 0, 0)));
    AddStock(table, SYSTEM_FONT, std::make_shared<LogicalFont>(FontCache::SystemFontSpec()));

    // The default palette holds the 20 static colours.
    std::vector<PALETTEENTRY> statics;
    for (const RGBQUAD& q : Screen::StaticColors())
        statics.push_back({ q.rgbRed, q.rgbGreen, q.rgbBlue, 0 });
    AddStock(table, DEFAULT_PALETTE, std::make_shared<Palette>(std::move(statics)));

    AddStock(table, kDefaultBitmapIndex, Bitmap::MakeDdb(1, 1, 1));
}

Table& Stocked()
{
    Table& table = TheTable();
    if (!table.stocked)
        MakeStock(table);
    return table;
}

const bool registered = pw::platform::testing::RegisterReset([] { ObjectTable::Reset(); });

} // namespace

void ObjectTable::MarkStock(GdiObject& object, HGDIOBJ handle)
{
    object.handle = handle;
    object.stock = true;
}

HGDIOBJ ObjectTable::Add(std::shared_ptr<GdiObject> object)
{
    Table& table = Stocked();
    uintptr_t key = table.next;
    table.next += kHandleStep;
    object->handle = reinterpret_cast<HGDIOBJ>(key);
    if (object->Kind() == ObjectKind::Dc)
        ++table.dcs;
    table.objects.emplace(key, std::move(object));
    return reinterpret_cast<HGDIOBJ>(key);
}

GdiObject* ObjectTable::Find(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    auto key = reinterpret_cast<uintptr_t>(handle);
    Table& table = TheTable();
    Table::Recent& slot = table.SlotOf(key);
    if (slot.key == key)
        return slot.object;
    Stocked();
    auto it = table.objects.find(key);
    if (it == table.objects.end())
        return nullptr;
    slot = { key, it->second.get() };
    return slot.object;
}

void ObjectTable::Remove(HGDIOBJ handle)
{
    Table& table = Stocked();
    auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.objects.end() || it->second->IsStock())
        return;
    if (it->second->Kind() == ObjectKind::Dc)
        --table.dcs;
    // The object dies after it has left the table, so nothing it runs on the way out finds it.
    std::shared_ptr<GdiObject> dying = std::move(it->second);
    table.objects.erase(it);
    if (table.SlotOf(reinterpret_cast<uintptr_t>(handle)).key == reinterpret_cast<uintptr_t>(handle))
        table.SlotOf(reinterpret_cast<uintptr_t>(handle)) = {};
}

HGDIOBJ ObjectTable::Stock(int index)
{
    if (index < 0 || index >= static_cast<int>(kDefaultBitmapIndex))
        return nullptr;
    Table& table = Stocked();
    HGDIOBJ handle = StockHandle(static_cast<uintptr_t>(index));
    return table.objects.count(reinterpret_cast<uintptr_t>(handle)) ? handle : nullptr;
}

HBITMAP ObjectTable::DefaultBitmap()
{
    Stocked();
    return reinterpret_cast<HBITMAP>(StockHandle(kDefaultBitmapIndex));
}

size_t ObjectTable::ObjectCount()
{
    Table& table = Stocked();
    size_t stocks = 0;
    for (const auto& entry : table.objects)
        stocks += entry.second->IsStock() ? 1 : 0;
    return table.objects.size() - stocks - table.dcs;
}

size_t ObjectTable::DcCount()
{
    return Stocked().dcs;
}

void ObjectTable::Reset()
{
    Table& table = TheTable();
    std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> dying;
    dying.swap(table.objects);
    table.next = kFirstHandle;
    table.dcs = 0;
    table.stocked = false;
    for (Table::Recent& slot : table.recent)
        slot = {};
    dying.clear();
    MakeStock(table);
}

} // namespace pw::platform::gdi
