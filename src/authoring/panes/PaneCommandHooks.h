#pragma once

#include <cstdint>
#include <functional>

class CHAPane;
class CShow;

namespace pw::authoring {

// What the animation pane's commands ask of the children's dialogs and of the motion stretcher,
// which are installed beside the pane. Until they are, the number question answers yes with the
// proposed value (as the children's number question always does), and the speed dialog and the
// stretch do nothing.
struct PaneCommandHooks {
    // Asks for a number under the title; false: refused, the value unchanged.
    std::function<bool(const char* title, int16_t& value)> askNumber;
    // Opens the page's speed dialog.
    std::function<void(CShow& show)> speedDialog;
    // Spreads the motion of frames start .. start + oldLength - 1 over newLength frames.
    std::function<void(CHAPane& pane, int16_t start, int16_t oldLength, int16_t newLength)> stretchMotion;
};

void SetPaneCommandHooks(const PaneCommandHooks& hooks);
const PaneCommandHooks& GetPaneCommandHooks();

} // namespace pw::authoring
