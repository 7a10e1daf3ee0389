#include "ui/ViewNotifier.h"

#include "foundation/GenericSignal.h"
#include "ui/Task.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(ViewNotifier, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(ViewNotifier)

ViewNotifier::~ViewNotifier() = default;

// Owners are walked by index and checked again at each step, so an owner that removes itself
// while told ends the walk early rather than reading a stale entry.
void ViewNotifier::WindowChanged(void* data)
{
    for (uint32_t index = 1; index <= owners.NumItems(); ++index)
        owners[index]->WindowChanged(data);
}

void ViewNotifier::TaskDone(const SmartPtr<Task>& task)
{
    for (uint32_t index = 1; index <= owners.NumItems(); ++index)
        owners[index]->TaskDone(task);
}

void ViewNotifier::WindowOpened(const SmartPtr<Window>& window)
{
    for (uint32_t index = 1; index <= owners.NumItems(); ++index)
        owners[index]->WindowOpened(window);
}

// A closing window's owners commonly remove themselves as they are told.
void ViewNotifier::WindowClosed(const SmartPtr<Window>& window)
{
    TypedArray<WindowOwner*> copy(owners);
    for (uint32_t index = 1; index <= copy.NumItems(); ++index)
        copy[index]->WindowClosed(window);
}

void ViewNotifier::WindowCommand(const SmartPtr<GenericSignal>& signal)
{
    for (uint32_t index = 1; index <= owners.NumItems(); ++index)
        owners[index]->WindowCommand(signal);
}

void ViewNotifier::AddOwner(WindowOwner* owner)
{
    owners.Append(owner);
}

void ViewNotifier::RemoveOwner(WindowOwner* owner)
{
    uint32_t index = owners.IndexOf(owner);
    if (index != 0)
        owners.DeleteItems(index, 1);
}

void ViewNotifier::AddClient(pw::ui::ViewNotifierClient* client)
{
    clients.Append(client);
}

void ViewNotifier::RemoveClient(pw::ui::ViewNotifierClient* client)
{
    uint32_t index = clients.IndexOf(client);
    if (index != 0)
        clients.DeleteItems(index, 1);
}

void ViewNotifier::BroadcastClients(void* value)
{
    for (uint32_t index = 1; index <= clients.NumItems(); ++index)
        clients[index]->Refresh(value);
}
