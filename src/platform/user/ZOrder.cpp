#include "platform/user/ZOrder.h"

#include "platform/testing/Reset.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <map>

namespace pw::platform {

namespace {

// Sibling lists by parent handle (0 for the desktop), top first.
using Lists = std::map<HWND, std::vector<HWND>>;

Lists& TheLists()
{
    static Lists lists;
    return lists;
}

const bool registered = testing::RegisterReset([] { TheLists().clear(); });

WindowLayer LayerOfHandle(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    return window ? window->layer : WindowLayer::Normal;
}

// Where `hwnd` lives: the list and its position, or null.
std::vector<HWND>* ListOf(HWND hwnd, size_t* index = nullptr)
{
    for (auto& [parent, list] : TheLists()) {
        auto it = std::find(list.begin(), list.end(), hwnd);
        if (it != list.end()) {
            if (index)
                *index = static_cast<size_t>(it - list.begin());
            return &list;
        }
    }
    return nullptr;
}

// The index of the first window in `list` whose layer is at or below `layer` (the top of that
// layer), or strictly below it (`strictly`: the bottom of that layer).
size_t LayerBoundary(const std::vector<HWND>& list, WindowLayer layer, bool strictly)
{
    for (size_t i = 0; i < list.size(); ++i) {
        WindowLayer other = LayerOfHandle(list[i]);
        if (strictly ? other < layer : other <= layer)
            return i;
    }
    return list.size();
}

// Takes the window at `from` out of its list and puts it back where `position` (called on the
// list without it) says; true when it moved.
template <typename Position>
bool Reinsert(std::vector<HWND>& list, size_t from, Position position)
{
    HWND hwnd = list[from];
    list.erase(list.begin() + static_cast<ptrdiff_t>(from));
    size_t to = std::min(position(list), list.size());
    list.insert(list.begin() + static_cast<ptrdiff_t>(to), hwnd);
    return to != from;
}

bool ToTopOfLayer(std::vector<HWND>& list, size_t from, WindowLayer layer)
{
    return Reinsert(list, from, [&](const std::vector<HWND>& rest) { return LayerBoundary(rest, layer, false); });
}

// Raises the windows owned by `owner` (keeping their order) so they stay above it.
bool RaiseOwned(HWND owner, int depth = 0)
{
    if (depth > 16)
        return false;
    std::vector<HWND>& list = TheLists()[nullptr];
    std::vector<HWND> owned;
    for (HWND hwnd : list) {
        Window* window = WindowTable::Find(hwnd);
        if (window && window->Owner() == owner)
            owned.push_back(hwnd);
    }
    bool changed = false;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        size_t index = 0;
        if (!ListOf(*it, &index))
            continue;
        changed |= ToTopOfLayer(list, index, LayerOfHandle(*it));
        changed |= RaiseOwned(*it, depth + 1);
    }
    return changed;
}

} // namespace

std::vector<HWND> ZOrder::Siblings(HWND parent)
{
    auto& lists = TheLists();
    auto it = lists.find(parent);
    return it == lists.end() ? std::vector<HWND> {} : it->second;
}

void ZOrder::Insert(Window& window)
{
    std::vector<HWND>& list = TheLists()[window.ParentWindow()];
    list.insert(list.begin() + static_cast<ptrdiff_t>(LayerBoundary(list, window.layer, false)), window.Handle());
    if (!window.IsChild())
        RaiseOwned(window.Handle());
}

void ZOrder::Remove(HWND hwnd)
{
    size_t index = 0;
    if (std::vector<HWND>* list = ListOf(hwnd, &index))
        list->erase(list->begin() + static_cast<ptrdiff_t>(index));
    TheLists().erase(hwnd);
}

bool ZOrder::Raise(Window& window)
{
    size_t index = 0;
    std::vector<HWND>* list = ListOf(window.Handle(), &index);
    if (!list)
        return false;
    bool changed = ToTopOfLayer(*list, index, window.layer);
    if (!window.IsChild())
        changed |= RaiseOwned(window.Handle());
    return changed;
}

bool ZOrder::Lower(Window& window)
{
    size_t index = 0;
    std::vector<HWND>* list = ListOf(window.Handle(), &index);
    if (!list)
        return false;
    return Reinsert(*list, index, [&](const std::vector<HWND>& rest) { return LayerBoundary(rest, window.layer, true); });
}

bool ZOrder::PlaceBelow(Window& window, HWND above)
{
    size_t index = 0;
    size_t aboveIndex = 0;
    std::vector<HWND>* list = ListOf(window.Handle(), &index);
    if (!list || above == window.Handle())
        return false;
    if (ListOf(above, &aboveIndex) != list || LayerOfHandle(above) != window.layer)
        return Raise(window);
    return Reinsert(*list, index, [&](const std::vector<HWND>& rest) {
        return static_cast<size_t>(std::find(rest.begin(), rest.end(), above) - rest.begin()) + 1;
    });
}

bool ZOrder::SetLayer(Window& window, WindowLayer layer)
{
    if (window.layer == layer)
        return false;
    window.layer = layer;
    size_t index = 0;
    if (std::vector<HWND>* list = ListOf(window.Handle(), &index))
        ToTopOfLayer(*list, index, layer);
    if (!window.IsChild())
        RaiseOwned(window.Handle());
    return true;
}

} // namespace pw::platform
