#pragma once

#include "authoring/panes/CHAPane.h"
#include "authoring/panes/OverviewLayout.h"
#include "authoring/panes/PaneForwarder.h"
#include "engine/CMovie.h"
#include "engine/NumberCommandHandler.h"
#include "foundation/SmartList.h"
#include "ui/Controllable.h"
#include "ui/View.h"

#include <cstdint>

class CChoreStrips;

namespace pw::authoring {

// Set while a frame overview of its own (not inside the overview window) is the active view.
extern bool gOverviewActive;

} // namespace pw::authoring

// The film strip of the active animation pane's page: every frame as a small numbered picture,
// row after row like strips of film, the pane's selected frames ringed. A click selects frames in
// the pane; with the stretch tools it stretches the selected motion to the clicked frame. The
// paint draws only the strips, numbers and ring, and queues the visible frames with a film-strip
// chore, whose ticks draw their pictures. A scroll bar linked to the overview moves its first row.
//
// The overview listens to the pane's movie and selection while it shows a pane; inside the
// overview window (`docked`) it follows whichever pane the application makes active. It holds
// the pane and its chore; the chore points back without holding it.
class COverview : public View,
                  public Controllable,
                  public NumberCommandHandler,
                  public PaneForwarder,
                  public MovieClient,
                  public pw::authoring::SelectionClient {
    PW_CLASS_INFO(COverview)

public:
    // Cells lower than this get no number.
    static constexpr int32_t kLabelHeight = 32;

    COverview(View* parent, const Rect& bounds, bool docked);
    ~COverview() override;

    // Shows the pane's page (none: nothing); the layout is made again at the next drawing.
    void SetPane(const SmartPtr<CHAPane>& newPane);
    void SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& activePane) override;
    SmartPtr<CHAPane> GetPane() const { return pane; }

    void DrawContent(DisplayPort& port, Area& area) override;
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    bool KeyDown(uint8_t key, int32_t value) override;
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    void ActiveChanged(bool active) override;

    // Controllable: the first row shown, over the rows.
    void GetRange(int32_t argument, int32_t* first, int32_t* second) override;
    int32_t GetPageSize(int32_t) override { return 1; }
    void TakeValue(int32_t value) override;
    int32_t GetValueFor(int32_t) override { return layout.topRow; }

    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

    void MovieChanged(Smart* source, const Rect& rect, int16_t frame) override;
    void BoundsChanged(CMovie& movie, const Rect& oldBounds) override;
    void SelectionChanged(CHAPane* changed) override;

    // The chore's drawing of one frame's picture within `bounds` (the owner's); never stops it.
    static bool DrawPicture(View* owner, int32_t frame, const Rect& bounds);

    const pw::authoring::OverviewLayout& GetLayout() const { return layout; }
    bool IsDirty() const { return dirty; }
    int16_t GetSelStart() const { return selStart; }
    int16_t GetSelEnd() const { return selEnd; }
    CChoreStrips& GetStrips() const { return *strips.Get(); }

private:
    // Lays the strip out again; answers whether what is drawn may stay.
    bool Layout();
    // Takes the pane's selected frames and sprites.
    void FollowSelection();
    void RefreshHighlight();
    void Highlight(DisplayPort& port, int32_t first, int32_t last);
    void BroadcastScroll();
    void DrawStrip(DisplayPort& port, const Rect& strip);
    void DrawLabel(DisplayPort& port, int32_t frame, const Rect& cell);
    // Local (origin at the view's top-left) to window coordinates.
    Rect ToWindow(const Rect& r);
    static int32_t CurrentToolNumber();

    pw::authoring::OverviewLayout layout;
    int16_t selStart { 0 };
    int16_t selEnd { 0 };
    SmartList<CSprite> spriteSel;
    SmartPtr<CChoreStrips> strips;
    SmartPtr<CHAPane> pane;
    bool dirty { true };
    bool docked { false };
    // The window whose pane forwarders list this overview; only a key for leaving the list.
    Window* window { nullptr };
};
