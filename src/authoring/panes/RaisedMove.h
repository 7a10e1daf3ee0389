#pragma once

#include "engine/CMovieGroup.h"
#include "engine/CSprite.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "ui/Task.h"

namespace pw::authoring {

// The undo step of a drag that brought the dragged pictures to the front of the page. While a
// picture is dragged the pane draws it over the whole page; once let go it stays in front, so that
// it shows where it was put instead of vanishing behind a picture painted over the page. Undo
// takes the drag back and gives the page's pictures their order from before; redo does both
// again. Holds the drag's own task, the group and the two orders.
class RaisedMove : public Task, public SmartImplementation {
    PW_CLASS_INFO(RaisedMove)
    PW_COPY_SLOTS

public:
    // Brings the sprites to the front, keeping their order among themselves; backgrounds keep
    // their place. Answers the undo step: `move` itself when the order stayed as it was.
    static SmartPtr<Task> Raise(CMovieGroup& group, const SmartList<CSprite>& sprites, const SmartPtr<Task>& move);

    RaisedMove(const RaisedMove& other) = default;
    RaisedMove& operator=(const RaisedMove& other) = default;

    // The drag and the raise were done when the step was made: the same as Redo.
    void Do() override;
    void Undo() override;
    void Redo() override;

private:
    RaisedMove(CMovieGroup& group, const SmartPtr<Task>& move, const SmartList<CSprite>& before,
        const SmartList<CSprite>& after);

    // The group's sprites, back first.
    static SmartList<CSprite> OrderOf(const CMovieGroup& group);
    // Each sprite raised to the front in turn, back first, leaves them all in the list's order.
    void PutInOrder(const SmartList<CSprite>& order);

    SmartPtr<CMovieGroup> group;
    SmartPtr<Task> move;
    SmartList<CSprite> before;
    SmartList<CSprite> after;
};

} // namespace pw::authoring
