#pragma once

#include "engine/CMovie.h"
#include "engine/CSprite.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class CInterpolater;
class CResource;

// The movie of a page: its pictures come from an ordered stack of sprites, the first at the
// bottom. The group listens to the cel movie of every sprite it holds (once per cel movie, for as
// long as one of its sprites uses it) and turns a cel change into changes of the frames that show
// the cel. Its frame edits carry every change through all sprites before the movie part edits its
// own per-frame lists. Sprite indexes are 0-based; -1 means none.
//
// Stored form (version 2.0, oldest 2.0): the movie body, then an object reference to the sprite
// list. A missing list reads as an empty one.
class CMovieGroup : public CMovie, public MovieClient {
    PW_CLASS_INFO(CMovieGroup)

public:
    static const PersistentVersion version;

    explicit CMovieGroup(const Rect& bounds);
    // The movie becomes sprite 0; with `markFirst` that sprite is the background.
    CMovieGroup(const SmartPtr<CMovie>& movie, bool markFirst);
    explicit CMovieGroup(ArchiveScope& scope);
    // Frames first .. first + count - 1 of every sprite of the source, cut from it when asked.
    CMovieGroup(CMovieGroup& source, int16_t first, int16_t count, bool cut);
    // The movie part and a list of its own holding the same sprites; it listens to nobody.
    CMovieGroup(const CMovieGroup& other);
    ~CMovieGroup() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    uint32_t NumSprites() const { return sprites.NumItems(); }
    CSprite* GetSprite(int16_t index) const;
    // Where the group holds the sprite in its drawing order, -1 for nowhere.
    int16_t IndexOf(const CSprite* sprite) const;
    SmartPtr<CSprite> FindSpriteByName(const String& name) const;
    // The group's own selection, kept for the run and never stored: `sprite` alone (none when it
    // is not one of the group's). The frame is -1, every frame.
    void SelectSprites(const SmartPtr<CSprite>& sprite, int16_t frame);
    // The selected sprite while the group still holds it, else none.
    SmartPtr<CSprite> GetSelectedSprite() const;
    SmartPtr<CSprite> TopSpriteInFrame(int16_t frame) const;
    void RaiseSprite(CSprite* sprite, int16_t frame);
    void LowerSprite(CSprite* sprite, int16_t frame);
    int16_t AddMovieAsSprite(int16_t start, int16_t count, const SmartPtr<CMovie>& movie);
    int16_t AddResourceAsSprite(int16_t& start, int16_t& count, const SmartPtr<CResource>& resource, bool center,
        int16_t limit, const String& name);
    void ReplaceSpriteMovie(CSprite* sprite, const SmartPtr<CMovie>& movie, Point point);
    void RemoveEmptySprites();
    // Offers the sprite to every sprite for merging; otherwise appends a copy. -1 for none.
    int16_t AddSprite(const SmartPtr<CSprite>& sprite, bool merge);
    // The "Interpolating" edit over the selection (every sprite when it is empty); mode 0 linear,
    // 1 spline, 2 as the interpolation dialog says.
    void Interpolate(const SmartList<CSprite>& selection, int16_t first, int16_t last, int16_t mode);

    // CMovie.
    void OffsetFrame(int16_t frame, Point offset) override;
    void GetFrameBounds(Rect& rect, int16_t frame) override;
    bool DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color) override;
    bool CanTransform(const SmartPtr<CXform>&) override { return true; }
    bool Draw(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame, const Color& color,
        int32_t extra) override;
    bool MakeDelta(int16_t oldFrame, int16_t newFrame, const SmartPtr<CXform>& oldXform,
        const SmartPtr<CXform>& newXform, Rect& oldRect, const Rect& newRect, CDelta& delta) override;
    int16_t CountPieces() override;
    // Asks the cel movie of every sprite that shows in the frame, at that sprite's cel.
    bool FrameTest(int16_t frame) override;
    bool FrameHook(const SmartPtr<CXform>& xform, int16_t frame) override;
    void PlayFrameSound(int16_t frame, CTrackList& tracks, uint32_t channel) override;
    bool GetFlag1() override;
    int16_t AddResource(int16_t start, int16_t count, Smart* object, int32_t extra, int16_t limit) override;
    // `object` is the sprite, `value` the merge flag.
    void AddSprite(int32_t value, Smart* object) override;
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override;
    void PasteMovie(int16_t at, const SmartPtr<CMovie>& source) override;
    bool InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace) override;
    void ForwardToCel(int32_t value, int32_t frame, Smart* sprite) override;
    bool RemoveFrames(int16_t start, int16_t count) override;

    // MovieClient.
    void MovieChanged(Smart* source, const Rect& rect, int16_t frame) override;
    void BoundsChanged(CMovie&, const Rect&) override { }

private:
    // A movie that may become a cel movie here, made safe: this group is replaced by a copy, and
    // the sprites of another group are checked in turn.
    SmartPtr<CMovie> BreakCycles(const SmartPtr<CMovie>& movie);
    // Listens to the movie unless it already does.
    void Listen(CMovie* movie);
    // Stops listening when no sprite of the list but `leaving` uses the movie.
    void StopListening(CMovie* movie, const CSprite* leaving);
    // The movie's bounds centred on the page, joined with it, moved to its top-left corner.
    Rect PlaceOnPage(const Rect& movieBounds) const;
    void ChangedFrames(int16_t first, int16_t count);

    SmartList<CSprite> sprites;
    SmartPtr<CSprite> selected;
};

namespace pw::engine {

// The interpolater the "Interpolating" edit makes for spline settings (two switches, a third,
// and a sample count above 0). The authoring floor lends its spline interpolater at start-up;
// without one the edit uses the straight-line interpolater.
using SplineFactory = SmartPtr<CInterpolater> (*)(bool first, bool second, bool third, int16_t samples);
void SetSplineFactory(SplineFactory factory);

// The interpolation dialog: fills the four sprite switches, the three spline switches and the
// sample count, and answers whether the user agreed. The authoring floor lends it; without one
// the dialog is refused.
struct InterpolationSettings {
    bool switches[4] { true, true, true, true };
    bool spline[3] { false, false, false };
    int16_t samples { 0 };
};
using InterpolationDialog = bool (*)(InterpolationSettings& settings);
void SetInterpolationDialog(InterpolationDialog dialog);

} // namespace pw::engine
