#include "ui/Tool.h"

#include "foundation/Resources.h"
#include "ui/Cursor.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(Tool, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Tool)

Tool::Tool()
{
    SmartPtr<Smart> arrow = SystemCursors().GetCursor(StandardCursorId(0));
    cursor = SmartCast<Cursor>(arrow.Get());
}

Tool::Tool(const SmartPtr<Cursor>& cursor)
    : cursor(cursor)
{
}

Tool::~Tool() = default;

void Tool::SetToolCursor(const SmartPtr<Cursor>& newCursor)
{
    cursor = newCursor;
}

SmartPtr<Cursor> Tool::GetToolCursor() const
{
    return cursor;
}

bool Tool::MouseDown(Point point, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    AdjustCursor(point, modifiers, window);
    if (!interactor.Valid())
        interactor = MakeInteractor(point, modifiers, window);
    if (!interactor.Valid()) {
        window->MouseDown(point.h, point.v, modifiers, clicks, window);
        return true;
    }
    Feed(point, modifiers, true, window);
    return true;
}

bool Tool::MouseMoved(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window)
{
    AdjustCursor(point, modifiers, window);
    if (!interactor.Valid())
        window->MouseMove(point.h, point.v, modifiers);
    else
        Feed(point, modifiers, buttonDown, window);
    return true;
}

bool Tool::KeyTyped(uint8_t character)
{
    if (!interactor.Valid() || !interactor->EndsOnKey(character))
        return false;
    interactor = nullptr;
    return true;
}

SmartPtr<Interactor> Tool::MakeInteractor(Point, BitFlags, const SmartPtr<Window>&)
{
    return nullptr;
}

void Tool::AdjustCursor(Point, BitFlags, const SmartPtr<Window>&)
{
    if (cursor.Valid())
        cursor->Set();
}

// The interactor is held across its own call, so a gesture that installs another interactor (or
// drops itself) while it runs is not freed under its feet; it is dropped only if still current.
void Tool::Feed(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window)
{
    SmartPtr<Interactor> current = interactor;
    if (!current->HandleMouse(point, modifiers, buttonDown, window) && interactor == current)
        interactor = nullptr;
}
