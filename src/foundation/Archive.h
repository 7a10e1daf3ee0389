#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Fixed.h"

#include <cstdint>

class Persistent;
class PersistentVersion;
class Stream;

// The abstract writer and reader of object graphs over a stream. Each stored object is framed by a
// versioned scope (ArchiveScope) that asks the archive for the object's token and stored version
// and lets it close the object; references to other objects are 32-bit ids whose meaning belongs
// to the concrete archive. EndObject runs when a scope closes, from a destructor, and must not
// throw: an archive that fails there records the failure and raises it from its next operation.
class Archive : public virtual Smart {
    PW_CLASS_INFO(Archive)
    PW_COPY_SLOTS

public:
    virtual uint32_t BeginObject(const PersistentVersion& record) = 0;
    // Fills `version` with the object's stored version (reading) or `current` (writing).
    virtual Fixed& GetObjectVersion(Fixed& version, uint32_t token, Fixed current) = 0;
    // Writing records the object's length; reading moves to the end of the object's stored bytes,
    // passing over what the reader left when `skip` is set.
    virtual void EndObject(uint32_t token, uint32_t start, bool skip) = 0;
    virtual Archive& WriteObject(Persistent* object);
    // The object's id, 0 for none.
    virtual uint32_t IdOf(Persistent* object) = 0;
    virtual Archive& WriteLong(int32_t value);
    virtual Persistent* ReadObject();
    virtual Persistent* ObjectFor(uint32_t id) = 0;
    virtual int32_t ReadLong();
    virtual Archive& WriteClass(const ClassInfo* record) = 0;
    virtual const ClassInfo* ReadClass() = 0;
    virtual Stream& GetStream() = 0;
    virtual uint32_t GetMark();

protected:
    Archive() = default;
    Archive(const Archive&) = default;
    Archive& operator=(const Archive&) = default;
};
