#pragma once

#include "foundation/ListChange.h"
#include "foundation/SmartPtr.h"
#include "graphics/TextStyle.h"
#include "ui/Controllable.h"
#include "ui/EditableField.h"
#include "ui/NativeControl.h"
#include "ui/ViewBase.h"

#include <windows.h>

#include <cstdint>

class Menu;
class String;

// A view that shows a String and, unless it is static, edits it in place through a native edit
// control over its bounds. The view watches its string: edits typed into the control go into the
// string at once, and changes made to the string elsewhere show in the control. Controls linked to
// the view are told of every change. The text is shown in a TextStyle (a styled text's own, else
// the standard style). Presses on the edit control reach the view tree first, so that focus moves
// as for any view; Tab, Escape and (on a single line) Return go on to the window, which decides
// what they mean. Static texts draw themselves and take no keys.
class TextView : public ViewBase, public pw::ui::EditableField, public Controllable, public ListListener,
                 public pw::ui::NativeControlClient {
    PW_CLASS_INFO(TextView)

public:
    // Option bits, from the second, third and fourth construction flags, and the styled bit.
    static constexpr uint8_t kSeveralLines = 0x01;
    static constexpr uint8_t kStatic = 0x02;
    static constexpr uint8_t kStyled = 0x04;
    // Kept for the view's owner; it changes nothing here.
    static constexpr uint8_t kFourthFlag = 0x08;

    // Over the rectangle in the parent's window; the parent adds it. `takesFocus` lets the view
    // become a dialog's active item.
    TextView(View* parent, int32_t left, int32_t top, int32_t right, int32_t bottom, const SmartPtr<String>& text,
        uint8_t sizing, bool takesFocus, bool severalLines, bool isStatic, bool fourthFlag);
    ~TextView() override;

    // The menu "Text": faces, point sizes and styles, each item a style command for the text view
    // that receives it, marked where the view's style has that value.
    static SmartPtr<Menu> BuildTextMenu();

    // EditableField.
    bool HasEditControl() const override { return edit != nullptr; }
    // Selects characters 0 to 0x7FFF.
    void SelectAll() override;

    // Replaces the string's characters (the control follows).
    void SetText(const String& text);
    const SmartPtr<String>& GetText() const { return text; }
    SmartPtr<TextStyle> GetStyle() const { return style; }
    // Shows the text in the style from now on, sharing the style object.
    void SetStyle(const SmartPtr<TextStyle>& newStyle);
    uint8_t GetOptions() const { return options; }
    HWND GetEditWindow() const { return edit; }

    // View.
    void DrawContent(DisplayPort& port, Area& area) override;
    // The press is the view's: focus has moved to it already.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // A key that reaches the view is typed into the control; static texts take none.
    bool KeyDown(uint8_t key, int32_t value) override;
    // The focused, active view holds the keyboard in its control.
    void ActiveChanged(bool active) override;
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    void Show(bool visible) override;

    // Controllable: a text has no range, page or values of its own to offer.
    void GetRange(int32_t argument, int32_t* first, int32_t* second) override;
    int32_t GetPageSize(int32_t axis) override;
    void TakeValue(int32_t value) override;
    int32_t GetValueFor(int32_t tag) override;

    // The string changed (ListListener).
    void ListChanged(const ListChange& change) override;

protected:
    // EN_CHANGE: the control's characters go into the string.
    void ControlNotified(UINT message, uint32_t code, int32_t position) override;
    // Presses go to the view tree first; the window's keys go to the window.
    LRESULT ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original) override;

private:
    void ShowTextInControl();

    SmartPtr<String> text;
    SmartPtr<TextStyle> style;
    uint8_t options { 0 };
    HWND edit { nullptr };
    // Set while the view itself changes the string or hands a key to the window.
    bool updating { false };
    bool passingKey { false };
};
