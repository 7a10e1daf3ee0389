#include "engine/CMovieRes.h"

#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/String.h"
#include "graphics/Image.h"

#include <algorithm>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

Rect BoundsOf(const SmartPtr<CResource>& item)
{
    return item.Valid() ? item->GetBounds() : kEmpty;
}

// The inner CMovie scope opened before the base reads it.
struct BodyScope {
    explicit BodyScope(ArchiveScope& outer)
        : scope(outer, CMovie::version)
    {
    }
    ArchiveScope& Get() { return scope; }
    ArchiveScope scope;
};

} // namespace

PW_DEFINE_CLASS(CMovieRes, nullptr, nullptr, CMovie)

constinit const PersistentVersion CMovieRes::version { &CMovieRes::classInfo, Fixed(1), Fixed(1), nullptr };

CMovieRes::CMovieRes(const SmartPtr<CResource>& item)
    : CMovie(BoundsOf(item))
    , items(1)
{
    items.Replace(item.Get(), 1, 1);
}

CMovieRes::CMovieRes(const CMovieRes& other)
    : Smart()
    , CMovie(other)
{
    for (uint32_t index = 1; index <= other.items.NumItems(); ++index)
        items.Append(other.items.Item(index));
}

CMovieRes::CMovieRes(CMovieRes& source, int16_t start, int16_t count)
    : CMovie(source, start, count, false)
{
    int16_t n = source.NumFrames();
    start = std::clamp<int16_t>(start, 0, static_cast<int16_t>(n - 1));
    count = std::clamp<int16_t>(count, 0, static_cast<int16_t>(n - start));
    for (int16_t frame = start; frame < start + count; ++frame)
        items.Append(source.items.Item(static_cast<uint32_t>(frame) + 1));
    if (items.NumItems() == 0)
        items.InsertItems(nullptr, 0, 1);
}

CMovieRes::CMovieRes(ArchiveScope& scope)
    : CMovie(BodyScope(scope).Get())
{
    pw::engine::ReadListReference(scope, items);
    auto count = static_cast<uint32_t>(NumFrames());
    if (items.NumItems() > count)
        items.Data()->DeleteItems(count + 1, items.NumItems() - count);
    else if (items.NumItems() < count)
        items.InsertItems(nullptr, items.NumItems(), count - items.NumItems());
}

void CMovieRes::Write(Archive& archive)
{
    WriteBody(archive);
}

void CMovieRes::WriteBody(Archive& archive)
{
    ArchiveScope scope(archive, version);
    CMovie::Write(scope.GetArchive());
    scope.WriteObject(items.Data());
}

CResource* CMovieRes::ItemAt(int16_t frame) const
{
    if (frame < 0)
        return nullptr;
    NormalizeFrame(frame);
    return items.Item(static_cast<uint32_t>(frame) + 1);
}

SmartPtr<Persistent> CMovieRes::ItemObject(int16_t frame) const
{
    CResource* item = ItemAt(frame);
    return item ? item->GetObject() : nullptr;
}

void CMovieRes::GetFrameBounds(Rect& rect, int16_t frame)
{
    CResource* item = ItemAt(frame);
    rect = item ? item->GetBounds() : kEmpty;
}

bool CMovieRes::FramesDiffer(int16_t a, int16_t b)
{
    return ItemAt(a) != ItemAt(b);
}

bool CMovieRes::InsertFrames(int16_t at, int16_t count, bool blank, bool keepLinkInPlace)
{
    if (!CMovie::InsertFrames(at, count, blank, keepLinkInPlace))
        return false;
    CResource* item = nullptr;
    if (!blank)
        item = at > 0 ? items.Item(static_cast<uint32_t>(at)) : items.Item(1);
    items.InsertItems(item, static_cast<uint32_t>(at), static_cast<uint32_t>(count));
    return true;
}

bool CMovieRes::RemoveFrames(int16_t start, int16_t count)
{
    CMovie::RemoveFrames(start, count);
    items.Data()->DeleteItems(static_cast<uint32_t>(start) + 1, static_cast<uint32_t>(count));
    return true;
}

void CMovieRes::PasteMovie(int16_t at, const SmartPtr<CMovie>& source)
{
    int16_t before = NumFrames();
    CMovie::PasteMovie(at, source);
    auto* pasted = SmartCast<CMovieRes>(source.Get());
    if (!pasted || NumFrames() == before)
        return;
    for (int16_t frame = 0; frame < pasted->NumFrames(); ++frame)
        items.Replace(pasted->items.Item(static_cast<uint32_t>(frame) + 1), static_cast<uint32_t>(at + frame) + 1, 1);
}

void CMovieRes::StoreItem(int16_t at, int16_t count, CResource* item, bool overwrite, int16_t limit)
{
    int32_t first = std::max<int32_t>(at, 0);
    int32_t end = std::min<int32_t>({ int32_t(at) + count, limit, kMaxFrames });
    if (end <= first)
        return;
    if (end > NumFrames())
        InsertFrames(NumFrames(), static_cast<int16_t>(end - NumFrames()), true, true);
    for (int32_t frame = first; frame < end; ++frame) {
        auto index = static_cast<uint32_t>(frame) + 1;
        if (overwrite || !items.Item(index))
            items.Replace(item, index, 1);
    }
    Changed(this, kEmpty, -1);
}

SmartPtr<CMovie> CMovieRes::MakeMovie(const SmartPtr<CResource>& resource, const Rect& rect)
{
    if (!resource.Valid())
        return nullptr;
    SmartPtr<Persistent> object = resource->GetObject();
    if (SmartCast<Image>(object.Get()))
        return new CMoviePic(resource, true);
    if (SmartCast<String>(object.Get()))
        return new CMovieText(resource, rect, true);
    return nullptr;
}
