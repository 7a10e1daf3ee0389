#pragma once

#include "platform/testing/Reset.h"

#include <windows.h>

#include <map>
#include <memory>

namespace pw::platform::user {

// The state of every live control of one class, by window handle. A control adds its state when
// it is created (WM_NCCREATE) and removes it on WM_NCDESTROY; the test reset empties the store,
// since it drops windows without their destruction messages. A handler holds the state's
// shared pointer while it runs, so the state outlives a destruction that a message it sends
// brings about; it checks IsWindow before going on after such a call.
template <typename State>
class ControlStore {
public:
    ControlStore()
    {
        testing::RegisterReset([this] { states.clear(); });
    }

    std::shared_ptr<State> Find(HWND hwnd) const
    {
        auto it = states.find(hwnd);
        return it == states.end() ? nullptr : it->second;
    }

    std::shared_ptr<State> Add(HWND hwnd)
    {
        auto& slot = states[hwnd];
        slot = std::make_shared<State>();
        return slot;
    }

    void Remove(HWND hwnd) { states.erase(hwnd); }

private:
    std::map<HWND, std::shared_ptr<State>> states;
};

} // namespace pw::platform::user
