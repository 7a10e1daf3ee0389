#pragma once

#include "foundation/Archive.h"
#include "foundation/SmartImplementation.h"

// The null archive: writes vanish and every read gives 0, null objects and null classes. Skipped
// scopes hand it to the objects they contain.
class BitBucketArchive : public Archive, public SmartImplementation {
    PW_CLASS_INFO(BitBucketArchive)
    PW_COPY_SLOTS

public:
    BitBucketArchive() = default;
    BitBucketArchive(const BitBucketArchive& other) = default;
    BitBucketArchive& operator=(const BitBucketArchive& other) = default;

    uint32_t BeginObject(const PersistentVersion&) override { return 0; }
    Fixed& GetObjectVersion(Fixed& version, uint32_t token, Fixed current) override;
    void EndObject(uint32_t, uint32_t, bool) override { }
    uint32_t IdOf(Persistent*) override { return 0; }
    Persistent* ObjectFor(uint32_t) override { return nullptr; }
    Archive& WriteClass(const ClassInfo*) override { return *this; }
    const ClassInfo* ReadClass() override { return nullptr; }
    Stream& GetStream() override;
};

namespace pw::foundation {

// The shared null archive, for the whole run.
Archive& NullArchive();

} // namespace pw::foundation
