#include "authoring/panes/RaisedMove.h"

#include "authoring/panes/CHAPane.h"

#include <algorithm>
#include <vector>

namespace pw::authoring {

PW_DEFINE_CLASS(RaisedMove, nullptr, nullptr, Task, SmartImplementation)
PW_DEFINE_COPY_SLOTS(RaisedMove)

SmartPtr<Task> RaisedMove::Raise(CMovieGroup& group, const SmartList<CSprite>& sprites, const SmartPtr<Task>& move)
{
    std::vector<std::pair<int32_t, CSprite*>> raised;
    for (uint32_t item = 1; item <= sprites.NumItems(); ++item) {
        CSprite* sprite = sprites.Item(item);
        int32_t index = sprite ? group.IndexOf(sprite) : -1;
        // The page's background and paint stay under the pictures placed on the page.
        if (index >= 0 && !sprite->ToggleFlag2(false) && !CHAPane::IsPaint(*sprite))
            raised.emplace_back(index, sprite);
    }
    std::sort(raised.begin(), raised.end());
    SmartList<CSprite> before = OrderOf(group);
    for (auto& [index, sprite] : raised)
        group.RaiseSprite(sprite, -1);
    SmartList<CSprite> after = OrderOf(group);
    for (uint32_t item = 1; item <= before.NumItems(); ++item) {
        if (before.Item(item) != after.Item(item))
            return new RaisedMove(group, move, before, after);
    }
    return move;
}

RaisedMove::RaisedMove(
    CMovieGroup& group, const SmartPtr<Task>& move, const SmartList<CSprite>& before, const SmartList<CSprite>& after)
    : group(&group)
    , move(move)
    , before(before)
    , after(after)
{
}

void RaisedMove::Do()
{
    Redo();
}

void RaisedMove::Undo()
{
    if (move.Valid())
        move->Undo();
    PutInOrder(before);
}

void RaisedMove::Redo()
{
    PutInOrder(after);
    if (move.Valid())
        move->Redo();
}

SmartList<CSprite> RaisedMove::OrderOf(const CMovieGroup& group)
{
    SmartList<CSprite> order;
    for (uint32_t index = 0; index < group.NumSprites(); ++index)
        order.Append(group.GetSprite(static_cast<int16_t>(index)));
    return order;
}

void RaisedMove::PutInOrder(const SmartList<CSprite>& order)
{
    for (uint32_t item = 1; item <= order.NumItems(); ++item)
        group->RaiseSprite(order.Item(item), -1);
}

} // namespace pw::authoring
