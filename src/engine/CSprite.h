#pragma once

#include "engine/CLink.h"
#include "engine/CMovie.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "foundation/TypedArray.h"
#include "graphics/Sound.h"

#include <array>
#include <cstdint>

class ArchiveScope;
class CDelta;
class DisplayPort;

namespace pw::engine {
class SpritePlacement;
}

// One animated actor of a page: a run of consecutive frames of the sprite movie from its start
// frame. For each frame of the run (a sprite-local frame, movie frame minus start frame) it keeps
// where it stands (a PathPoint: an offset and none, kHiddenXform or a CXform), the Sound and the
// CLink of that frame; the picture comes from its cel movie, cel by frame (looping cel movies
// wrap, others hold their last cel). Per-frame lists are 1-based: local frame f is entry f + 1.
// The sprite owns its path, lists and key frames (local frames, ascending) and shares its cel
// movie; transforms are shared between path points and copied before they change.
//
// Stored form (version 2.0, oldest 2.0): the frame count (signed 16-bit), the name (a String in
// place), the start frame (signed 16-bit), the reference point (two signed 32-bit values), object
// references to the path, the default path point, the sound list, the link list and the cel movie,
// the background flag (one byte), the key frames (a 2-byte array in place). The reader trusts none
// of it: a negative count, a run ending past movie frame 32767, a missing cel movie or path, a path
// or list of another length, an entry that is no PathPoint, or key frames out of range or out of
// order give the corrupt-file message; missing sound and link lists and default point are made
// empty.
class CSprite : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CSprite)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // The cel movie's frame count of frames from `start`, every one a copy of the default point:
    // no transform, the placement's centre over the cel movie's centre (none for an empty one).
    CSprite(int16_t start, const SmartPtr<CMovie>& movie, const Rect& placement);
    // Copies of the path points (sharing their transforms), sounds, links and key frames, and a
    // range copy of the cel movie.
    CSprite(const CSprite& other);
    explicit CSprite(ArchiveScope& scope);
    // Copies the counts, name, reference point, flag and key frames; shares the lists and the
    // cel movie.
    CSprite& operator=(const CSprite& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    int16_t NumFrames() const { return frameCount; }
    int16_t StartFrame() const { return startFrame; }
    void SetStartFrame(int16_t frame) { startFrame = frame; }
    SmartPtr<CMovie> GetMovie() const { return movie; }
    // A null movie or the same one is ignored.
    void SetMovie(const SmartPtr<CMovie>& newMovie);
    SmartPtr<String> GetName() const;
    void SetName(const SmartPtr<String>& han);
    Point GetReferencePoint() const { return referencePoint; }
    SmartPtr<PathPoint> GetDefaultPoint() const { return defaultPoint; }
    // The path point of a local frame, or null.
    PathPoint* PathAt(int16_t local) const { return path.Item(uint32_t(local) + 1); }
    const TypedArray<int16_t>& KeyFrames() const { return keyFrames; }

    int16_t CelForFrame(int16_t frame) const;
    Sound* SoundAtFrame(int16_t frame) const;
    CLink* LinkAtFrame(int16_t frame) const;
    void SetSound(int16_t first, int16_t count, Sound* sound);
    // Stores one copy of the link on the run; a null link clears it.
    void SetLink(int16_t first, int16_t count, CLink* link);
    void GetTextAtFrame(int16_t frame, String& text) const;
    // Either may be null: the frame's rectangle on the page (clipped), and the reference point.
    void GetFrameBounds(int16_t frame, Rect* rect, Point* point) const;
    void GetFullFrameBounds(int16_t frame, Rect& rect) const;
    // Top-left, top-right, bottom-right, bottom-left of the cel mapped through the frame.
    void GetCorners(int16_t frame, std::array<Point, 4>& corners) const;
    bool ShowsInFrames(int16_t first, int16_t count) const;
    void RotationAtFrame(int16_t frame, int16_t& angle) const;
    // An empty rectangle hides the frame; a rectangle places the cel on it (the sprite grows to
    // the frame first), making it a key frame; a point becomes the reference point.
    void PlaceAtFrame(int16_t frame, const Rect* rect, const Point* point);
    bool ToggleFlag2(bool toggle);
    bool IsKeyFrame(int16_t frame) const;
    // Frames outside the sprite are no key frames and are ignored.
    void SetKeyFrame(int16_t frame, bool on);
    void OffsetPath(int16_t dh, int16_t dv);

    // Frame edits (CSpriteEdits.cpp). Frames are movie frames; modes 0 to 3 say where new frames
    // may attach: 0 inside only, 1 also at the end, 2 also at the start, 3 both.
    bool InsertFrames(int16_t at, int16_t count, int16_t mode);
    bool DeleteFrames(int16_t first, int16_t count);
    void SetNumFrames(int16_t count);
    void ShowFrames(int16_t first, int16_t count);
    void HideFrames(int16_t first, int16_t count);
    void TrimHidden(int16_t limit);
    // A new sprite of the run, movie frame `first` becoming its frame 0; with `cut` the run is
    // hidden here.
    SmartPtr<CSprite> CopyFrames(int16_t first, int16_t count, bool cut);
    void SetDefaultFromFrame(int16_t frame);
    bool IsFrameAtDefault(int16_t frame) const;
    bool ThinKeyFrames(int16_t first, int16_t count);
    // Warns "Not implemented." and answers false.
    bool InterpolateFrames();
    SmartPtr<CXform> XformAtFrame(int16_t frame) const;
    SmartPtr<CXform> WritableXformAtFrame(int16_t frame);
    void RotateAtFrame(int16_t frame, int16_t angle);
    void SetClipAtFrame(int16_t frame, const Rect* clip);
    void RefitItem(int16_t frame, const Rect& newRect, int16_t first, int16_t count);

    // Drawing and comparison (CSpriteDrawing.cpp). `frame` comes back as the cel number; false
    // (with kHiddenXform and an empty clip) when the sprite shows nothing in the frame.
    bool ComposeFrame(SmartPtr<CXform>& xform, int16_t& frame, Rect& clip) const;
    bool DrawFrame(DisplayPort& target, const SmartPtr<CXform>& parent, int16_t frame, const Color& color,
        int32_t extra) const;
    bool FrameHook(const SmartPtr<CXform>& parent, int16_t frame) const;
    bool MakeDelta(int16_t a, int16_t b, const SmartPtr<CXform>& parentA, const SmartPtr<CXform>& parentB, Rect& clipA,
        Rect& clipB, CDelta& delta) const;
    bool FramesDiffer(int16_t a, int16_t b, const Rect& area) const;
    void GetVisibleCelRect(int16_t frame, Rect* rect, Point* point) const;
    // Whether the sprite is what shows at the page point in the frame, drawn alone: the point lies
    // on its rectangle and, for a picture that lets the page show through its white, on one of
    // the picture's own pixels. A text counts anywhere on its rectangle.
    bool ShowsAtPoint(int16_t frame, Point p) const;

    // Merging (CSpriteMerge.cpp).
    bool TryMerge(const SmartPtr<CSprite>& other, bool checkOverlap, bool checkName, bool fourth);
    void Merge(const SmartPtr<CSprite>& sp);

private:
    friend class pw::engine::SpritePlacement;

    // An empty sprite for CopyFrames.
    CSprite() = default;
    // The run clipped to the sprite as local frames; false when nothing is left.
    bool ClipRun(int16_t& first, int16_t& count) const;
    // The local frame's path point when the movie frame lies in the sprite, else null.
    PathPoint* PointAtFrame(int16_t frame) const;
    // The 1-based position of the first key frame at or after the local frame (one past the last
    // when none is), found by halving: key frames are kept ascending.
    uint32_t KeyPosition(int16_t local) const;
    Rect CelRect(int16_t frame) const;
    SmartPtr<CXform> CelIdentity() const;
    void CheckStored() const;

    int16_t frameCount { 0 };
    String name;
    int16_t startFrame { 0 };
    Point referencePoint { 0, 0 };
    SmartList<PathPoint> path;
    SmartPtr<PathPoint> defaultPoint;
    SmartList<Sound> sounds;
    SmartList<CLink> links;
    SmartPtr<CMovie> movie;
    bool background { false };
    TypedArray<int16_t> keyFrames;
};

namespace pw::engine {

// The web-link class the sprite's conversions accept (none until the export floor lends one).
void SetSpriteLinkClass(const ClassInfo* linkClass);

} // namespace pw::engine
