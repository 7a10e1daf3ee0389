#pragma once

#include "foundation/BitFlags.h"
#include "foundation/Point.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "ui/Interactor.h"

#include <cstdint>

class Cursor;
class Window;

// The application's current tool: it receives every press and move first. It shows its cursor,
// feeds the interactor of a gesture in progress, and otherwise hands the event to the window,
// whose views route it. A plain Tool makes no interactors, so it leaves all mouse handling to the
// window; the editing tools make mouse tasks in MakeInteractor or install them with SetInteractor.
class Tool : public SmartImplementation {
    PW_CLASS_INFO(Tool)
    PW_COPY_SLOTS

public:
    // The standard arrow of the system cursors (standard cursor 0).
    Tool();
    explicit Tool(const SmartPtr<Cursor>& cursor);
    ~Tool() override;

    virtual void Changed() { }
    // Answers true.
    virtual bool MouseDown(Point point, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window);
    // Answers true.
    virtual bool MouseMoved(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window);
    // None: a plain tool starts no gestures of its own.
    virtual SmartPtr<Interactor> MakeInteractor(Point point, BitFlags modifiers, const SmartPtr<Window>& window);
    // Makes the tool's cursor the current cursor (nothing when it has none).
    virtual void AdjustCursor(Point point, BitFlags modifiers, const SmartPtr<Window>& window);

    // A typed character goes first to the gesture in progress: true when it ended the gesture
    // (the interactor is dropped and the key used up).
    bool KeyTyped(uint8_t character);

    void SetInteractor(const SmartPtr<Interactor>& newInteractor) { interactor = newInteractor; }
    void SetToolCursor(const SmartPtr<Cursor>& newCursor);
    SmartPtr<Interactor> GetInteractor() const { return interactor; }
    SmartPtr<Cursor> GetToolCursor() const;

private:
    // Gives the interactor one event and drops it when the gesture is over.
    void Feed(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window);

    SmartPtr<Interactor> interactor;
    SmartPtr<Cursor> cursor;
};
