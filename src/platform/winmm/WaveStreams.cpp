#include "platform/winmm/WaveStreams.h"

#include <cstdint>
#include <map>

namespace pw::platform::winmm {

namespace {

struct Table {
    std::map<uintptr_t, std::unique_ptr<WaveStream>> streams;
    uintptr_t next = 0x1000;
};

Table& TheTable()
{
    static Table table;
    return table;
}

} // namespace

void* WaveStreams::Add(std::unique_ptr<WaveStream> stream)
{
    Table& table = TheTable();
    uintptr_t value = table.next;
    table.next += 4;
    table.streams.emplace(value, std::move(stream));
    return reinterpret_cast<void*>(value);
}

WaveStream* WaveStreams::Get(void const* handle, WaveDirection direction)
{
    auto& streams = TheTable().streams;
    auto it = streams.find(reinterpret_cast<uintptr_t>(handle));
    if (it == streams.end() || it->second->direction != direction)
        return nullptr;
    return it->second.get();
}

bool WaveStreams::IsOpen(WaveDirection direction)
{
    for (auto const& [value, stream] : TheTable().streams) {
        if (stream->direction == direction)
            return true;
    }
    return false;
}

void WaveStreams::Remove(void const* handle)
{
    TheTable().streams.erase(reinterpret_cast<uintptr_t>(handle));
}

size_t WaveStreams::Count()
{
    return TheTable().streams.size();
}

void WaveStreams::Clear()
{
    for (auto& [value, stream] : TheTable().streams) {
        stream->endpoint.reset();
        stream->queue.Abandon();
    }
    TheTable().streams.clear();
}

} // namespace pw::platform::winmm
