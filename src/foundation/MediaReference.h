#pragma once

#include "foundation/ObjectReference.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"

// The stored base of media that are loaded on demand and can be given up again. Its own part of a
// stored object is an empty versioned scope; subclasses store their data in their own scopes.
class MediaReference : public ObjectReference, public Persistent {
    PW_CLASS_INFO(MediaReference)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // Releases the loaded media when they can be loaded again; true when something was released.
    virtual bool Purge() = 0;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

protected:
    MediaReference() = default;
    MediaReference(const MediaReference&) = default;
    MediaReference& operator=(const MediaReference&) = default;
};
