#include "ui/Dialog.h"

#include "ui/EditableField.h"
#include "ui/EventSupport.h"
#include "ui/WindowFrame.h"

#include <vector>

PW_DEFINE_CLASS(Dialog, nullptr, nullptr, Window)

namespace {

constexpr uint8_t kEscape = 27;
constexpr uint8_t kCtrlC = 3;
constexpr uint8_t kTab = 9;
constexpr uint8_t kReturn = 13;

} // namespace

Dialog::Dialog(int32_t kind)
    : Window(SmartPtr<String>(), kind, false, false, Window::defaultSize)
{
}

bool Dialog::KeyDown(uint8_t key, int32_t value)
{
    switch (key) {
    case kEscape:
        Cancel();
        return true;
    case kCtrlC:
        Done();
        return true;
    case kTab:
        FocusNextTextField();
        return true;
    default:
        break;
    }
    if (View::KeyDown(key, value))
        return true;
    if (key != kReturn)
        return false;
    Done();
    return true;
}

void Dialog::ActiveChanged(bool active)
{
    if (!active || initialFocusGiven)
        return;
    initialFocusGiven = true;
    SmartPtr<View> focus = GetFocusChild();
    auto* field = dynamic_cast<pw::ui::EditableField*>(focus.Get());
    if (field && field->HasEditControl())
        field->SelectAll();
}

void Dialog::Close()
{
    dialogState |= kClosed;
    Window::Close();
}

bool Dialog::CloseBoxPressed()
{
    Cancel();
    return true;
}

// A dialog closed before the call still repaints and pumps once, without waiting.
bool Dialog::Poll()
{
    UpdateNow();
    SmartPtr<WindowFrame> frame = GetFrame();
    // A quit ends a wait for the user as a cancel would, the quit staying pending for the outer
    // loop, which then ends the program. A long operation polling its dialog is not cut short
    // (a save stopped half way would leave a broken file): it finishes, and the quit waits.
    bool quit = !PumpMessages(frame->GetOSWindow(), waitWhenIdle && !IsClosed());
    if (quit && waitWhenIdle && !IsClosed())
        Cancel();
    return !IsClosed();
}

void Dialog::Cancel()
{
    dialogState |= kCancelled;
    Close();
}

void Dialog::Done()
{
    Close();
}

void Dialog::FocusNextTextField()
{
    SmartList<View> children = GetChildren();
    std::vector<SmartPtr<View>> fields;
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        auto* field = dynamic_cast<pw::ui::EditableField*>(child);
        if (field && field->HasEditControl())
            fields.emplace_back(child);
    }
    if (fields.empty())
        return;
    SmartPtr<View> focus = GetFocusChild();
    size_t position = 0;
    for (size_t index = 0; index < fields.size(); ++index) {
        if (fields[index] == focus)
            position = index + 1;
    }
    size_t next = (position == 0 || position == fields.size()) ? 0 : position;
    SetFocusChild(fields[next]);
    dynamic_cast<pw::ui::EditableField*>(fields[next].Get())->SelectAll();
}
