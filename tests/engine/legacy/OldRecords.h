// Old records spelled out byte by byte in the flat archive's framing, and a reader that opens a
// holding scope over them (as the object whose fields hold the old records) through a guarded
// stream, so that a read past the end fails as a corrupt file, as it does in object files.
#pragma once

#include "engine/CResource.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "engine/legacy/CHandleSaver.h"
#include "engine/legacy/CListSaver.h"
#include "engine/legacy/CSound.h"
#include "foundation/ArchiveScope.h"
#include "foundation/GuardedStream.h"
#include "foundation/String.h"
#include "graphics/Sound.h"

#include "engine/EngineFixture.h"
#include "foundation/Failure.h"
#include "foundation/StoredBytes.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace legacy {

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// Class numbers of the references below.
enum ClassNumber : uint32_t {
    kListSaver = 1,
    kHandleSaver,
    kSound,
    kResource,
    kSoundData,
    kXform,
    kString,
};

inline const StoredClasses kClasses = { &CListSaver::version, &CHandleSaver::version, &CSound::version,
    &CResource::version, &Sound::version, &CXform::version, &String::version };

struct OldBytes : StoredBytes {
    OldBytes& Byte(uint8_t value) { return static_cast<OldBytes&>(StoredBytes::Byte(value)); }
    OldBytes& Long(uint32_t value) { return static_cast<OldBytes&>(StoredBytes::Long(value)); }
    OldBytes& Longs(std::initializer_list<uint32_t> values) { return static_cast<OldBytes&>(StoredBytes::Longs(values)); }
    OldBytes& Short(int16_t value)
    {
        auto bits = static_cast<uint16_t>(value);
        Byte(static_cast<uint8_t>(bits));
        return Byte(static_cast<uint8_t>(bits >> 8));
    }
    OldBytes& Bytes(std::initializer_list<uint8_t> values)
    {
        data.insert(data.end(), values.begin(), values.end());
        return *this;
    }
    OldBytes& Append(const std::vector<uint8_t>& bytes)
    {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    OldBytes& Append(const OldBytes& other) { return Append(other.data); }
    // An object's frame: its version, its length, its bytes.
    OldBytes& Frame(Fixed version, const OldBytes& body)
    {
        Long(version.Raw());
        Long(body.Size());
        return Append(body);
    }
    // A reference to an object stored in place.
    OldBytes& Ref(uint32_t number, const OldBytes& body, Fixed version = Fixed(1))
    {
        Long(number);
        return Frame(version, body);
    }
    OldBytes& Empty() { return Long(0); }
    // A reference to a stored string.
    OldBytes& TextRef(const char* text)
    {
        SmartPtr<String> stored(new String(text));
        return Append(::Store({ stored.Get() }, kClasses));
    }
};

// The fields of a CHandleSaver record, before its data.
inline OldBytes HandleFields(bool saveItems, uint8_t pack, int16_t count, int32_t size)
{
    OldBytes fields;
    fields.Byte(saveItems ? 1 : 0).Byte(pack).Short(count);
    fields.Long(static_cast<uint32_t>(size)).Long(0x5A5A5A5A);
    return fields;
}

// A reference to a block record with its data.
inline OldBytes Block(uint8_t pack, int32_t size, const OldBytes& data)
{
    OldBytes body = HandleFields(false, pack, 0, size);
    body.Append(data);
    return OldBytes().Ref(kHandleSaver, body);
}

// The holding object's scope over `held` (stored version `version`); `step` runs inside it.
// Answers what the step threw ("" for nothing).
template <typename Step>
std::string ReadHeld(const OldBytes& held, Step step, Fixed version = Fixed(1))
{
    static const PersistentVersion holder { &Persistent::classInfo, Fixed(1), Fixed(9), nullptr };
    OldBytes bytes;
    bytes.Frame(version, held);
    SmartPtr<MemoryStream> stream = bytes.Stream();
    SmartPtr<pw::foundation::GuardedStream> guard(new pw::foundation::GuardedStream);
    guard->SetStream(stream.Get());
    guard->SetGuarding(true);
    SmartPtr<FlatArchive> archive(new FlatArchive(*guard.Get(), kClasses, false));
    return Failure([&] {
        ArchiveScope scope(*archive.Get(), holder);
        step(scope);
    });
}

inline std::vector<uint8_t> BytesOf(const Memory& block)
{
    const auto* first = static_cast<const uint8_t*>(block.Ptr());
    return first ? std::vector<uint8_t>(first, first + block.Size()) : std::vector<uint8_t>();
}

} // namespace legacy
