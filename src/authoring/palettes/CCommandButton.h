#pragma once

#include "foundation/GenericSignal.h"
#include "foundation/ImageResource.h"
#include "foundation/SoundResource.h"
#include "ui/ImageView.h"

// A picture button: it shows a picture of the resource sets at its top-left corner, sized to the
// picture, plays its click sound on a press and hands its command to its owner (without a command
// the press goes on as any view's). The picture is loaded only while the button draws, so the
// view holds no image between drawings. The option view, the tab bar and the tools window use it.
class CCommandButton : public ImageView {
    PW_CLASS_INFO(CCommandButton)

public:
    // Each of command, picture and sound may be empty; without a picture the button keeps `frame`.
    CCommandButton(View* parent, const Rect& frame, const SmartPtr<GenericSignal>& command,
        const SmartPtr<ImageResource>& picture, const SmartPtr<SoundResource>& sound);

    // The button takes the picture's size at its current top-left corner and is redrawn.
    void SetPicture(const SmartPtr<ImageResource>& newPicture);

    void DrawContent(DisplayPort& port, Area& area) override;
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;

    SmartPtr<GenericSignal> GetCommand() const { return command; }

private:
    SmartPtr<GenericSignal> command;
    SmartPtr<ImageResource> picture;
    SmartPtr<SoundResource> sound;
};
