#include "platform/kernel/HandleTable.h"

#include <mutex>
#include <unordered_map>

namespace pw::platform {

namespace {

constexpr uintptr_t kFirstValue = 4;
constexpr uintptr_t kValueStep = 4;
constexpr uintptr_t kValueLimit = 0x7FFFFFFFu;

struct Table {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::unique_ptr<KernelObject>> objects;
    uintptr_t next = kFirstValue;
};

Table& TheTable()
{
    static Table table;
    return table;
}

uintptr_t ValueOf(HANDLE handle)
{
    return reinterpret_cast<uintptr_t>(handle);
}

} // namespace

HANDLE HandleTable::Add(std::unique_ptr<KernelObject> object)
{
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    // Walks on from the last value given, wrapping below 2^31, so a value comes back only after
    // about half a billion other handles.
    for (uintptr_t tries = 0; tries < kValueLimit / kValueStep; ++tries) {
        uintptr_t value = t.next;
        t.next = t.next + kValueStep >= kValueLimit ? kFirstValue : t.next + kValueStep;
        if (t.objects.count(value) == 0) {
            t.objects.emplace(value, std::move(object));
            return reinterpret_cast<HANDLE>(value);
        }
    }
    return nullptr;
}

bool HandleTable::AddAt(HANDLE value, std::unique_ptr<KernelObject> object)
{
    uintptr_t key = ValueOf(value);
    if (key == 0 || value == reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
        return false;
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    return t.objects.emplace(key, std::move(object)).second;
}

KernelObject* HandleTable::Lookup(HANDLE handle, KernelObject::Kind kind)
{
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(ValueOf(handle));
    if (it == t.objects.end() || it->second->GetKind() != kind)
        return nullptr;
    return it->second.get();
}

std::unique_ptr<KernelObject> HandleTable::Remove(HANDLE handle, KernelObject::Kind kind)
{
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(ValueOf(handle));
    if (it == t.objects.end() || it->second->GetKind() != kind)
        return nullptr;
    std::unique_ptr<KernelObject> object = std::move(it->second);
    t.objects.erase(it);
    return object;
}

size_t HandleTable::Count(KernelObject::Kind kind)
{
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    size_t count = 0;
    for (const auto& [value, object] : t.objects) {
        if (object->GetKind() == kind)
            ++count;
    }
    return count;
}

void HandleTable::Clear()
{
    std::unordered_map<uintptr_t, std::unique_ptr<KernelObject>> doomed;
    {
        Table& t = TheTable();
        std::lock_guard lock(t.mutex);
        doomed.swap(t.objects);
        t.next = kFirstValue;
    }
    // Destroyed outside the lock: a destructor may reach the table again.
}

} // namespace pw::platform
