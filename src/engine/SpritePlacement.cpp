#include "engine/SpritePlacement.h"

#include "engine/CSprite.h"

#include <map>

namespace pw::engine {

namespace {

// The list holds `items` again, in place, so that whoever shares the list sees the same entries.
template <typename T>
void Refill(SmartList<T>& list, const std::vector<SmartPtr<T>>& items)
{
    list.Data()->DeleteAll();
    list.InsertItems(nullptr, 0, static_cast<uint32_t>(items.size()));
    for (size_t index = 0; index < items.size(); ++index) {
        if (items[index].Valid())
            list.Replace(items[index].Get(), static_cast<uint32_t>(index) + 1, 1);
    }
}

template <typename T>
std::vector<SmartPtr<T>> ItemsOf(const SmartList<T>& list)
{
    std::vector<SmartPtr<T>> items;
    for (uint32_t index = 1; index <= list.NumItems(); ++index)
        items.emplace_back(list.Item(index));
    return items;
}

} // namespace

SpritePlacement::SpritePlacement(const CSprite& sprite)
    : frameCount(sprite.frameCount)
    , startFrame(sprite.startFrame)
    , referencePoint(sprite.referencePoint)
    , path(CopiesOf(ItemsOf(sprite.path)))
    , sounds(ItemsOf(sprite.sounds))
    , links(ItemsOf(sprite.links))
    , keyFrames(sprite.keyFrames)
{
}

void SpritePlacement::Restore(CSprite& sprite) const
{
    sprite.frameCount = frameCount;
    sprite.startFrame = startFrame;
    sprite.referencePoint = referencePoint;
    Refill(sprite.path, CopiesOf(path));
    Refill(sprite.sounds, sounds);
    Refill(sprite.links, links);
    sprite.keyFrames = keyFrames;
}

std::vector<SmartPtr<PathPoint>> SpritePlacement::CopiesOf(const std::vector<SmartPtr<PathPoint>>& points)
{
    std::map<const PathPoint*, SmartPtr<PathPoint>> made;
    std::vector<SmartPtr<PathPoint>> copies;
    for (const SmartPtr<PathPoint>& point : points) {
        if (!point.Valid()) {
            copies.emplace_back();
            continue;
        }
        SmartPtr<PathPoint>& copy = made[point.Get()];
        if (!copy.Valid())
            copy = new PathPoint(*point.Get());
        copies.push_back(copy);
    }
    return copies;
}

} // namespace pw::engine
