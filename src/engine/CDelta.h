#pragma once

#include "engine/CXform.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "graphics/Area.h"

#include <cstdint>
#include <vector>

class ArchiveScope;
class CMovie;

// One drawing to redo: a movie's frame through a transform, the rectangle it covers, the part of
// that rectangle that must be drawn again (its area) and the part already on the screen (the old
// rectangle), with the movie's drawing modes as they were when it was recorded.
struct Imprint {
    SmartPtr<CMovie> movie;
    int16_t frame { 0 };
    SmartPtr<CXform> transform;
    Rect rect { 0, 0, 0, 0 };
    SmartPtr<Area> area;
    Rect oldRect { 0, 0, 0, 0 };
    // The movie's mode bits 0, 2 and 4 (its flag byte masked).
    uint8_t modes { 0 };
};

// A list of imprints: what a change between two drawings of a page touches. The movies record
// into it through MakeDelta, top of the stack first, using the delta system's two shared areas:
// the covered area (what opaque drawings above already hide, taken out of every area recorded
// below them) and the vacated area (what old drawings covered and nothing redraws, to be restored
// from the background). ResetShared empties both before a pass.
//
// Stored form (version 1.0, oldest 1.0): the imprint count (signed 32-bit), then per imprint the
// frame (signed 16-bit), the rectangle and the old rectangle (four signed 32-bit values each), the
// modes (one byte) and object references to the movie, the transform and the area. The reader
// bounds the count by the bytes left and drops imprints without a movie.
class CDelta : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CDelta)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CDelta() = default;
    CDelta(const CDelta& other) = default;
    CDelta& operator=(const CDelta& other) = default;
    explicit CDelta(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Records the imprint with the movie's modes; false (nothing kept) when both the rectangle and
    // the area are empty, as there is nothing to draw.
    bool AddImprint(CMovie& movie, int16_t frame, const SmartPtr<CXform>& transform, const Rect& rect,
        const SmartPtr<Area>& area, const Rect& oldRect);
    const std::vector<Imprint>& Imprints() const { return imprints; }

    static Area& CoveredArea();
    static Area& VacatedArea();
    static void ResetShared();
    // The area minus the shared covered area, in place.
    static void Combine(Area& area);

private:
    std::vector<Imprint> imprints;
};
