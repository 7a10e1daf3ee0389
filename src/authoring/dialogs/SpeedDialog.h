#pragma once

#include "authoring/dialogs/SpeedControl.h"
#include "foundation/String.h"
#include "ui/Dialog.h"

// The speed dialog: a number above a scroll bar that sets a page's frame rate; the number follows
// every change at once while the dialog is active, and at its next drawing otherwise. The dialogs'
// builder places the frame, the bar and the "OK" button.
class SpeedDialog : public Dialog, public pw::authoring::SpeedClient {
public:
    static constexpr Rect kValueRect { 100, 10, 150, 35 };

    SpeedDialog();
    ~SpeedDialog() override;

    // Replaces the control; the dialog follows the new one and shows its value.
    void SetControl(const SmartPtr<SpeedControl>& newControl);
    void DrawContent(DisplayPort& port, Area& area) override;
    void SpeedChanged() override;

    SmartPtr<SpeedControl> GetControl() const { return control; }
    const String& GetText() const { return *text.Get(); }

private:
    // The control's value as decimal digits.
    void TakeText();
    void DrawValue(DisplayPort& port);

    SmartPtr<String> text;
    SmartPtr<SpeedControl> control;
};
