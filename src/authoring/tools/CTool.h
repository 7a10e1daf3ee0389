#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "foundation/SoundResource.h"
#include "ui/Tool.h"

#include <cstdint>

class DisplayPort;

// The base of every authoring tool. Its number tells the panes what a press means (the panes,
// not the tools, make the mouse tasks); it carries a start sound played when a gesture begins
// and a pending sound played once after the system chose the tool for the child; some tools have
// an alternate mode. The cursor follows the number. A tool may have option sets (kinds), each
// with the values 1 to N, which option palettes show in cells the tool draws itself.
class CTool : public Tool {
    PW_CLASS_INFO(CTool)
    PW_COPY_SLOTS

public:
    // The pending sound is kept only while the sounds-off option is clear. With `loopStartSound`
    // the start sound repeats while it plays.
    CTool(int32_t number, const SmartPtr<SoundResource>& startSound, bool loopStartSound,
        const SmartPtr<SoundResource>& pendingSound);
    ~CTool() override;

    // Over a page that plays, whatever the tool: cursor 405 where a click would do something (a
    // sprite with a sound or a link in the current frame), else 404. Otherwise, over windows of the
    // normal and blocking kinds, the tool's own cursor (UpdateCursor first). The arrow over
    // floating and pop-up windows, and beside the page in a window that shows one. The page is
    // that of the last editing pane on the window's chain of active children.
    void AdjustCursor(Point point, BitFlags modifiers, const SmartPtr<Window>& window) override;

    virtual void SetOption(int16_t kind, int16_t value);
    virtual int16_t GetOption(int16_t kind);
    // Warns "Not implemented." and answers 0: a plain tool has no options.
    virtual int16_t CountOptions(int16_t kind);
    // Draws the tool's look for option `value` of `kind` (1 to CountOptions), leaving the tool's
    // own option as it was; nothing for other values.
    virtual void ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value);
    // Draws the tool's look for its current option.
    virtual void Apply(DisplayPort& port, const Rect& rect);
    // Chooses the cursor from the number (authoring cursor 200 + n).
    virtual void UpdateCursor();

    int32_t GetNumber() const { return number; }
    bool IsPaintTool() const { return number >= 100 && number <= 114; }
    bool HasAltMode() const;
    // Only tools that have an alternate mode take it.
    void SetAltMode(bool on);
    bool InAltMode() const { return (flags & kAltMode) != 0; }
    // Plays the start sound unless the tool is in its alternate mode; the pending sound is no
    // longer due.
    void PlayStartSound();
    static void StopSound();
    void SetSoundPending(bool on);
    bool IsSoundPending() const { return (flags & kSoundPending) != 0; }
    // Plays the pending sound once when it is due (and sounds are on).
    void PlayPendingSound();
    void EmptyHook() { }

    // The application's sounds-off option, which the application sets from its own options. A
    // tool made while it is set never plays a pending sound.
    static void SetSoundsOffOption(bool off);
    static bool SoundsOffOption();

    // The cursors every tool shares: the arrow and the engine's cursors 404 (over a playing page)
    // and 405 (over something clickable on it), loaded by the first tool made. Tests start each
    // case on a fresh platform, whose handles the loaded ones are not.
    static void ForgetSharedCursors();

private:
    static constexpr uint8_t kAltMode = 0x01;
    static constexpr uint8_t kSoundPending = 0x02;

    int32_t number;
    SmartPtr<SoundResource> startSound;
    SmartPtr<SoundResource> pendingSound;
    uint8_t flags { 0 };
};
