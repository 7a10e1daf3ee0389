#pragma once

#include "engine/CMovie.h"
#include "engine/CResource.h"

// A movie whose cels are media references, one item per frame (frame f at item f + 1, null for a
// cel that shows nothing). Each frame's bounds are its item's. The picture and text movies build
// on it; the sprite merge stores the cels of one into another.
//
// Stored form (version 1.0, oldest 1.0), inside the CMovieRes scope: the movie body (in the CMovie
// scope), then an object reference to the item list. The reader fits the list to the frame count
// and reads items of other classes as null.
class CMovieRes : public CMovie {
    PW_CLASS_INFO(CMovieRes)

public:
    static const PersistentVersion version;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The item's bounds; the empty rectangle for a cel without one.
    void GetFrameBounds(Rect& rect, int16_t frame) override;
    bool FramesDiffer(int16_t a, int16_t b) override;
    // New frames take the item of the frame before them (of the one after them at 0) unless blank.
    bool InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace) override;
    bool RemoveFrames(int16_t start, int16_t count) override;
    void PasteMovie(int16_t at, const SmartPtr<CMovie>& source) override;

    // The item of the frame (normalized), or null.
    CResource* ItemAt(int16_t frame) const;
    // The item's object, or null.
    SmartPtr<Persistent> ItemObject(int16_t frame) const;
    // Stores the item on frames at .. at + count - 1, cut at `limit` frames, growing the movie
    // with blank frames when the run passes its end. With `overwrite` clear, frames that already
    // have an item keep it.
    void StoreItem(int16_t at, int16_t count, CResource* item, bool overwrite, int16_t limit);

    // A picture movie for an image, a text movie (on `rect`) for a text; none for other objects.
    static SmartPtr<CMovie> MakeMovie(const SmartPtr<CResource>& resource, const Rect& rect);

protected:
    // One frame showing the item, on the item's bounds.
    explicit CMovieRes(const SmartPtr<CResource>& item);
    CMovieRes(const CMovieRes& other);
    // Frames start .. start + count - 1 with their items (clamped as CMovie's range copy does).
    CMovieRes(CMovieRes& source, int16_t start, int16_t count);
    explicit CMovieRes(ArchiveScope& scope);

    // A subclass writes its own scope around this.
    void WriteBody(Archive& archive);

private:
    SmartList<CResource> items;
};
