#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"

class Area;
class ColorTable;
class DisplayPort;
class ImageChannel;

// Anything that can be shown: it has bounds, draws itself into a port and names the colour table
// its pixels use. Bitmaps, pictures and sprite cells are images. An image keeps a list of the
// channels that show it (not counted: each channel adds and removes itself).
class Image : public Persistent {
    PW_CLASS_INFO(Image)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // Writes an empty scope of the Image record.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Mode 0 draws as the image is; mode 1 draws a bitmap without its chroma key.
    virtual void Draw(DisplayPort& port, int mode) = 0;
    virtual Rect GetBounds() = 0;
    // A new area holding the bounds.
    virtual SmartPtr<Area> GetArea();
    // The part that changed since the channels last looked: a new empty area.
    virtual SmartPtr<Area> GetUpdateArea();
    virtual SmartPtr<ColorTable> GetColorTable() = 0;

    void AddChannel(ImageChannel* channel);
    // Forgets the channel's first entry; an absent channel is ignored.
    void RemoveChannel(ImageChannel* channel);
    uint32_t NumChannels() const { return channels.NumItems(); }

protected:
    Image() = default;
    // A copy is shown by no channel.
    Image(const Image& other);
    Image& operator=(const Image& other);

private:
    TypedArray<ImageChannel*> channels;
};
