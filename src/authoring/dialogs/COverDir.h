#pragma once

#include "authoring/palettes/Floater.h"
#include "engine/NumberCommandHandler.h"
#include "foundation/Rect.h"

#include <cstdint>

class CHAPane;
class COverview;

// The floating window of the frame overview: the film strip of the active pane's frames with its
// scroll bars. The application opens it with command 2062 and closes it with the same command;
// numbered commands that reach it go on to the application. Showing and hiding it through its
// toggle sets the overview-shown flag the pane and the overview read.
class COverDir : public Floater, public NumberCommandHandler {
    PW_CLASS_INFO(COverDir)

public:
    static constexpr uint8_t kFloating = 0x01;
    // The height an empty rectangle is given.
    static constexpr int32_t kDefaultHeight = 100;

    // `kind` is accepted and not used. An empty `rect` becomes the bottom strip of the default
    // height. The window's bottom edge lies one pixel above the rectangle's.
    COverDir(const SmartPtr<CHAPane>& pane, int32_t kind, bool floating, const Rect& rect);

    // A strip `height` pixels high along the bottom of the usable frame, across its width: where an
    // empty rectangle puts the window, and where the application starts the place it opens it at.
    static Rect BottomStrip(int32_t height);
    ~COverDir() override;

    // A floating window only hides; another closes as windows do.
    void Close() override;
    bool ToggleShown(bool toggle) override;

    void DoCommand(int32_t number, int32_t argument) override;
    // Not carried out: warns and answers disabled.
    int32_t GetCommandStatus(int32_t number) override;

    COverview* GetOverview() const { return overview; }

private:
    uint8_t flags { 0 };
    // One of the window's views, which hold it.
    COverview* overview { nullptr };
};
