#pragma once

#include "foundation/Smart.h"

#include <cstdint>

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
// nothing, 1 a picture, 2 a text), whether it plays, to edit something else, to stop playing, to
// bring its player up to date when an animation palette shows, and to keep the tools window among
// its clients. The animation editing pane provides it.
class ToolsWindowPane : public virtual Smart {
public:
    virtual int32_t GetEditedKind() = 0;
    virtual bool IsPlaying() = 0;
    virtual void Edit(int32_t kind, bool flag) = 0;
    // The pane's stop command (2031).
    virtual void StopPlaying() = 0;
    virtual void TrackPlayer() = 0;
    virtual bool IsActivePane() = 0;
    // Adds the client, or removes it when present.
    virtual void ToggleClient(PaneClient* client) = 0;
};

} // namespace pw::authoring
