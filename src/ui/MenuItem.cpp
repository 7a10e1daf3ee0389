#include "ui/MenuItem.h"

#include "ui/App.h"

PW_DEFINE_CLASS(MenuItem, nullptr, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(MenuItem)

MenuItem::MenuItem(const String& title, uint8_t key, const SmartPtr<GenericSignal>& command)
    : title(title)
    , key(key)
    , command(command)
{
}

MenuItem::MenuItem(const MenuItem& other)
    : SmartImplementation(other)
    , title(other.title)
    , key(other.key)
    , state(other.state)
    , command(other.command)
{
}

MenuItem& MenuItem::operator=(const MenuItem& other)
{
    title = other.title;
    key = other.key;
    state = other.state;
    command = other.command;
    return *this;
}

void MenuItem::GetTitle(String& result, uint8_t& resultKey) const
{
    result = title;
    resultKey = key;
}

void MenuItem::SetTitle(const String& newTitle)
{
    title = newTitle;
}

void MenuItem::Select(intptr_t, App& watcher)
{
    watcher.SendSignal(command.Get());
}

void MenuItem::UpdateState(intptr_t, App& watcher)
{
    int32_t status = watcher.SignalStatus(command.Get());
    state = status == GenericSignal::disabled ? (state | kDisabled) : (state & ~kDisabled);
    state = status == GenericSignal::marked ? (state | kMarked) : (state & ~kMarked);
}
