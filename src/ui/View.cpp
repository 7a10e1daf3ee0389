// Views: construction, the child list, the state bits and input routing.
#include "ui/View.h"

#include "foundation/GenericSignal.h"
#include "ui/IdleChore.h"
#include "ui/Task.h"
#include "ui/ViewBuffer.h"
#include "ui/ViewNotifier.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(View, nullptr, nullptr, DisplayChannel, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(View)

namespace {

DisplayDevice& ChildDevice(View* parent, bool onFrame)
{
    if (!onFrame)
        return parent->GetDrawingDevice();
    SmartPtr<WindowFrame> frame = parent->GetFrame();
    return *frame.Get();
}

} // namespace

View::View(View* parent, const Rect& bounds, uint8_t sizing, bool takesFocus, bool onFrame)
    : DisplayChannel(&ChildDevice(parent, onFrame))
    , state(takesFocus ? kTakesFocus : 0)
    , sizing(sizing)
    , bounds(bounds)
    , notifier(parent->notifier)
    , frame(parent->frame)
{
}

View::View(DisplayDevice& device, const SmartPtr<ViewNotifier>& notifier, bool takesFocus, bool visible,
    bool buffered)
    : DisplayChannel(&device)
    , state(static_cast<uint8_t>((takesFocus ? kTakesFocus : 0) | kParentShown | (visible ? kShown : kHidden)))
    , bounds(device.GetBounds())
    , notifier(notifier)
    , frame(SmartCast<WindowFrame>(&device))
{
    if (buffered)
        SetBuffered(true);
}

View::View(View* container, bool takesFocus)
    : DisplayChannel(&container->GetDrawingDevice())
    , state(takesFocus ? kTakesFocus : 0)
    , sizing(kSizeTopRow)
    , bounds(container->NextStackRect())
    , notifier(container->notifier)
    , frame(container->frame)
{
}

View::~View() = default;

void View::AddChild(const SmartPtr<View>& child)
{
    if (!child.Valid())
        return;
    children.Append(child);
    if (IsActive())
        child->SetOwnerActive(true);
    if (IsVisible())
        child->SetParentShown(true);
    SetFocusChild(child);
    if (child->IsVisible())
        child->InvalidateView(false);
}

// A view that is not a child of this one is left alone: its bits belong to its own parent.
void View::RemoveChild(const SmartPtr<View>& child)
{
    if (!child.Valid() || !children.Contains(child.Get()))
        return;
    if (child->IsVisible())
        child->InvalidateView(false);
    child->SetFocused(false);
    children.Data()->Remove(child.Get());
    if (IsActive())
        child->SetOwnerActive(false);
    if (IsVisible())
        child->SetParentShown(false);
}

void View::RemoveAllChildren()
{
    if (IsVisible())
        InvalidateView(false);
    SmartList<View> list = children;
    for (uint32_t index = list.NumItems(); index >= 1; --index) {
        SmartPtr<View> child = list.Item(index);
        if (!child.Valid())
            continue;
        child->SetFocused(false);
        if (IsActive())
            child->SetOwnerActive(false);
        if (IsVisible())
            child->SetParentShown(false);
    }
    children.Data()->DeleteAll();
}

SmartPtr<View> View::GetFocusChild() const
{
    uint32_t index = FocusIndex(children);
    return index != 0 ? SmartPtr<View>(children.Item(index)) : SmartPtr<View>();
}

uint32_t View::FocusIndex(const SmartList<View>& list)
{
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        View* child = list.Item(index);
        if (child && child->IsFocused())
            return index;
    }
    return 0;
}

void View::SetFocusChild(const SmartPtr<View>& child)
{
    if (child.Valid() && !child->TakesFocus())
        return;
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        SmartPtr<View> other = children.Item(index);
        if (other.Valid() && other != child)
            other->SetFocused(false);
    }
    if (child.Valid() && children.Contains(child.Get()))
        child->SetFocused(true);
}

SmartPtr<View> View::ChildAt(int32_t h, int32_t v, bool focus)
{
    for (uint32_t index = children.NumItems(); index >= 1; --index) {
        SmartPtr<View> child = children.Item(index);
        if (!child.Valid() || !child->IsVisible() || !child->ContainsPoint(h, v))
            continue;
        if (focus && child->TakesFocus())
            SetFocusChild(child);
        return child;
    }
    return nullptr;
}

void View::Show(bool visible)
{
    if (IsHidden() == !visible)
        return;
    state = static_cast<uint8_t>(visible ? state & ~kHidden : state | kHidden);
    SetShown((state & kParentShown) != 0 && visible);
    if (state & kParentShown)
        InvalidateView(false);
}

void View::SetParentShown(bool parentShown)
{
    if (((state & kParentShown) != 0) == parentShown)
        return;
    state = static_cast<uint8_t>(parentShown ? state | kParentShown : state & ~kParentShown);
    SetShown(parentShown && !IsHidden());
}

void View::SetShown(bool shown)
{
    if (IsVisible() == shown)
        return;
    if (!shown)
        SetActive(false);
    state = static_cast<uint8_t>(shown ? state | kShown : state & ~kShown);
    SmartList<View> list = children;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            child->SetParentShown(shown);
    }
    if (shown)
        SetActive((state & kOwnerActive) != 0 && (IsFocused() || !TakesFocus()));
}

void View::SetFocused(bool focused)
{
    if (!TakesFocus() || IsFocused() == focused)
        return;
    state = static_cast<uint8_t>(focused ? state | kFocused : state & ~kFocused);
    SetActive(IsVisible() && (state & kOwnerActive) != 0 && focused);
}

void View::SetOwnerActive(bool ownerActive)
{
    if (((state & kOwnerActive) != 0) == ownerActive)
        return;
    state = static_cast<uint8_t>(ownerActive ? state | kOwnerActive : state & ~kOwnerActive);
    SetActive(IsVisible() && ownerActive && (IsFocused() || !TakesFocus()));
}

void View::SetActive(bool active)
{
    if (IsActive() == active)
        return;
    SmartList<View> list = children;
    if (active) {
        state |= kActive;
        ActiveChanged(true);
        for (uint32_t index = 1; index <= list.NumItems(); ++index) {
            if (View* child = list.Item(index))
                child->SetOwnerActive(true);
        }
        return;
    }
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            child->SetOwnerActive(false);
    }
    state = static_cast<uint8_t>(state & ~kActive);
    ActiveChanged(false);
}

void View::ActiveChanged(bool)
{
}

void View::RefocusSelf()
{
    if (!IsFocused())
        return;
    SetFocused(false);
    SetFocused(true);
}

bool View::ContainsPoint(int32_t h, int32_t v) const
{
    return bounds.left <= h && h <= bounds.right && bounds.top <= v && v <= bounds.bottom;
}

bool View::IntersectsRect(int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    return bounds.Intersects(Rect(left, top, right, bottom));
}

bool View::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    SmartPtr<View> child = ChildAt(h, v, true);
    return child.Valid() && child->MouseDown(h, v, modifiers, clicks, window);
}

bool View::KeyDown(uint8_t key, int32_t value)
{
    SmartPtr<View> child = GetFocusChild();
    return child.Valid() && child->KeyDown(key, value);
}

bool View::MouseMove(int32_t h, int32_t v, BitFlags modifiers)
{
    SmartPtr<View> child = ChildAt(h, v, false);
    return child.Valid() && child->MouseMove(h, v, modifiers);
}

void View::Idle()
{
    SmartPtr<View> child = GetFocusChild();
    if (child.Valid())
        child->Idle();
}

void View::Copy(SmartPtr<Smart>&)
{
}

void View::Paste(const SmartPtr<Smart>&, int32_t, int32_t, int32_t)
{
}

void View::Clear()
{
}

bool View::CanClip(int32_t)
{
    return false;
}

SmartPtr<WindowFrame> View::GetFrame() const
{
    CheckSmartData(frame.Get());
    return frame;
}

Point View::ConvertPoint(const SmartPtr<View>&, int32_t h, int32_t v)
{
    return Point(h, v);
}

Rect View::NextStackRect() const
{
    auto n = static_cast<int32_t>(children.NumItems());
    return Rect(bounds.left + 4, 20 * n + 4, bounds.right - 4, 20 * n + 20);
}

void View::SetIdle(int32_t mode, uint32_t period)
{
    idle = nullptr;
    if (mode != 0)
        idle = new IdleChore(this, mode, period);
}

void View::NotifyChanged()
{
    notifier->WindowChanged(nullptr);
}

void View::NotifyTask(const SmartPtr<Task>& task)
{
    notifier->TaskDone(task);
}

void View::NotifyWindowOpened(const SmartPtr<Window>& window)
{
    notifier->WindowOpened(window);
}

void View::NotifyCommand(const SmartPtr<GenericSignal>& signal)
{
    notifier->WindowCommand(signal);
}
