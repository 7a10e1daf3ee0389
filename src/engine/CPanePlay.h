#pragma once

#include "engine/CMovie.h"
#include "engine/CShow.h"
#include "engine/NumberCommandHandler.h"
#include "foundation/SmartPtr.h"
#include "ui/View.h"

#include <cstdint>

class CPlayer;

// The view in which a page plays. It fills its parent, draws the player's current frame through
// the show at its own top-left corner, offers a press to its subviews first and then, while the
// page plays, to the player as a click on the sprites, and follows the movie's changes so that
// the shown frame is redrawn. It takes no numbered commands itself; the editing pane built on it
// does.
class CPanePlay : public View, public MovieClient, public NumberCommandHandler {
    PW_CLASS_INFO(CPanePlay)

public:
    CPanePlay(View* parent, const SmartPtr<CPlayer>& player);
    ~CPanePlay() override;

    CPlayer& GetPlayer() const { return *player.Get(); }
    CShow& GetShow() const;
    bool IsPlaying() const;

    void DrawContent(DisplayPort& port, Area& area) override;
    // True when a subview took the press or the playing page was clicked; false on a stopped page,
    // so that the editing pane goes on with its tool.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    bool MouseMove(int32_t h, int32_t v, BitFlags modifiers) override;

    void MovieChanged(Smart* source, const Rect& rect, int16_t frame) override;
    void BoundsChanged(CMovie&, const Rect&) override { }

    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

protected:
    // A view point in the movie's coordinates (the page is drawn at the pane's top-left corner).
    Point ToMovie(int32_t h, int32_t v) const;

private:
    // Held so that the player's page outlives the pane, which unregisters from its movie last.
    SmartPtr<CShow> show;
    SmartPtr<CPlayer> player;
};
