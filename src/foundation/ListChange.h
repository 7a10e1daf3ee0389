#pragma once

#include <cstdint>

// What one edit of a list (or of a text) changed: from position `from` (1-based), `count` old
// entries were replaced or removed, and the number of entries changed by `delta`; the new entries
// from `from` number count + delta.
struct ListChange {
    uint32_t from;
    uint32_t count;
    int32_t delta;

    bool operator==(const ListChange&) const = default;
};

// Told after each edit of a list it registered with, synchronously, last registered first. The
// list does not count it; a listener unregisters itself before it dies.
class ListListener {
public:
    virtual ~ListListener() = default;
    virtual void ListChanged(const ListChange& change) = 0;
};
