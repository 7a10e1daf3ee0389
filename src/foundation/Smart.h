#pragma once

#include <cstdint>

class ClassInfo;

// The interface every framework object is reached through. Every framework class inherits it
// virtually, so an object has one Smart part however many framework bases it has. It names the
// object's class record, casts the object to any of its classes, copies it, and carries its
// reference count (SmartImplementation holds the count; SmartPtr<T> handles move it).
class Smart {
public:
    static const ClassInfo classInfo;

    // Abstract; Smart's own bodies answer for Smart's record alone, for derived classes to call.
    virtual const ClassInfo* GetClassInfo() const = 0;
    // The object seen as the class of `info` (a pointer to that class's part), or null.
    virtual void* CastTo(const ClassInfo* info) = 0;

    virtual bool CanCopyFrom(Smart* source) = 0;
    virtual void CopyFrom(Smart* source) = 0;
    // A new object equal to this one, unreferenced, or null when the class is not copied.
    virtual Smart* Copy() const = 0;

    virtual void AddReference() = 0;
    // True when the object is now unreferenced and must be deleted by the caller.
    virtual bool RemoveReference() = 0;
    virtual bool IsShared() const = 0;
    virtual bool Unreferenced() const = 0;
    virtual uint16_t ReferenceCount() const = 0;

    virtual bool IsKindOf(const ClassInfo* info);
    virtual void* Cast(const ClassInfo* info);

    virtual ~Smart();

protected:
    Smart() = default;
    Smart(const Smart&) = default;
    Smart& operator=(const Smart&) = default;
};

// Drops one reference of `object` (null ignored) and deletes it when that was the last.
void SmartRelease(Smart* object);

// Fails the assertion "data != NULL" when `pointer` is null.
void CheckSmartData(const void* pointer);
