#pragma once

#include "engine/CJump.h"
#include "foundation/String.h"

#include <cstdint>

// A frame label: a frame number of its movie (never negative) and a name. A movie's frame index
// keeps its labels in frame order and moves them with inserted and deleted frames; frame links
// hold the label object, so they follow it.
//
// Stored form (version 2.0, oldest 2.0), inside the CJumpFrame scope: the frame (signed 16-bit)
// and the name as a nested String.
class CJumpFrame : public CJump {
    PW_CLASS_INFO(CJumpFrame)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CJumpFrame() = default;
    CJumpFrame(int16_t frame, const String& name);
    CJumpFrame(const CJumpFrame& other);
    // Reads the stored form (scope opened with `version`); a negative frame reads as 0.
    explicit CJumpFrame(ArchiveScope& scope);
    CJumpFrame& operator=(const CJumpFrame& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int16_t GetFrame() const { return frame; }
    // A negative frame is stored as 0.
    void SetFrame(int16_t value) { frame = value < 0 ? int16_t(0) : value; }
    const String& GetName() const { return name; }
    void SetName(const String& value) { name = value; }

private:
    int16_t frame { 0 };
    String name;
};
