#pragma once

#include "foundation/Purgeable.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class Resources;

namespace pw::foundation {

// What the cached handles of a resource set share: the object of one number, loaded from its set on
// first use and kept until memory runs short and nobody else holds it. The set keeps one handle per
// number; a failed load leaves it unloaded to try again. Each kind of handle says how it loads.
class CachedResource : public SmartImplementation, public Purgeable {
public:
    ~CachedResource() override;
    CachedResource(const CachedResource&) = delete;
    CachedResource& operator=(const CachedResource&) = delete;

    // The object, loaded first when needed (the missing-data-file error when there is none).
    SmartPtr<Smart> Get();
    // Lets the object go when only this handle holds it.
    void Purge(uint32_t bytesWanted) override;

    bool IsLoaded() const { return loaded.Valid(); }
    int16_t GetNumber() const { return number; }
    // The set goes before its handles: they then refuse to load.
    void Orphan() { owner = nullptr; }

protected:
    CachedResource(Resources* owner, int16_t number);

    // The set; a handle whose set is gone fails "Missing (NULL) value.".
    Resources& Owner() const;

private:
    virtual SmartPtr<Smart> Load(Resources& owner, int16_t number) = 0;

    SmartPtr<Smart> loaded;
    Resources* owner;
    int16_t number;
};

} // namespace pw::foundation
