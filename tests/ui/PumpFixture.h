// Shared ground for the dialog and pump tests: the framework's main window and a running
// application (the pump ends when none runs), raw windows that record the messages dispatched to
// them, and a window whose every message posts the next one a little later (a steady stream).
#pragma once

#include "platform/testing/TestDriver.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pump {

class RunningApp : public App {
public:
    RunningApp()
        : App(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374), SmartPtr<TypeIndex>())
    {
    }
    void NewDocument() override { }
};

// WM_USER to a streaming window moves the clock on and posts the next one.
constexpr UINT kStreamMessage = WM_USER + 7;
constexpr uint64_t kStreamStepMs = 40;

inline LRESULT CALLBACK RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kStreamMessage && message != WM_LBUTTONDOWN && message != WM_USER)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    char name[32] = "";
    GetWindowTextA(hwnd, name, sizeof name);
    if (message == kStreamMessage) {
        views::Log().push_back(std::string(name) + ":stream");
        pw::platform::testing::AdvanceClock(kStreamStepMs);
        PostMessageA(hwnd, kStreamMessage, 0, 0);
        return 0;
    }
    views::Log().push_back(std::string(name) + (message == WM_USER ? ":user" : ":press"));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class PumpTest : public views::ViewTest {
protected:
    void SetUp() override
    {
        views::ViewTest::SetUp();
        mainWindow = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        AppGlue::Application() = new RunningApp;
        WNDCLASSA recorder {};
        recorder.lpfnWndProc = RecorderProc;
        recorder.lpszClassName = "PumpRecorder";
        RegisterClassA(&recorder);
    }

    // A recording window named `name`: a child of `parent`, else of the main window.
    HWND Recorder(const char* name, HWND parent = nullptr)
    {
        return CreateWindowExA(0, "PumpRecorder", name, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
            parent ? parent : mainWindow, nullptr, nullptr, nullptr);
    }

    HWND mainWindow { nullptr };
};

} // namespace pump
