#pragma once

#include "authoring/palettes/CToolPalette.h"
#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class TallowApp;
class View;

// The application's column of five tab-set buttons (cells 28 to 32, grid 405). Every page
// window's tabs listen to it and show set (cell - 28) on a press. The first button also asks the
// application for a new page, which it makes only when no page window is open.
class TabSetSelector : public CToolPalette {
public:
    static constexpr int16_t kFirstCell = 28;
    static constexpr int16_t kGrid = 405;

    explicit TabSetSelector(View* parent);

    // Every client hears the cell; the first cell then sends the new-page command.
    void NotifyClients(int16_t index) override;
};

// The selector's new-page command, for the application.
class NewPageSignal : public Signal<TallowApp> {
public:
    NewPageSignal();

protected:
    void Act(TallowApp& app) override;
};

namespace pw::app {

// Fills the window: picture 553 at the top-left and the selector directly below it, which a
// press on the cell already selected notifies again. Answers the selector.
SmartPtr<CToolPalette> SetUpTabSetSelector(View& parent);

} // namespace pw::app
