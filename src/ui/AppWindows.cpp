// The application's window list: adding and removing windows, the front window, activation with
// its floating and blocking layers, the focus chain that finds a command's receiver, closing.
#include "ui/App.h"

#include "foundation/GenericSignal.h"
#include "ui/View.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

namespace {

int32_t LayerOf(const SmartPtr<Window>& window)
{
    return window.Valid() ? window->GetFrame()->GetLayerKind() : WindowFrame::kNormalLayer;
}

} // namespace

SmartPtr<Window> App::GetWindow(uint32_t index) const
{
    return windows.Item(index);
}

void App::AddWindow(const SmartPtr<Window>& window, bool activate)
{
    if (!window.Valid())
        return;
    // A window handed over twice stays one entry with one owner.
    if (!windows.Contains(window.Get())) {
        windows.Append(window);
        window->AddOwner(this);
        if (IsActive())
            window->SetOwnerActive(true);
    }
    if (activate)
        ActivateWindow(window);
}

void App::RemoveWindow(const SmartPtr<Window>& window)
{
    if (!window.Valid())
        return;
    if (FrontWindow() == window)
        FocusOnly(Window::NextWindow(window.Get(), true));
    uint32_t index = windows.IndexOf(window.Get());
    if (index == 0)
        return;
    window->Show(false);
    window->RemoveOwner(this);
    windows.Data()->DeleteItems(index, 1);
    if (IsActive())
        window->SetOwnerActive(false);
}

void App::RemoveAllWindows()
{
    // A window may take others with it as it goes: the index is kept inside the list.
    for (uint32_t i = windows.NumItems(); i >= 1; --i) {
        if (i <= windows.NumItems())
            RemoveWindow(SmartPtr<Window>(windows.Item(i)));
    }
}

SmartPtr<Window> App::FrontWindow()
{
    for (uint32_t i = 1; i <= windows.NumItems(); ++i) {
        Window* window = windows.Item(i);
        if (window && window->IsFocused())
            return window;
    }
    return SmartPtr<Window>();
}

// The focus chain starts at the front window, so the current view lies in it whenever there is one.
SmartPtr<Window> App::FindWindowForView()
{
    return FrontWindow();
}

SmartPtr<View> App::FocusView(GenericSignal* signal)
{
    SmartPtr<View> found;
    SmartPtr<View> current(FrontWindow().Get());
    while (current.Valid()) {
        if (!signal || signal->GetSignalStatus(current.Get()) != GenericSignal::disabled)
            found = current;
        current = current->GetFocusChild();
    }
    return found;
}

bool App::ActivateWindow(const SmartPtr<Window>& window)
{
    if (!window.Valid())
        return false;
    bool wasVisible = window->IsVisible();
    window->Show(true);
    SmartPtr<Window> front = FrontWindow();
    bool blockedByFront = LayerOf(front) == WindowFrame::kBlockingLayer && front != window;
    if (LayerOf(window) != WindowFrame::kFloatingLayer && !blockedByFront)
        FocusOnly(window);
    // Whatever was shown, a blocking window in front stays above it.
    if (blockedByFront)
        front->GetFrame()->BringToFront();
    return !(wasVisible && window->IsVisible());
}

void App::CloseWindow(const SmartPtr<Window>& window, int32_t mode)
{
    SmartPtr<Window> target = window;
    if (!target.Valid()) {
        if (windows.NumItems() == 0)
            AssertionFailed("viewPtr", PW_HERE);
        target = FrontWindow();
        if (!target.Valid())
            return;
    }
    if (target->CanClose(mode))
        target->Close();
}

void App::SetActive(bool active)
{
    if (IsActive() == active)
        return;
    state = active ? uint8_t(state | kActive) : uint8_t(state & ~kActive);
    if (appClip.Valid())
        appClip->AppActivated(active);
    for (uint32_t i = 1; i <= windows.NumItems(); ++i) {
        if (Window* window = windows.Item(i))
            window->SetOwnerActive(active);
    }
}

void App::ForEachWindowReverse()
{
    for (uint32_t i = windows.NumItems(); i >= 1; --i) {
        if (i > windows.NumItems())
            continue;
        if (Window* window = windows.Item(i))
            window->Refresh(static_cast<WindowOwner*>(this));
    }
}

void App::FocusOnly(const SmartPtr<Window>& window)
{
    for (uint32_t i = 1; i <= windows.NumItems(); ++i) {
        if (Window* each = windows.Item(i))
            each->SetFocused(each == window.Get());
    }
    bool blocked = LayerOf(window) == WindowFrame::kBlockingLayer;
    state = blocked ? uint8_t(state | kBlocked) : uint8_t(state & ~kBlocked);
    if (!window.Valid())
        return;
    window->GetFrame()->TakeKeyboard();
    window->ShowUndoTitle();
}
