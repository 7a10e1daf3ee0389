// Every kernel object the program holds a handle to (open files, searches, global blocks, loaded
// libraries) lives in this one table. Handle values are multiples of 4 below 2^31, so a file handle
// survives the round trip through a 32-bit HFILE, and a value is not reused until the counter wraps,
// so a closed handle stays dead. A lookup checks the object's kind: a dead handle or one of another
// kind reads as absent, which the calls report as error 6.
#pragma once

#include <cstddef>
#include <memory>

#include <windef.h>

namespace pw::platform {

class KernelObject {
public:
    enum class Kind { File, Find, GlobalBlock, Module };

    explicit KernelObject(Kind kind)
        : m_kind(kind)
    {
    }
    virtual ~KernelObject() = default;
    Kind GetKind() const { return m_kind; }

private:
    Kind m_kind;
};

class HandleTable {
public:
    // Takes ownership and returns the new handle, or nullptr when every value is taken.
    static HANDLE Add(std::unique_ptr<KernelObject> object);

    // Takes ownership under a value the caller chose (a fixed global block is its own address);
    // false when the value is invalid or taken.
    static bool AddAt(HANDLE value, std::unique_ptr<KernelObject> object);

    // The live object of T's kind behind `handle`, or nullptr.
    template <typename T>
    static T* Get(HANDLE handle)
    {
        return static_cast<T*>(Lookup(handle, T::kKind));
    }

    // Removes and returns the live object of `kind` behind `handle`, or nullptr.
    static std::unique_ptr<KernelObject> Remove(HANDLE handle, KernelObject::Kind kind);

    static size_t Count(KernelObject::Kind kind);

    // Destroys every object (closing files, freeing blocks): the test reset.
    static void Clear();

private:
    static KernelObject* Lookup(HANDLE handle, KernelObject::Kind kind);
};

} // namespace pw::platform
