#pragma once

#include "ui/ImageView.h"

#include <cstdint>

// The About picture's view: a click anywhere on it closes the About box (the dialog that holds
// it); in any other window the click is not its business.
class AboutView : public ImageView {
public:
    using ImageView::ImageView;

    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
};

namespace pw::app {

// Application picture 421, the whole About box.
inline constexpr int16_t kAboutPicture = 421;

// Shows the About picture centred in a modal box until it is clicked; without the picture, nothing.
void ShowAboutPicture();

} // namespace pw::app
