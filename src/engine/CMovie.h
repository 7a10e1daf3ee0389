#pragma once

#include "engine/CFrameIndex.h"
#include "engine/CLink.h"
#include "engine/CXform.h"
#include "foundation/ListData.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Purgeable.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "graphics/ColorTable.h"
#include "graphics/Sound.h"

#include <cstdint>
#include <vector>

class ArchiveScope;
class CDelta;
class CMovie;
class CShow;
class CStamp;
class CTrackList;
class DisplayPort;
class Image;

// The observer of a movie. Clients are told in the order they were added; the movie does not
// hold them, so each removes itself before it goes.
class MovieClient {
public:
    // `frame` -1 stands for every frame.
    virtual void MovieChanged(Smart* source, const Rect& rect, int16_t frame) = 0;
    // After the new bounds are stored, before the change notice.
    virtual void BoundsChanged(CMovie& movie, const Rect& oldBounds) = 0;

protected:
    ~MovieClient() = default;
};

// The abstract base of every animation: a numbered run of frames (from 0, always at least one)
// with a rectangle, mode bits, and four per-frame lists kept at one item per frame (frame f at
// item f + 1): sounds, colour tables, links, and the stamps drawn for the frame (never stored).
// It owns its frame index of labels and tells its clients of every change; a frame edit tells
// them once, before it starts, and keeps sInFrameEdit set while its inner steps run.
//
// Stored form (version 2.0, oldest 2.0): the frame count (signed 16-bit), the bounds (four signed
// 32-bit values), the eight flag bits as one byte each (bit 0 first), then object references to
// the sound list, the colour-table list, the link list and the frame index. Readers trust none of
// it: the count is at least 1, lists are fitted to the count, missing ones rebuilt, labels past
// the end clamped to the last frame.
class CMovie : public Persistent, public SmartImplementation, public Purgeable {
    PW_CLASS_INFO(CMovie)

public:
    static const PersistentVersion version;
    static bool sInFrameEdit;
    static const Rect kDefaultBounds;
    // No frame count passes this: edits that would are refused.
    static constexpr int32_t kMaxFrames = 32767;

    // Flag bits.
    static constexpr uint8_t kMode0 = 1;
    static constexpr uint8_t kFlag1 = 2;
    static constexpr uint8_t kMode2 = 4;
    static constexpr uint8_t kLoop = 8;
    static constexpr uint8_t kMode4 = 16;
    // Bits 5 to 7 are only stored and read back. Bit 5 marks a picture the picture editor painted
    // onto the page as new work; a copy keeps it, with bits 0 to 4, and starts with 6 and 7 clear.
    static constexpr uint8_t kPainted = 32;
    static constexpr uint8_t kCopiedFlags = 0x1F | kPainted;

    ~CMovie() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    bool CanCopyFrom(Smart* source) override;
    void CopyFrom(Smart* source) override;
    Smart* Copy() const override { return nullptr; }

    virtual void Changed(Smart* source, const Rect& rect, int16_t frame);
    virtual void SetBounds(const Rect& rect);
    // Warns "Not implemented.".
    virtual void OffsetFrame(int16_t frame, Point offset);
    virtual void GetFrameBounds(Rect& rect, int16_t frame);
    // Warns "Not implemented." and answers false.
    virtual bool DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color);
    // No transform, the hidden one, or one that keeps sizes.
    virtual bool CanTransform(const SmartPtr<CXform>& xform);
    virtual bool DrawsFrames() { return true; }
    // Draws the frame through its stamp cache: a cached or new stamp when the budget allows, else
    // the frame itself. True without drawing for the hidden transform, one without area, or an
    // empty frame. `color` and `extra` go on to DrawFrame and the stamps' own checks.
    virtual bool Draw(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame, const Color& color,
        int32_t extra);
    // Renders the frame into a new white-backed stamp of `rect` (the frame's bounds mapped by the
    // transform) and caches it with the transform; none when DrawFrame fails.
    virtual SmartPtr<CStamp> MakeStamp(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame,
        const Color& color, int32_t extra, const Rect& rect);
    // The frame's stamp list, made on first use; a new unkept list for a frame that cannot be
    // normalized.
    virtual SmartPtr<ListData> GetFrameStamps(int16_t frame);
    // Frame 0 drawn into a new 8-bit bitmap of its bounds.
    virtual SmartPtr<Image> MakeImage();
    virtual int16_t GetStampDepth() { return 8; }
    // Records in `delta` what changes when the drawing of `oldFrame` through `oldXform` clipped to
    // `oldRect` becomes that of `newFrame` through `newXform` clipped to `newRect`, using the delta
    // system's shared areas (see CDelta). `oldRect` comes back as the part that stays on the
    // screen. Answers what the delta's addition answers, or true when nothing is recorded.
    virtual bool MakeDelta(int16_t oldFrame, int16_t newFrame, const SmartPtr<CXform>& oldXform,
        const SmartPtr<CXform>& newXform, Rect& oldRect, const Rect& newRect, CDelta& delta);
    virtual int16_t CountPieces() { return 1; }
    // The per-frame test: true here; a sprite movie asks the cel movies of the frame.
    virtual bool FrameTest(int16_t) { return true; }
    virtual bool FramesDiffer(int16_t a, int16_t b) { return a != b; }
    // Warns "Not implemented." once for each frame of the range that has a sound (-1 every
    // frame, -2 none) and answers false.
    virtual bool FrameSoundsHook(int16_t frame);
    // The frame's sound on the channel: none does nothing, an empty sound clears the channel.
    virtual void PlayFrameSound(int16_t frame, CTrackList& tracks, uint32_t channel);
    // The per-frame hook a sprite calls with its composed transform and cel; nothing here.
    virtual bool FrameHook(const SmartPtr<CXform>&, int16_t) { return true; }
    virtual bool GetFlag1() { return (flags & kFlag1) != 0; }
    // Grows the movie to cover the range and answers -1 (no sprite made).
    virtual int16_t AddResource(int16_t start, int16_t count, Smart* object, int32_t extra, int16_t limit);
    // Warns "Not implemented.".
    virtual void ObjectHook(Smart* object);
    // Does nothing.
    virtual void ValuesHook(int32_t, int32_t, int32_t) { }
    // Warns "Not implemented.".
    virtual void AddSprite(int32_t value, Smart* object);
    // A new movie of the frames start .. start + count - 1, cut from this one when asked.
    virtual SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) = 0;
    virtual void PasteMovie(int16_t at, const SmartPtr<CMovie>& source);
    // False (and no change) for a count below 1, a position outside 0 .. frame count, or a
    // result past kMaxFrames.
    virtual bool InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace);
    virtual void ForwardToCel(int32_t, int32_t, Smart*) { }
    // No checks: the caller has clamped the range.
    virtual bool RemoveFrames(int16_t start, int16_t count);
    void Purge(uint32_t bytesWanted) override;

    // The stamp for the frame through the transform: a cached one that fits, one derived from the
    // unscaled stamp, or a new one, as the memory budget allows; none for a hidden or empty
    // drawing. Plain requests (unrotated, no mode bit) raise the purge level to 1 when it is 0
    // and `allowRaise`; the level found is always put back.
    SmartPtr<CStamp> GetStamp(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame,
        const Color& color, int32_t extra, bool allowRaise);
    // Two transforms (none counting as one that keeps sizes and turns nothing) that map alike but
    // for where they put things.
    static bool MapsAlike(const CXform* a, const CXform* b);

    int16_t NumFrames() const { return frameCount; }
    void GetBounds(Rect& rect) const { rect = bounds; }
    uint8_t GetFlags() const { return flags; }
    Sound* SoundAtFrame(int16_t frame) const;
    ColorTable* ColorTableAtFrame(int16_t frame) const;
    CLink* LinkAtFrame(int16_t frame) const;
    SmartPtr<CFrameIndex> GetFrameIndex() const { return frameIndex; }
    // Negative: 0 and false; past the end: wrapped when looping, else the last frame.
    bool NormalizeFrame(int16_t& frame) const;
    bool ToggleLoop(bool toggle);
    bool ToggleModeBit0(bool toggle) { return ToggleMode(kMode0, toggle); }
    bool ToggleModeBit2(bool toggle) { return ToggleMode(kMode2, toggle); }
    bool ToggleModeBit4(bool toggle) { return ToggleMode(kMode4, toggle); }
    // Whether the page shows through the white of this movie's pictures: a picture made in either
    // layout's default mode (0 or 2) does; a background (no mode) covers what lies beneath.
    bool DrawsSeeThrough() const { return (flags & (kMode0 | kMode2)) != 0; }
    bool IsPainted() const { return (flags & kPainted) != 0; }
    void MarkPainted() { flags |= kPainted; }
    // A new page document over this movie (a sprite movie is taken as it is, any other movie
    // becomes the first sprite of one).
    SmartPtr<CShow> MakeShow();
    // Adds the client, or removes it when it is already there.
    void RemoveOrAppendClient(MovieClient* client);
    bool HasClient(const MovieClient* client) const;

    // Frame edits.
    // Clamped to the movie; deleting every frame leaves one blank frame.
    bool DeleteFrames(int16_t start, int16_t count);
    // Maps `oldLength` frames from `start` onto `newLength`, spreading the change evenly.
    void StretchFrames(int16_t start, int16_t oldLength, int16_t newLength);
    // Grows the movie so that the range can be shown, adjusting start and count.
    void GrowToRange(int16_t& start, int16_t& count, int16_t limit);
    // These store into `count` items from the frame's, cut at the movie's end; nobody is told.
    void SetSoundAtFrame(int16_t frame, int16_t count, Sound* sound);
    void SetColorTableAtFrame(int16_t frame, int16_t count, ColorTable* table);
    void SetLinkAtFrame(int16_t frame, int16_t count, CLink* link);

protected:
    // One frame, loop set, the layout's mode bit set, one null item in every list.
    explicit CMovie(const Rect& bounds);
    // The whole other movie: shared sounds, tables and links re-pointed to a copied index.
    CMovie(const CMovie& other);
    // Frames start .. start + count - 1 of the source (clamped; at least one frame), cut from the
    // source when `cut`.
    CMovie(CMovie& source, int16_t start, int16_t count, bool cut);
    explicit CMovie(ArchiveScope& scope);
    CMovie& operator=(const CMovie& other);

private:
    // Tells the clients once and keeps sInFrameEdit set for its life.
    class FrameEdit;

    bool ToggleMode(uint8_t bit, bool toggle);
    void CopyRange(const CMovie& source, int16_t start, int16_t count);
    // Frame counts of stored lists fitted to the frame count.
    void FitLists();

    int16_t frameCount { 1 };
    Rect bounds { 0, 0, 0, 0 };
    uint8_t flags { 0 };
    SmartList<Sound> sounds;
    SmartList<ColorTable> colorTables;
    SmartList<CLink> links;
    SmartList<ListData> stamps;
    SmartPtr<CFrameIndex> frameIndex;
    std::vector<MovieClient*> clients;
};

namespace pw::engine {

// The movie conversion table's way back: the movie in `handle` made into an object of `target`
// (only an Image, by MakeImage, has one), which takes its place; false, with the handle left
// alone, when the handle holds no movie or the table has no way back to that class.
bool ConvertFromMovie(SmartPtr<Smart>& handle, const ClassInfo* target);

} // namespace pw::engine

// Chooses between the two palette layouts; a new movie takes mode 2 instead of mode 0 when set.
extern const bool gAlternateLayout;
