#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/Controllable.h"
#include "ui/NativeControl.h"
#include "ui/TextClient.h"
#include "ui/ViewBase.h"

#include <windows.h>

#include <cstdint>

// A native child control (push button, check box or scroll bar) as a child view at its bounds,
// showing a value of its target, a Controllable it links itself to while it lives. The target
// reaches the control through its TextClient part; the control asks the target for its page
// size, its range and the value for the axis value (a scroll bar's orientation, a check box's
// tag), and hands it every new value. The native control tracks the mouse itself; what it reports
// arrives as the action with a part code (3 and 4 a line back and on, 5 and 6 a page back and on,
// 0 a click), or as a new thumb position. Controls take nothing from or to the clipboard.
class Control : public ViewBase, public TextClient, public pw::ui::NativeControlClient {
    PW_CLASS_INFO(Control)

public:
    static constexpr int32_t kPushButton = 0;
    static constexpr int32_t kCheckBox = 1;
    static constexpr int32_t kScrollBar = 3;

    // Part codes of the action.
    static constexpr int32_t kClick = 0;
    static constexpr int32_t kLineBack = 3;
    static constexpr int32_t kLineOn = 4;
    static constexpr int32_t kPageBack = 5;
    static constexpr int32_t kPageOn = 6;

    // At the rectangle, in the container's window; the container adds it.
    Control(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t sizing, int32_t kind,
        const String& title, const SmartPtr<Controllable>& target, int32_t axis);
    // In the container's next stack row.
    Control(View* container, int32_t kind, const String& title, const SmartPtr<Controllable>& target, int32_t axis);
    ~Control() override;

    // Asks the native control to redraw itself.
    void DrawContent(DisplayPort& port, Area& area) override;
    // The native control tracks its own presses: one that reaches the view is taken and dropped.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // Moves the native control with the view.
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    // Shows the target's value for the axis value (push buttons have none).
    void ActiveChanged(bool active) override;
    // Hides or shows the native control with the view.
    void Show(bool visible) override;
    using View::Copy;
    void Copy(SmartPtr<Smart>& copied) override;
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v) override;
    void Clear() override;

    // What a press on the control does, by part code; nothing here.
    virtual void Action(int32_t part);
    // Reads the value and hands it to the target.
    virtual void ValueChanged();

    // TextClient: nothing to reveal; a change of the target brings its range.
    void RevealRange(const int32_t* range) override;
    void TargetChanged(void* message) override;

    // A scroll bar's position ("Call failed." when the platform refuses), a check box's state (0 or 1).
    void GetValue(int32_t& value);
    // Sets the native value, then ValueChanged.
    void SetValue(int32_t value);
    // A scroll bar's range; other kinds have none.
    void SetRange(int32_t minimum, int32_t maximum);

    int32_t GetKind() const { return kind; }
    int32_t GetAxis() const { return axis; }
    const SmartPtr<Controllable>& GetTarget() const { return target; }
    const String& GetTitle() const { return title; }
    HWND GetControlWindow() const { return control; }

protected:
    // NativeControlClient: clicks become the action with kClick, scroll codes the line and page
    // parts, and a dragged thumb its new value.
    void ControlNotified(UINT message, uint32_t code, int32_t position) override;

private:
    void MakeNative();

    int32_t kind;
    String title;
    SmartPtr<Controllable> target;
    int32_t axis;
    HWND control { nullptr };
};
