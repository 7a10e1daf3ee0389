#include "engine/CInterpolater.h"
#include "engine/CMovieGroup.h"
#include "foundation/Exception.h"
#include "ui/ProgressRange.h"

#include <algorithm>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

pw::engine::SplineFactory gSplineFactory = nullptr;
pw::engine::InterpolationDialog gInterpolationDialog = nullptr;

// Saves the class-wide edit flag, sets it, and puts back the value it found.
class InFrameEdit {
public:
    InFrameEdit()
        : saved(CMovie::sInFrameEdit)
    {
        CMovie::sInFrameEdit = true;
    }
    ~InFrameEdit() { CMovie::sInFrameEdit = saved; }
    InFrameEdit(const InFrameEdit&) = delete;
    InFrameEdit& operator=(const InFrameEdit&) = delete;

    bool Saved() const { return saved; }

private:
    bool saved;
};

} // namespace

namespace pw::engine {

void SetSplineFactory(SplineFactory factory)
{
    gSplineFactory = factory;
}

void SetInterpolationDialog(InterpolationDialog dialog)
{
    gInterpolationDialog = dialog;
}

} // namespace pw::engine

void CMovieGroup::PasteMovie(int16_t at, const SmartPtr<CMovie>& source)
{
    if (!source.Valid())
        return;
    Changed(this, kEmpty, -1);
    InFrameEdit edit;
    // Held: pasting a group into itself reads the source while the list grows.
    SmartPtr<CMovie> held = source;
    int16_t n = source->NumFrames();
    CMovie::PasteMovie(at, source);
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite)
            sprite->HideFrames(at, n);
    }
    auto* group = SmartCast<CMovieGroup>(source.Get());
    if (!group) {
        AddMovieAsSprite(at, 0, source);
        return;
    }
    // A snapshot: the source may be this very group.
    std::vector<SmartPtr<CSprite>> pasted;
    for (uint32_t index = 1; index <= group->NumSprites(); ++index)
        pasted.emplace_back(group->sprites.Item(index));
    Rect mine = kEmpty;
    Rect theirs = kEmpty;
    GetBounds(mine);
    group->GetBounds(theirs);
    ProgressRange progress(static_cast<uint32_t>(pasted.size()), String("Paste Frames"));
    for (const SmartPtr<CSprite>& sprite : pasted) {
        progress.Advance(1);
        if (!sprite.Valid())
            continue;
        // The copy moves; the source (often the clipboard's group) stays as it was.
        SmartPtr<CSprite> copy = new CSprite(*sprite.Get());
        copy->SetStartFrame(static_cast<int16_t>(sprite->StartFrame() + at));
        copy->OffsetPath(static_cast<int16_t>(mine.left - theirs.left), static_cast<int16_t>(mine.top - theirs.top));
        AddSprite(copy, true);
    }
}

bool CMovieGroup::InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace)
{
    if (count < 1 || at < 0 || at > NumFrames() || int32_t(NumFrames()) + count > kMaxFrames)
        return false;
    Changed(this, kEmpty, -1);
    InFrameEdit edit;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite)
            sprite->InsertFrames(at, count, blank ? 0 : 1);
    }
    return CMovie::InsertFrames(at, count, blank, keepLinkInPlace);
}

bool CMovieGroup::RemoveFrames(int16_t start, int16_t count)
{
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite)
            sprite->DeleteFrames(start, count);
    }
    return CMovie::RemoveFrames(start, count);
}

CMovieGroup::CMovieGroup(CMovieGroup& source, int16_t first, int16_t count, bool cut)
    : CMovie(source, first, count, false)
{
    int16_t n = source.NumFrames();
    if (first >= n)
        first = static_cast<int16_t>(n - 1);
    if (int32_t(first) + count > n)
        count = static_cast<int16_t>(n - first);
    if (count < 0)
        count = 0;
    for (uint32_t index = 1; index <= source.NumSprites(); ++index) {
        CSprite* sprite = source.sprites.Item(index);
        if (!sprite)
            continue;
        SmartPtr<CSprite> copy = sprite->CopyFrames(first, count, false);
        if (!copy.Valid() || copy->NumFrames() == 0)
            continue;
        sprites.Append(copy);
        Listen(copy->GetMovie().Get());
    }
    CFrameIndex& from = *source.GetFrameIndex().operator->();
    CFrameIndex& to = *GetFrameIndex().operator->();
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        for (int16_t f = 0; f < sprite->NumFrames(); ++f) {
            CLink* link = sprite->LinkAtFrame(static_cast<int16_t>(sprite->StartFrame() + f));
            if (link)
                link->RepointJumpFrame(from, to);
        }
    }
    if (cut && count > 0)
        source.DeleteFrames(first, count);
}

SmartPtr<CMovie> CMovieGroup::CopyFrames(int16_t start, int16_t count, bool cut)
{
    return new CMovieGroup(*this, start, count, cut);
}

void CMovieGroup::Interpolate(const SmartList<CSprite>& selection, int16_t first, int16_t last, int16_t mode)
{
    pw::engine::InterpolationSettings settings;
    if (mode == 1) {
        settings.spline[0] = true;
        settings.spline[1] = true;
        settings.samples = 100;
    } else if (mode == 2) {
        if (!gInterpolationDialog || !gInterpolationDialog(settings))
            return;
    }
    SmartPtr<CInterpolater> interpolater;
    if (settings.samples > 0 && gSplineFactory)
        interpolater = gSplineFactory(settings.spline[0], settings.spline[1], settings.spline[2], settings.samples);
    if (!interpolater.Valid())
        interpolater = new CInterpolater;

    std::vector<SmartPtr<CSprite>> targets;
    if (selection.NumItems() == 0) {
        for (uint32_t index = 1; index <= NumSprites(); ++index)
            targets.emplace_back(sprites.Item(index));
    } else {
        for (uint32_t index = selection.NumItems(); index >= 1; --index)
            targets.emplace_back(selection.Item(index));
    }
    bool any = false;
    {
        ProgressRange progress(static_cast<uint32_t>(targets.size()), String("Interpolating"));
        for (const SmartPtr<CSprite>& sprite : targets) {
            progress.Advance(1);
            if (!sprite.Valid())
                continue;
            if (mode == 1)
                sprite->ThinKeyFrames(first, static_cast<int16_t>(last - first + 1));
            // The sprite's own interpolation takes the range, the interpolater and the switches.
            if (sprite->InterpolateFrames())
                any = true;
        }
    }
    if (mode == 2 && !any) {
        Exception::Warn(kNotImplemented, PW_HERE);
        return;
    }
    if (!sInFrameEdit)
        ChangedFrames(first, static_cast<int16_t>(last - first + 1));
}
