#pragma once

#include "authoring/palettes/ButtonGrid.h"
#include "authoring/palettes/CCommandButton.h"
#include "authoring/palettes/CPaletteView.h"
#include "authoring/palettes/CToolPalette.h"
#include "authoring/palettes/PaletteClient.h"
#include "foundation/Signal.h"

#include <cstdint>
#include <memory>

class App;

namespace pw::authoring {

// A command for the application's numbered commands: enabled while the application is a numbered
// command handler that does not answer the number disabled.
class AppCommandSignal : public Signal<App> {
public:
    explicit AppCommandSignal(int32_t number);

protected:
    int32_t Status(App& app) override;
    void Act(App& app) override;

private:
    int32_t number;
};

} // namespace pw::authoring

// The base of the application's media tabs: a strip with an action button, an optional second
// button, an arrow palette and a fixed number of pages, each with a tool palette the subclass
// supplies. Exactly the current page's palette is shown; the arrows (cells 1 back and 2 forward)
// step the page round, page 0 back to the last and the last forward to 0. The bar is the client of
// its arrow palette and holds its buttons and palette; the page palettes are the subclass's.
class TabBarView : public CPaletteView, public pw::authoring::PaletteClient {
public:
    // The action button's command, picture and click sound.
    static constexpr int32_t kActionCommand = 4;
    static constexpr int16_t kActionPicture = 2030;
    static constexpr int16_t kActionSound = 13;

    TabBarView(View* parent, const Rect& bounds, int16_t pageCount);
    ~TabBarView() override;

    // Adds the action button, the second button when asked and, given a layout, the arrow palette
    // to `owner` (this bar when null), then shows page 0.
    void Build(View* owner, bool withSecondButton, std::unique_ptr<ButtonGrid> arrowLayout);

    // Page i's palette; the subclass makes them.
    virtual SmartPtr<CToolPalette> GetPagePalette(int16_t page) = 0;

    // 0 runs the page action, 1 steps to the previous page, 2 to the next; others do nothing.
    virtual void DoCommand(int16_t command);
    // A click in a palette the bar listens to runs the cell's command.
    void CellChosen(int16_t index) override { DoCommand(index); }
    // Asks the application to put away its floating window.
    void RunPageAction();
    int16_t GetPage() const { return page; }
    // Shows page p's palette with nothing selected and hides the others.
    virtual void SetPage(int16_t p);

    SmartPtr<CToolPalette> GetArrowPalette() const { return arrows; }

private:
    SmartPtr<CCommandButton> firstButton;
    SmartPtr<CCommandButton> secondButton;
    SmartPtr<CToolPalette> arrows;
    int16_t page { 0 };
    int16_t pageCount;
    // Kid pictures 3 and 4, held for the bar's lifetime.
    SmartPtr<ImageResource> pictures[2];
};
