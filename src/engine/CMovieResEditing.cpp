// Editing a resource movie's cel in place: the view that edits it comes from the floor that edits
// media, and its result replaces the item of the edited frames.
#include "engine/CMovieRes.h"

#include "ui/View.h"

#include <algorithm>

namespace {

CMovieRes::EditViewMaker gMaker = nullptr;
CMovieRes::EditResultTaker gTaker = nullptr;

} // namespace

void CMovieRes::SetEditors(EditViewMaker maker, EditResultTaker taker)
{
    gMaker = maker;
    gTaker = taker;
}

bool CMovieRes::CanEditRun(int16_t first, int16_t count, int16_t limit) const
{
    // A run past the movie's own frames would add blank ones: only the current cel is edited then.
    int32_t end = std::min<int32_t>(int32_t(first) + count, limit);
    if (first < 0 || end <= first || end > NumFrames())
        return false;
    CResource* item = ItemAt(first);
    for (int32_t frame = first + 1; frame < end; ++frame) {
        if (ItemAt(static_cast<int16_t>(frame)) != item)
            return false;
    }
    return true;
}

bool CMovieRes::BeginEditing(int16_t cel, int16_t first, int16_t count, int16_t frameCount, View* pane,
    const Rect& rect, const SmartPtr<CXform>&, bool, bool, int32_t, int32_t, int32_t)
{
    editView = nullptr;
    if (!gMaker)
        return false;
    editView = gMaker(*this, pane, rect, ItemAt(cel));
    editFirst = first;
    editCount = std::max<int16_t>(count, 1);
    editLimit = std::max<int16_t>(frameCount, static_cast<int16_t>(first + editCount));
    editRect = rect;
    newWork = frameCount == 0;
    return editView.Valid();
}

bool CMovieRes::EndEditing(Rect& rect, bool)
{
    SmartPtr<View> view = editView;
    editView = nullptr;
    rect = editRect;
    SmartPtr<CResource> result;
    if (!view.Valid() || !gTaker || !gTaker(*view.Get(), rect, result))
        return false;
    if (rect.IsEmpty() || !result.Valid()) {
        rect = Rect(0, 0, 0, 0);
        return true;
    }
    // A movie made for new work (opened with no frames of a sprite) shows only the result: it
    // takes the result's place as its bounds, so that a sprite made on it sits where the work was.
    if (newWork)
        SetBounds(result->GetBounds());
    StoreItem(editFirst, editCount, result.Get(), true, editLimit);
    return true;
}
