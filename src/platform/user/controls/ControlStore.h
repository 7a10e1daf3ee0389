#pragma once

#include "platform/testing/Reset.h"

#include <windows.h>

#include <map>
#include <memory>

namespace pw::platform::user {

// The state of every live control of one class, by window handle. Dispatch adds a control's state
// when it is created (WM_NCCREATE) and removes it on WM_NCDESTROY; the test reset empties the
// store, since it drops windows without their destruction messages. Dispatch holds the state's
// shared pointer while the handler runs, so the state outlives a destruction that a message the
// handler sends brings about; the handler checks IsWindow before going on after such a call.
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

    // The body of a control's window procedure: `handle(hwnd, state, message, wParam, lParam)`
    // gets every message of a window with state; others go to DefWindowProcA.
    template <typename Handler>
    LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Handler handle)
    {
        if (message == WM_NCCREATE)
            Add(hwnd);
        std::shared_ptr<State> state = Find(hwnd);
        if (message == WM_NCDESTROY)
            Remove(hwnd);
        if (!state)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return handle(hwnd, *state, message, wParam, lParam);
    }

private:
    std::map<HWND, std::shared_ptr<State>> states;
};

} // namespace pw::platform::user
