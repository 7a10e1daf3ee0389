// Driving an application dialog's modal run from a test: each time the dialog waits for the user,
// the test looks at it and the next step gives it input (keys, clicks), as a user would.
#pragma once

#include "ui/App.h"
#include "ui/Dialog.h"

#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialogtest {

inline std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Clicks the middle of a window (a button, a field).
inline void ClickIn(HWND window)
{
    RECT client {};
    GetClientRect(window, &client);
    POINT point { client.right / 2, client.bottom / 2 };
    ClientToScreen(window, &point);
    pw::platform::testing::Click(point.x, point.y);
}

// The newest dialog of class D the application holds, while it is open.
template <class D>
D* OpenDialog(App& app)
{
    for (uint32_t index = app.NumWindows(); index >= 1; --index)
        if (auto* dialog = dynamic_cast<D*>(app.GetWindow(index).Get()))
            return dialog->IsClosed() ? nullptr : dialog;
    return nullptr;
}

// Calls `run`, which opens a dialog of class D and waits for it to end; each time the dialog waits
// for the user, `look` reads it into `seen` and the next step acts on what was seen. The test
// fails when the dialog ends before the last step.
template <class D, class Seen>
void Drive(App& app, const std::function<void()>& run, const std::function<Seen(D&)>& look,
    const std::vector<std::function<void(const Seen&)>>& steps, Seen& seen)
{
    size_t next = 0;
    pw::platform::testing::SetIdleHandler([&] {
        D* dialog = OpenDialog<D>(app);
        if (!dialog || next == steps.size())
            return false;
        seen = look(*dialog);
        steps[next++](seen);
        return true;
    });
    run();
    pw::platform::testing::SetIdleHandler(nullptr);
    EXPECT_EQ(next, steps.size()) << "the dialog ended before the user was done";
}

} // namespace dialogtest
