#pragma once

#include "engine/CMovie.h"
#include "engine/CResource.h"
#include "ui/View.h"

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

    // In-place editing (CMovieResEditing.cpp). The editing view is made by the floor that edits
    // media: a maker registered at start-up builds it for a cel's item over a pane rectangle, and
    // a taker hands back the edited item (false when nothing changed; an empty rectangle when the
    // result is empty).
    using EditViewMaker = SmartPtr<View> (*)(CMovieRes& movie, View* pane, const Rect& rect, CResource* item);
    using EditResultTaker = bool (*)(View& view, Rect& rect, SmartPtr<CResource>& resource);
    static void SetEditors(EditViewMaker maker, EditResultTaker taker);
    // Whether frames first .. first + count - 1 (cut at `limit`) are frames of this movie showing
    // one and the same item, so that one edit changes them together.
    bool CanEditRun(int16_t first, int16_t count, int16_t limit) const;
    // Opens the editing view of cel `cel` over `rect` in the pane; the result goes to frames
    // first .. first + count - 1, cut at `frameCount` (at least one frame; 0 for new work, whose
    // movie then takes the result's bounds). False when no maker is
    // registered or it made no view. The transform and the trailing flags are the pane's; the
    // view shows the item as it is placed on the page.
    bool BeginEditing(int16_t cel, int16_t first, int16_t count, int16_t frameCount, View* pane, const Rect& rect,
        const SmartPtr<CXform>& xform, bool modeBit, bool whole, int32_t flagA, int32_t flagB, int32_t flagC);
    // Closes the editing view: true when it changed the item, with `rect` the result's bounds
    // (empty for an empty result); a changed, non-empty result replaces the edited frames' item.
    bool EndEditing(Rect& rect, bool noSelection);
    SmartPtr<View> GetEditView() const { return editView; }

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
    // While an editing view is open: where its result goes and the rectangle it was opened over.
    SmartPtr<View> editView;
    int16_t editFirst { 0 };
    int16_t editCount { 0 };
    int16_t editLimit { 0 };
    Rect editRect { 0, 0, 0, 0 };
    bool newWork { false };
};
