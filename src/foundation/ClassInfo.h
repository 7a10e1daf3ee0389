#pragma once

#include "foundation/Smart.h"
#include "foundation/SourcePath.h"

#include <cstdint>

template <typename T>
class SmartPtr;

namespace pw::foundation {

// One entry of a class's conversion table: an object of `source` (or one convertible to it) can
// be turned into an object of the owning class by `convert`, which replaces the handle's object
// and answers true, or answers false and leaves the handle alone. `extra` is not read here.
struct ConversionEntry {
    const ClassInfo* source;
    bool (*convert)(SmartPtr<Smart>& handle);
    const void* extra;
};

} // namespace pw::foundation

// The class record: the framework's own run-time type information, one constant record per class.
// It names the class (as object files store it), lists its direct parents in declaration order,
// turns a pointer to the class into its Smart interface, may create a default object, and may
// convert objects of other classes into this one through its conversion table.
class ClassInfo {
public:
    using CastFunction = Smart* (*)(void* object);
    using CreateFunction = Smart* (*)();

    // `parents` and `conversions` end with a null entry; the size comes fourth.
    constexpr ClassInfo(const char* name, const ClassInfo* const* parents, CastFunction cast,
        uint32_t objectSize, CreateFunction create = nullptr,
        const pw::foundation::ConversionEntry* conversions = nullptr)
        : name(name)
        , parents(parents)
        , cast(cast)
        , create(create)
        , conversions(conversions)
        , objectSize(objectSize)
    {
    }

    const char* GetName() const { return name; }
    uint32_t GetObjectSize() const { return objectSize; }
    bool CanCreate() const { return create != nullptr; }
    // The conversion table, ending with a row whose source is null; null when there is none.
    const pw::foundation::ConversionEntry* GetConversions() const { return conversions; }
    // A new unreferenced object, or null for a class without a create function.
    Smart* CreateObject() const;
    // `object` (a pointer to this class, null allowed) as its Smart interface.
    Smart* ToSmart(void* object) const;

    // True when `record` is this class or one of its ancestors (depth first, parents in order).
    bool IsKindOf(const ClassInfo* record) const;

    // Whether the handle's object is of this class or reaches it through at most `depth` chained
    // conversions (an empty handle can always be converted).
    bool CanConvert(const SmartPtr<Smart>& handle, bool allow, int depth) const;
    // The same test on a bare object (an unreferenced object stays unreferenced).
    bool CanConvertObject(Smart* object, bool allow, int depth) const;
    // Replaces the handle's object by one of this class when it can; false leaves it unchanged.
    bool Convert(SmartPtr<Smart>& handle, bool allow, int depth) const;

private:

    const char* name;
    const ClassInfo* const* parents;
    CastFunction cast;
    CreateFunction create;
    const pw::foundation::ConversionEntry* conversions;
    uint32_t objectSize;
};

// The object seen as the class of `record`, or null (also for a null object).
void* SmartCast(Smart* object, const ClassInfo* record);

template <typename T>
T* SmartCast(Smart* object)
{
    return static_cast<T*>(SmartCast(object, &T::classInfo));
}

// Conversions with every caller's settings: allowed, four levels deep.
bool CanConvertTo(Smart* object, const ClassInfo* record);
bool ConvertTo(SmartPtr<Smart>& handle, const ClassInfo* record);

// The target of every assertion (declared with the exceptions; the copy slots below need it).
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);

// Throws TypeMisMatch when the object is not of the record's class; null object or record pass.
void CheckType(Smart* object, const ClassInfo* record);

namespace pw::foundation {

template <typename... Parents>
struct ParentRecords {
    static constexpr const ClassInfo* records[] = { &Parents::classInfo..., nullptr };
};

template <typename Class>
Smart* CastFunction(void* object)
{
    return static_cast<Class*>(object);
}

template <typename Class>
Smart* CreateFunction()
{
    return new Class;
}

// A class's own record first, then each parent's cast in declaration order, on the same object.
template <typename Class, typename... Parents>
void* CastThroughParents(Class* object, const ClassInfo* info)
{
    if (info == &Class::classInfo)
        return object;
    void* result = nullptr;
    ((result = result ? result : static_cast<Parents*>(object)->Parents::CastTo(info)), ...);
    return result;
}

} // namespace pw::foundation

// Inside a class body: the class's record and its two class slots.
#define PW_CLASS_INFO(Name)                                       \
public:                                                           \
    static const ClassInfo classInfo;                             \
    const ClassInfo* GetClassInfo() const override;               \
    void* CastTo(const ClassInfo* info) override;

// Inside a class body: the three copy slots.
#define PW_COPY_SLOTS                                             \
public:                                                           \
    bool CanCopyFrom(Smart* source) override;                     \
    void CopyFrom(Smart* source) override;                        \
    Smart* Copy() const override;

// In the class's source: the record (name, size, create function or nullptr, conversion table or
// nullptr, parents in declaration order) and the class slots.
#define PW_DEFINE_CLASS(Name, create, conversions, ...)                                           \
    constinit const ClassInfo Name::classInfo { #Name,                                            \
        pw::foundation::ParentRecords<__VA_ARGS__>::records, &pw::foundation::CastFunction<Name>,  \
        sizeof(Name), create, conversions };                                                      \
    const ClassInfo* Name::GetClassInfo() const { return &classInfo; }                            \
    void* Name::CastTo(const ClassInfo* info)                                                     \
    {                                                                                             \
        return pw::foundation::CastThroughParents<Name, __VA_ARGS__>(this, info);                 \
    }

// In the class's source: the copy form of the copy slots (copy through the copy constructor and
// assignment; a source of another class fails the assertion "castPtr").
#define PW_DEFINE_COPY_SLOTS(Name)                                                                \
    bool Name::CanCopyFrom(Smart* source) { return SmartCast(source, &classInfo) != nullptr; }    \
    void Name::CopyFrom(Smart* source)                                                            \
    {                                                                                             \
        Name* castPtr = static_cast<Name*>(SmartCast(source, &classInfo));                        \
        if (!castPtr)                                                                             \
            AssertionFailed("castPtr", PW_HERE);                                                  \
        *this = *castPtr;                                                                         \
    }                                                                                             \
    Smart* Name::Copy() const { return new Name(*this); }

// In the class's source: the default form (nothing is copied through the interface).
#define PW_DEFINE_NO_COPY_SLOTS(Name)                                                             \
    bool Name::CanCopyFrom(Smart*) { return false; }                                              \
    void Name::CopyFrom(Smart*) { }                                                               \
    Smart* Name::Copy() const { return nullptr; }
