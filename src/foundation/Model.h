#pragma once

#include "foundation/Editable.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

// The base of document objects: an editable that is stored and counted. The model part of a
// stored object is an empty versioned scope of Model's own record; subclasses store their fields
// in their own scopes around it. Models are never read as such, only their subclasses.
class Model : public Editable, public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Model)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

protected:
    Model() = default;
    Model(const Model&) = default;
    Model& operator=(const Model&) = default;
};
