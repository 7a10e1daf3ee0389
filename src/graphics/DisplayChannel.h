#pragma once

#include "foundation/ListHandle.h"
#include "graphics/ImageChannel.h"

// An image channel with children and a fixed drawing protocol, on which views and the player are
// built. A change reaches the children last to first, then the channel's own Invalidate when it
// shows on that device; rendering draws the channel's own content (only on its own device),
// then the children first to last, all clipped to the channel's bounds.
class DisplayChannel : public ImageChannel {
    PW_CLASS_INFO(DisplayChannel)
    PW_COPY_SLOTS

public:
    void Changed(DisplayDevice& device, Area& area) override;
    void Render(DisplayPort& port, Area& area) override;
    // When the device has an area waiting to be redrawn: announces the bounds as changed, then
    // renders the waiting part within the bounds through a new port.
    virtual void Update(DisplayDevice& device);
    virtual void Invalidate(Area& area) = 0;
    virtual void DrawContent(DisplayPort& port, Area& area) = 0;
    // The child channels; items that are not channels are passed over.
    // A reference, so that a subclass may answer its own typed list (a view its SmartList<View>).
    virtual const ListHandle& GetChildren() = 0;

protected:
    explicit DisplayChannel(const SmartPtr<DisplayDevice>& target);
    explicit DisplayChannel(DisplayDevice* target);
};
