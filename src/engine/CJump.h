#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

class ArchiveScope;

// The common base of the places a link can jump to: a labelled frame (CJumpFrame) or another
// movie file (CJumpMovie). It carries no data; a plain CJump is neither read nor written in a
// usable way (both only warn "Not implemented.").
class CJump : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CJump)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CJump() = default;
    CJump(const CJump& other);
    // Warns "Not implemented." and reads nothing.
    explicit CJump(ArchiveScope& scope);
    CJump& operator=(const CJump&) = default;

    // Warns "Not implemented." and writes nothing.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
};
