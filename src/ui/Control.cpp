#include "ui/Control.h"

#include "foundation/Checks.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(Control, nullptr, nullptr, View)

namespace {

// The native class and style of each kind; a check box is toggled by its action, not by itself.
struct NativeKind {
    const char* className;
    DWORD style;
};

NativeKind KindOf(int32_t kind, int32_t axis)
{
    switch (kind) {
    case Control::kCheckBox:
        return { "BUTTON", BS_CHECKBOX };
    case Control::kScrollBar:
        return { "SCROLLBAR", axis == 0 ? DWORD(SBS_VERT) : DWORD(SBS_HORZ) };
    default:
        return { "BUTTON", BS_PUSHBUTTON };
    }
}

// The scroll codes of the native bar as the action's part codes; the thumb has none.
int32_t PartOf(uint32_t code)
{
    switch (code) {
    case SB_LINEUP:
        return Control::kLineBack;
    case SB_LINEDOWN:
        return Control::kLineOn;
    case SB_PAGEUP:
        return Control::kPageBack;
    case SB_PAGEDOWN:
        return Control::kPageOn;
    default:
        return -1;
    }
}

// The platform may leave its last error behind on success; only a failure's error counts.
int32_t Checked(int result)
{
    DWORD error = GetLastError();
    if (result == 0 && error != 0)
        CheckCall(false, PW_HERE);
    SetLastError(0);
    return result;
}

} // namespace

Control::Control(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t sizing,
    int32_t kind, const String& title, const SmartPtr<Controllable>& target, int32_t axis)
    : ViewBase(container, Rect(left, top, right, bottom), sizing, false)
    , kind(kind)
    , title(title)
    , target(target)
    , axis(axis)
{
    MakeNative();
}

Control::Control(View* container, int32_t kind, const String& title, const SmartPtr<Controllable>& target,
    int32_t axis)
    : ViewBase(container, false)
    , kind(kind)
    , title(title)
    , target(target)
    , axis(axis)
{
    MakeNative();
}

void Control::MakeNative()
{
    char text[256];
    title.GetCString(text, sizeof text);
    NativeKind native = KindOf(kind, axis);
    control = pw::ui::MakeNativeControl(GetFrame()->GetOSWindow(), native.className, text, native.style, GetBounds(),
        this);
    if (target.Valid())
        target->ToggleLink(this);
}

Control::~Control()
{
    if (target.Valid())
        target->ToggleLink(this);
    pw::ui::ForgetNativeControl(control);
}

void Control::DrawContent(DisplayPort&, Area&)
{
    CheckCall(InvalidateRect(control, nullptr, FALSE), PW_HERE);
}

bool Control::MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&)
{
    return true;
}

void Control::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    Rect bounds = GetBounds();
    CheckCall(MoveWindow(control, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE),
        PW_HERE);
}

void Control::ActiveChanged(bool)
{
    if (kind != kPushButton)
        SetValue(target->GetValueFor(axis));
}

void Control::Show(bool visible)
{
    View::Show(visible);
    ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::Copy(SmartPtr<Smart>&)
{
}

void Control::Paste(const SmartPtr<Smart>&, int32_t, int32_t, int32_t)
{
}

void Control::Clear()
{
}

void Control::Action(int32_t)
{
}

void Control::ValueChanged()
{
    int32_t value = 0;
    GetValue(value);
    target->TakeValue(value);
}

void Control::RevealRange(const int32_t*)
{
}

void Control::TargetChanged(void*)
{
    int32_t minimum = 0;
    int32_t maximum = 0;
    target->GetRange(axis, &minimum, &maximum);
    SetRange(minimum, maximum);
}

void Control::GetValue(int32_t& value)
{
    if (kind == kScrollBar) {
        SetLastError(0);
        value = Checked(GetScrollPos(control, SB_CTL));
        return;
    }
    value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Control::SetValue(int32_t value)
{
    if (kind == kScrollBar) {
        SetLastError(0);
        Checked(SetScrollPos(control, SB_CTL, value, TRUE));
    } else {
        SendMessageA(control, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ValueChanged();
}

void Control::SetRange(int32_t minimum, int32_t maximum)
{
    if (kind != kScrollBar)
        return;
    CheckCall(SetScrollRange(control, SB_CTL, minimum, maximum, TRUE), PW_HERE);
}

void Control::ControlNotified(UINT message, uint32_t code, int32_t position)
{
    if (message == WM_COMMAND) {
        if (code == BN_CLICKED)
            Action(kClick);
        return;
    }
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SetValue(position);
        return;
    }
    int32_t part = PartOf(code);
    if (part >= 0)
        Action(part);
}
