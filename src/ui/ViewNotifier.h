#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/TypedArray.h"
#include "ui/WindowOwner.h"

namespace pw::ui {

class ViewNotifierClient;

} // namespace pw::ui

// The relay through which the views of one window reach the window's owners: each WindowOwner
// report is passed on to every registered owner, first to last. One per window, made by the
// window and shared by all its views. It also keeps a list of clients (overviews, palettes) to
// which the window broadcasts refreshes. Owners and clients are borrowed: each removes itself.
class ViewNotifier : public WindowOwner, public SmartImplementation {
    PW_CLASS_INFO(ViewNotifier)
    PW_COPY_SLOTS

public:
    ViewNotifier() = default;
    ~ViewNotifier() override;
    ViewNotifier(const ViewNotifier&) = delete;
    ViewNotifier& operator=(const ViewNotifier&) = delete;

    void WindowChanged(void* data) override;
    void TaskDone(const SmartPtr<Task>& task) override;
    void WindowOpened(const SmartPtr<Window>& window) override;
    // Walks the owners as they were at the call: an owner that removes itself (or others) while
    // told does not make anyone be skipped or told twice.
    void WindowClosed(const SmartPtr<Window>& window) override;
    void WindowCommand(const SmartPtr<GenericSignal>& signal) override;

    void AddOwner(WindowOwner* owner);
    // Removes the first entry equal to `owner`; nothing when absent.
    void RemoveOwner(WindowOwner* owner);
    void AddClient(pw::ui::ViewNotifierClient* client);
    void RemoveClient(pw::ui::ViewNotifierClient* client);
    // Every client's Refresh with `value` (the application passes its owner), first to last.
    void BroadcastClients(void* value);

    uint32_t NumOwners() const { return owners.NumItems(); }
    uint32_t NumClients() const { return clients.NumItems(); }

private:
    TypedArray<WindowOwner*> owners;
    TypedArray<pw::ui::ViewNotifierClient*> clients;
};

namespace pw::ui {

// What a window's refresh broadcast reaches: views and palettes that follow the application's
// state register themselves with the window's notifier.
class ViewNotifierClient {
public:
    virtual ~ViewNotifierClient() = default;

    virtual void Refresh(void* value) = 0;
};

} // namespace pw::ui
