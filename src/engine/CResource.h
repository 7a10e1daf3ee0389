#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class ArchiveScope;

// A media reference: the picture or text a resource movie shows in its cels, with the rectangle
// where it shows. Its objects are always in memory, so reading one never loads anything.
//
// Stored form (version 1.0, oldest 1.0): the rectangle (four signed 32-bit values), then an object
// reference to the object (the empty reference for none).
class CResource : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CResource)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CResource() = default;
    // The flag is the media reference's own and changes nothing here (callers pass 1).
    CResource(const SmartPtr<Persistent>& object, bool flag);
    CResource(const CResource& other) = default;
    explicit CResource(ArchiveScope& scope);
    CResource& operator=(const CResource& other) = default;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    virtual SmartPtr<Persistent> GetObject() const { return object; }
    // The stored rectangle when one was set, else the object's own bounds when it is an image,
    // else the empty rectangle.
    Rect GetBounds() const;
    void SetRect(const Rect& rect) { this->rect = rect; }

private:
    SmartPtr<Persistent> object;
    Rect rect { 0, 0, 0, 0 };
};
