#pragma once

#include "foundation/Smart.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class CPlayer;

namespace pw::authoring {

class ToolsWindowPane;

// Told by the active pane when what it edits or plays changes.
class PaneClient {
public:
    virtual void PaneChanged(ToolsWindowPane* pane) = 0;

protected:
    ~PaneClient() = default;
};

// What the tools window asks of the active editing pane: what it edits (0 the background or
// nothing, 1 a picture, 2 a text), to edit something else, whether it is the active pane, and to
// keep the tools window among its clients. The pane plays while its player runs; it stops playing
// on its numbered stop command. The animation editing pane provides it; the numbered-command
// operation is the one of the pane's own handler part, so the pane has a single handler.
class ToolsWindowPane : public virtual Smart {
public:
    // The pane's numbered commands that start and stop its playing, and the one that tells the
    // application a tool in its alternate mode is current.
    static constexpr int32_t kPlayCommand = 2030;
    static constexpr int32_t kStopCommand = 2031;
    static constexpr int32_t kAltModeCommand = 2032;

    virtual void DoCommand(int32_t number, int32_t argument) = 0;

    virtual int32_t GetEditedKind() = 0;
    virtual void Edit(int32_t kind, bool flag) = 0;
    // Puts an open editor's work onto the page, as ending it does, before the page is saved; a
    // picture being painted goes on in a new editor at once, the tools window left as it is.
    virtual void StoreEdit() = 0;
    // The player of the page the pane shows (none before it has one).
    virtual SmartPtr<CPlayer> GetPlayer() = 0;
    virtual bool IsActivePane() = 0;
    // Adds the client, or removes it when present.
    virtual void ToggleClient(PaneClient* client) = 0;
};

} // namespace pw::authoring
