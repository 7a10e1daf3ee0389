#pragma once

#include "engine/NumberCommandHandler.h"
#include "foundation/SmartPtr.h"
#include "graphics/Color.h"
#include "graphics/Pattern.h"
#include "ui/ViewBase.h"

#include <cstdint>

class CResource;

// The common base of the panes in which a page's media are edited (pictures, texts). It keeps
// the state those panes share: whether the edited thing was changed, an edit-state toggle the
// picture tools ask for, and a lock that keeps the changed state from being offered as the save
// command (7).
class CEditPane : public ViewBase, public NumberCommandHandler {
    PW_CLASS_INFO(CEditPane)

public:
    static constexpr int32_t kSaveCommand = 7;

    CEditPane(View* owner, int32_t left, int32_t top, int32_t right, int32_t bottom);

    // Sets the changed state when `set`; answers it.
    using View::Changed;
    bool Changed(bool set);
    // Flips the edit state when `toggle`; answers it.
    bool EditState(bool toggle);
    void Lock();

    // A resize while the pane is active counts as a change.
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    // Hands back the edited picture as a resource and its rectangle, for panes that edit one;
    // false here.
    virtual bool TakePicture(Rect& rect, SmartPtr<CResource>& resource);

    // Command 7 clears the changed state; nothing more is carried out yet.
    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

private:
    static constexpr uint8_t kChanged = 0x01;
    static constexpr uint8_t kEditState = 0x02;
    static constexpr uint8_t kLocked = 0x04;

    uint8_t flags { 0 };
    Color colour { Color(0) };
    Pattern pattern { Pattern(1) };
};
