// The frame edits of CMovie: each tells the clients once, before it starts, and keeps every
// per-frame list at one item per frame and the frame index in step.
#include "engine/CMovie.h"

#include "foundation/String.h"
#include "ui/ProgressRange.h"

#include <algorithm>
#include <optional>

class CMovie::FrameEdit {
public:
    explicit FrameEdit(CMovie& movie)
        : saved(sInFrameEdit)
    {
        movie.Changed(&movie, Rect(0, 0, 0, 0), -1);
        sInFrameEdit = true;
    }
    ~FrameEdit() { sInFrameEdit = saved; }
    FrameEdit(const FrameEdit&) = delete;
    FrameEdit& operator=(const FrameEdit&) = delete;

private:
    bool saved;
};

bool CMovie::InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace)
{
    if (count < 1 || at < 0 || at > frameCount || int32_t(frameCount) + count > kMaxFrames)
        return false;
    if (blank || at == 0)
        keepLinkInPlace = true;
    FrameEdit edit(*this);
    ColorTable* table = nullptr;
    if (!blank)
        table = at > 0 ? ColorTableAtFrame(static_cast<int16_t>(at - 1)) : ColorTableAtFrame(0);
    frameCount = static_cast<int16_t>(frameCount + count);
    frameIndex->InsertFrames(at, count);
    uint32_t after = static_cast<uint32_t>(at);
    colorTables.InsertItems(table, after, static_cast<uint32_t>(count));
    sounds.InsertItems(nullptr, after, static_cast<uint32_t>(count));
    links.InsertItems(nullptr, after, static_cast<uint32_t>(count));
    stamps.InsertItems(nullptr, after, static_cast<uint32_t>(count));
    if (!keepLinkInPlace) {
        // The link that fired right before the insertion point still fires right before the
        // frame that used to follow it.
        SmartPtr<CLink> link = links.Item(after);
        links.Replace(link.Get(), after + static_cast<uint32_t>(count), 1);
        links.Replace(nullptr, after, 1);
    }
    return true;
}

bool CMovie::RemoveFrames(int16_t start, int16_t count)
{
    frameCount = static_cast<int16_t>(frameCount - count);
    uint32_t from = static_cast<uint32_t>(start) + 1;
    sounds.Data()->DeleteItems(from, static_cast<uint32_t>(count));
    colorTables.Data()->DeleteItems(from, static_cast<uint32_t>(count));
    stamps.Data()->DeleteItems(from, static_cast<uint32_t>(count));
    links.Data()->DeleteItems(from, static_cast<uint32_t>(count));
    frameIndex->DeleteFrames(start, count);
    return true;
}

bool CMovie::DeleteFrames(int16_t start, int16_t count)
{
    int32_t first = start;
    int32_t number = count;
    if (first < 0) {
        number += first;
        first = 0;
    }
    if (first + number > frameCount)
        number = frameCount - first;
    if (number <= 0)
        return false;
    // The blank frame that replaces a whole movie goes in under the same one notice.
    FrameEdit edit(*this);
    if (number == frameCount) {
        InsertFrames(static_cast<int16_t>(first), 1, true, false);
        ++first;
    }
    return RemoveFrames(static_cast<int16_t>(first), static_cast<int16_t>(number));
}

void CMovie::StretchFrames(int16_t start, int16_t oldLength, int16_t newLength)
{
    if (oldLength < 1 || newLength < 1 || oldLength == newLength)
        return;
    FrameEdit edit(*this);
    int32_t oldN = oldLength;
    int32_t newN = newLength;
    if (newN < oldN) {
        ProgressRange progress(static_cast<uint32_t>(oldN), String("Adjusting Length"));
        for (int32_t i = oldN - 1; i >= 0; --i) {
            progress.Advance(1);
            int32_t n = 0;
            for (int32_t j = i; j >= 0 && (j + 1) * newN / oldN == j * newN / oldN; --j)
                ++n;
            if (n > 0) {
                i = i - n + 1;
                DeleteFrames(static_cast<int16_t>(start + i), static_cast<int16_t>(n));
            }
        }
        return;
    }
    if (oldN == 1) {
        InsertFrames(static_cast<int16_t>(start + 1), static_cast<int16_t>(newN - 1), false, false);
        return;
    }
    int32_t m = oldN - 1;
    int32_t k = newN - 1;
    ProgressRange progress(static_cast<uint32_t>(m), String("Adjusting Length"));
    for (int32_t i = m; i >= 1; --i) {
        progress.Advance(1);
        int32_t gap = (k * i / m) - ((i - 1) * k / m) - 1;
        if (gap > 0)
            InsertFrames(static_cast<int16_t>(start + i), static_cast<int16_t>(gap), true, false);
    }
}

// The pasted links follow the source's labels to their clones, which join this index.
void CMovie::PasteMovie(int16_t at, const SmartPtr<CMovie>& source)
{
    int16_t count = source->frameCount;
    if (!InsertFrames(at, count, true, false))
        return;
    SmartPtr<CFrameIndex> copy = new CFrameIndex(*source->frameIndex.Get());
    copy->InsertFrames(0, at);
    frameIndex->Absorb(*copy.Get());
    for (int16_t frame = 0; frame < count; ++frame) {
        auto target = static_cast<int16_t>(at + frame);
        SetSoundAtFrame(target, 1, source->SoundAtFrame(frame));
        SetColorTableAtFrame(target, 1, source->ColorTableAtFrame(frame));
        SmartPtr<CLink> link = source->LinkAtFrame(frame);
        if (link.Valid()) {
            link = new CLink(*link.Get());
            link->RepointJumpFrame(*source->frameIndex.Get(), *copy.Get());
        }
        SetLinkAtFrame(target, 1, link.Get());
    }
}

void CMovie::GrowToRange(int16_t& start, int16_t& count, int16_t limit)
{
    bool loop = (flags & kLoop) != 0;
    std::optional<FrameEdit> edit;
    auto insert = [&](int32_t at, int32_t number) {
        if (number <= 0 || number > kMaxFrames)
            return;
        if (!edit)
            edit.emplace(*this);
        InsertFrames(static_cast<int16_t>(at), static_cast<int16_t>(number), false, false);
    };
    if (start < 0) {
        if (loop)
            insert(0, -int32_t(start));
        start = 0;
    }
    int32_t end = int32_t(start) + count;
    if (!loop && start >= frameCount)
        insert(frameCount, start - frameCount + 1);
    if (loop && end > frameCount)
        insert(frameCount, end - frameCount);
    if (!loop && end >= frameCount) {
        if (end < limit)
            insert(frameCount, end - frameCount + 1);
        else
            count = static_cast<int16_t>(std::max(frameCount - start, 0));
    }
}

namespace {

// The run of items a setter may store: frames inside the movie only, so that every list keeps
// one item per frame.
bool ClipRun(int16_t frame, int16_t& count, int16_t frameCount)
{
    if (frame < 0 || frame >= frameCount || count <= 0)
        return false;
    count = static_cast<int16_t>(std::min<int32_t>(count, frameCount - frame));
    return true;
}

} // namespace

void CMovie::SetSoundAtFrame(int16_t frame, int16_t count, Sound* sound)
{
    if (ClipRun(frame, count, frameCount))
        sounds.Replace(sound, static_cast<uint32_t>(frame) + 1, static_cast<uint32_t>(count));
}

void CMovie::SetColorTableAtFrame(int16_t frame, int16_t count, ColorTable* table)
{
    if (ClipRun(frame, count, frameCount))
        colorTables.Replace(table, static_cast<uint32_t>(frame) + 1, static_cast<uint32_t>(count));
}

void CMovie::SetLinkAtFrame(int16_t frame, int16_t count, CLink* link)
{
    if (ClipRun(frame, count, frameCount))
        links.Replace(link, static_cast<uint32_t>(frame) + 1, static_cast<uint32_t>(count));
}
