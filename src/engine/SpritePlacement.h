#pragma once

#include "engine/CLink.h"
#include "engine/PathPoint.h"
#include "foundation/Point.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"
#include "graphics/Sound.h"

#include <cstdint>
#include <vector>

class CSprite;

namespace pw::engine {

// Where a sprite stands over its whole run, taken apart from the sprite so that an edit that
// moves, turns or shows it can be put back exactly: the frame count and start frame, the
// reference point, the path, the per-frame sounds and links, and the key frames. The name, the
// cel movie, the default point and the background flag are not part of it. The path points are
// copies (entries that shared one point share one copy); their transforms are the sprite's own,
// which the placement's hold keeps safe, since an edit copies a shared transform before changing
// it. Putting the placement back so keeps what the stored page would show shared.
class SpritePlacement {
public:
    explicit SpritePlacement(const CSprite& sprite);

    // The sprite takes this placement again; the placement stays as it is, to be put back again.
    void Restore(CSprite& sprite) const;

private:
    // Copies of the points, one for each distinct point (none stays none).
    static std::vector<SmartPtr<PathPoint>> CopiesOf(const std::vector<SmartPtr<PathPoint>>& points);

    int16_t frameCount;
    int16_t startFrame;
    Point referencePoint;
    std::vector<SmartPtr<PathPoint>> path;
    std::vector<SmartPtr<Sound>> sounds;
    std::vector<SmartPtr<CLink>> links;
    TypedArray<int16_t> keyFrames;
};

} // namespace pw::engine
