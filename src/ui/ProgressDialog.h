#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/Dialog.h"
#include "ui/ProgressBar.h"
#include "ui/TextView.h"
#include "ui/ViewControl.h"

#include <cstdint>

// The dialog of the outermost progress range: a bar, a line of text (the title at first, later
// what the operation is doing) and a Stop button that cancels the dialog, which the ranges turn
// into UserCancelException at their next advance. It is polled from inside the long operation
// itself, at most every 100 ms, so that other windows repaint and chores run meanwhile; its
// polls never wait for messages. The ranges make it, reveal it and close it.
class ProgressDialog : public Dialog {
    PW_CLASS_INFO(ProgressDialog)

public:
    // At most this often a poll pumps the message queue.
    static constexpr uint32_t kPollIntervalMs = 100;

    // A hidden dialog with client area 400 by 65 at (120, 100), showing `title` in its line.
    explicit ProgressDialog(const String& title);

    // True at once within kPollIntervalMs of the last real poll; otherwise Dialog's Poll.
    bool Poll() override;
    // Polls, then shows value of maximum, redrawing the bar at once when its length changed.
    void SetProgress(uint32_t value, uint32_t maximum);
    // Replaces the line's text and redraws it at once, then polls.
    void SetText(const String& text);
    // Brings a hidden dialog to the front unless it was cancelled.
    void Reveal();

    SmartPtr<ProgressBar> GetBar() const { return bar; }
    SmartPtr<TextView> GetTextLine() const { return text; }
    SmartPtr<ViewControl> GetStopButton() const { return stop; }

private:
    SmartPtr<String> title;
    SmartPtr<ProgressBar> bar;
    SmartPtr<TextView> text;
    SmartPtr<ViewControl> stop;
    uint32_t lastPoll;
};
