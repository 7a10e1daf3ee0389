#pragma once

#include "ui/Window.h"

#include <cstdint>

// The framework's modal window. Its caller fills it with views, sizes it to fit, hands it to the
// application (AddWindow with activation) and calls Poll until it answers false; then WasCancelled
// tells a cancel (Escape, a Cancel button, the close box) from a done (Return, Ctrl+C, an OK
// button). Each Poll repaints the dialog and runs the bounded message pump, so chores, sockets and
// paints of the whole program go on while mouse input to its other windows is dropped. A Dialog
// serves one modal run: once closed it stays closed.
class Dialog : public Window {
    PW_CLASS_INFO(Dialog)

public:
    static constexpr uint8_t kClosed = 0x01;
    static constexpr uint8_t kCancelled = 0x02;

    // Window kind 1 for the kid dialogs and pickers, 2 for the application's dialogs; an empty
    // title and the framework's default size.
    explicit Dialog(int32_t kind);

    // Escape cancels, Ctrl+C (3) ends, Tab moves to the next text field (a child that is an
    // EditableField with an edit control); other keys go to the focused child, and Return that no
    // child took ends the dialog.
    bool KeyDown(uint8_t key, int32_t value) override;
    // Marks the dialog closed, then closes the window.
    void Close() override;
    // The close box cancels, as Escape does: closing a question unanswered accepts nothing.
    bool CloseBoxPressed() override;
    // The first time the dialog becomes active, the text field holding its initial focus selects
    // all its text, as one reached by Tab does, so that typing replaces the proposed text.
    void ActiveChanged(bool active) override;

    // One step of the modal wait: repaint, pump; true while the dialog is open. When nothing at all
    // waits it sleeps until the next message or timer tick instead of returning at once, so that a
    // caller's loop does not spin. A quit (the quit message, or the application stopping) cancels
    // a dialog that waits for the user and stays pending for the outer loop; a dialog polled
    // inside a long operation (no waiting) is left to its operation.
    virtual bool Poll();
    // Marks the dialog cancelled, then Close.
    virtual void Cancel();
    // Close, not cancelled.
    virtual void Done();

    bool WasCancelled() const { return (dialogState & kCancelled) != 0; }
    bool IsClosed() const { return (dialogState & kClosed) != 0; }

protected:
    // Dialogs whose Poll runs inside a long operation (progress) must never sleep in it.
    void SetWaitWhenIdle(bool wait) { waitWhenIdle = wait; }

private:
    // Focuses the text field after the focused one (wrapping) and selects all its text.
    void FocusNextTextField();

    uint8_t dialogState { 0 };
    bool waitWhenIdle { true };
    bool initialFocusGiven { false };
};
