#pragma once

#include "engine/CPanePlay.h"
#include "engine/CPlayer.h"

// The page window's pane until the editing pane takes its place: it plays the page, redraws as
// the player moves on, and is the application's active pane while it lives.
class PageView : public CPanePlay, public PlayerClient {
public:
    PageView(View* parent, const SmartPtr<CPlayer>& player);
    ~PageView() override;

    // Builds the pane inside a document window's content; registered as the show's view maker.
    static View* Make(CShow& show, View& container);

    void FrameNotice() override;
    void PlayNotice() override { }
    void AreaNotice(const SmartPtr<Area>& area) override;
};
