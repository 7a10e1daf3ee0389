#pragma once

#include "engine/CMovie.h"
#include "engine/CStamp.h"
#include "foundation/FileReference.h"
#include "foundation/Model.h"
#include "foundation/String.h"
#include "graphics/Area.h"
#include "graphics/Color.h"

#include <cstdint>
#include <functional>
#include <vector>

class CPlayer;
class DisplayPort;

// The page document: its movie (a sprite movie for every page the program makes), the player
// that shows it, the frame rate, a colour for the editor's corner box, and the file it came from.
// It keeps two per-frame caches, both emptied by any change of the movie: whole frames rendered
// ahead for playback, held within kFrameCacheBudget bytes however long the page and however much
// memory is free (a frame outside the cache is drawn when shown, which takes a fraction of a
// millisecond), and thumbnails at an eighth of the size for the overview. The show owns its
// player; the player and its frame cache point back without holding, so that the last handle on
// the show tears all three down and stops their chores.
//
// The page's frame rate is the one it was stored with or given; an application may have it play
// at another rate for a while (a page stored at rate 0 stands still), which is never stored.
//
// Stored form (version 2.0, oldest 2.0): an object reference to the movie,
// the frame rate (signed 16-bit), the corner colour (four unsigned 16-bit components); the model
// part stores nothing, since page files have no place for it. A missing
// movie reads as an empty page; a negative rate as 0.
class CShow : public Model, public MovieClient {
    PW_CLASS_INFO(CShow)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    static constexpr int16_t kDefaultFrameRate = 15;
    static constexpr int32_t kThumbnailReduction = 8;
    // The most bytes of whole frames the playback cache holds: about a hundred 640 x 480 frames.
    static constexpr uint64_t kFrameCacheBudget = 32 * 1024 * 1024;

    // A sprite movie is kept; any other movie becomes sprite 0 of a new one (the background when
    // `markFirst`).
    explicit CShow(const SmartPtr<CMovie>& movie, bool markFirst = false);
    CShow(const CShow& other);
    explicit CShow(ArchiveScope& scope);
    CShow& operator=(const CShow& other);
    ~CShow() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    // The page's pane, made by the maker that the floor owning the pane registered (none: no view).
    View* MakeView(View& container) override;
    using ViewMaker = std::function<View*(CShow& show, View& container)>;
    static void SetViewMaker(const ViewMaker& maker);
    String& GetName() override { return name; }

    SmartPtr<CMovie> GetMovie() const { return movie; }
    CPlayer* GetPlayer() const { return player.Get(); }
    // The rate the page plays at.
    int16_t GetFrameRate() const { return playingRate; }
    // The page's own rate, stored with it and played from now on. 0 is accepted: the page then
    // never moves on by time.
    void SetFrameRate(int16_t rate);
    // The page plays at this rate until its own rate is set again; what is stored stays its own.
    void SetPlayingRate(int16_t rate);
    Color GetExtent() const { return extent; }
    void SetExtent(const Color& color) { extent = color; }
    SmartPtr<FileReference> GetFile() const { return file; }
    void SetFile(const SmartPtr<FileReference>& reference) { file = reference; }

    // Draws the frame into the port's rectangle: from the frame cache when it holds the frame and
    // the rectangle is the movie's size, else through the movie on white.
    bool DrawFrame(DisplayPort& port, int16_t frame, const Rect& rect, int16_t mode);
    // The player's redraw of a frame.
    void UpdateRect(DisplayPort& port, int16_t frame, const Rect& rect);
    // Renders the frame into the frame cache (mode 1 for wanted frames, 2 for speculative ones);
    // false when memory is short or the cache's budget is spent.
    bool CacheFrame(DisplayPort& port, int16_t frame, const Rect& bounds, int16_t mode);
    bool IsFrameCached(int16_t frame) const;
    // Whether one more frame fits in the cache's budget.
    bool HasRoomForFrame() const;
    // -2 releases every frame.
    void ReleaseFrame(int16_t frame);
    // Releases cached frames outside the run of `count` frames from `first` on (wrapping past the
    // last frame), those the run would reach last first, until one more frame fits; answers
    // whether it fits.
    bool MakeRoomOutside(int16_t first, int16_t count);
    void EmptyCaches();
    uint32_t NumCachedFrames() const;
    // An eighth of the frame, made when missing; none outside the movie.
    SmartPtr<CStamp> GetFrameThumbnail(int16_t frame);
    // The changed area of a frame; none: the whole frame is redrawn.
    SmartPtr<Area> GetChangedArea(int16_t) const { return nullptr; }
    // Flips the movie's loop bit when asked; answers it.
    bool ToggleForward(bool toggle) { return movie->ToggleLoop(toggle); }

    // Stops the player and its chores and lets go of it; the page's window calls it on closing.
    void Close();

    void MovieChanged(Smart* source, const Rect& rect, int16_t frame) override;
    void BoundsChanged(CMovie& movie, const Rect& oldBounds) override;

private:
    void Attach();
    void FitCaches();
    // The bytes one cached frame of the movie's size takes, and how many fit in the budget.
    uint64_t FrameBytes() const;
    uint64_t FramesInBudget() const;

    SmartPtr<CMovie> movie;
    SmartPtr<CPlayer> player;
    int16_t frameRate { kDefaultFrameRate };
    int16_t playingRate { kDefaultFrameRate };
    Color extent;
    SmartPtr<FileReference> file;
    String name;
    std::vector<SmartPtr<CStamp>> frames;
    std::vector<SmartPtr<CStamp>> thumbnails;
};
