// What the framework tests share: an application whose answers a test sets, windows that record
// the close questions, views that record what reaches them, a signal whose status each watcher is
// given, and a fixture that stands up the main window and the application as start-up does.
#pragma once

#include "foundation/Alert.h"
#include "foundation/GenericSignal.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"
#include "ui/OsApp.h"
#include "ui/Task.h"
#include "ui/View.h"
#include "ui/Window.h"

#include "graphics/BitMapFixture.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace uitest {

// Who was asked or told what, in order, across all test objects of one test.
inline std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}

class TestApp : public App {
public:
    explicit TestApp(const SmartPtr<MenuBar>& menus = SmartPtr<MenuBar>())
        : App(menus, FileCreatorType("Test", 0x54657374), SmartPtr<TypeIndex>())
    {
    }

    void NewDocument() override
    {
        Journal().push_back("NewDocument");
        if (onNewDocument)
            onNewDocument(*this);
    }
    void DoAbout() override { Journal().push_back("About"); }

    std::function<void(TestApp&)> onNewDocument;
};

// The factory's answer for the next start-up: made by `makeApp` (none when it is empty).
inline std::function<App*()>& NextApp()
{
    static std::function<App*()> make;
    return make;
}

inline App* MakeConfiguredApp()
{
    return NextApp() ? NextApp()() : nullptr;
}

class TestWindow : public Window {
public:
    TestWindow(const char* name, int32_t kind = 0, bool mayClose = true)
        : Window(new String(name), kind, false, false, Point(200, 150))
        , name(name)
        , mayClose(mayClose)
    {
    }

    bool CanClose(int32_t mode) override
    {
        Journal().push_back(name + " asked " + std::to_string(mode));
        return mayClose;
    }

    std::string name;
    bool mayClose;
};

// A view that takes focus (unless told otherwise) and records input and clipboard work.
class TestView : public View {
public:
    TestView(View* parent, const Rect& bounds, const char* name, bool takesFocus = true)
        : View(parent, bounds, kSizeTopLeft, takesFocus, true)
        , name(name)
    {
    }

    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override
    {
        Journal().push_back(name + " press " + std::to_string(h) + "," + std::to_string(v) + " x"
            + std::to_string(clicks));
        return View::MouseDown(h, v, modifiers, clicks, window);
    }
    bool KeyDown(uint8_t key, int32_t value) override
    {
        if (!takesKeys)
            return View::KeyDown(key, value);
        std::string modifiers = value ? " +" + std::to_string(value) : "";
        Journal().push_back(name + " key " + std::to_string(key) + modifiers);
        return true;
    }
    void Copy(SmartPtr<Smart>& copied) override { copied = selection; }
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t, int32_t) override
    {
        Journal().push_back(name + " paste " + std::to_string(undoingCut));
        selection = object;
    }
    void Clear() override
    {
        Journal().push_back(name + " clear");
        selection = SmartPtr<Smart>();
    }
    bool CanClip(int32_t mode) override { return clipModes & (1u << mode); }

    std::string name;
    bool takesKeys { false };
    uint32_t clipModes { 0x1F };
    SmartPtr<Smart> selection;
};

// A command whose status each watcher is given (3 for any other); sending records the watcher.
class StatusSignal : public GenericSignal {
public:
    int32_t GetSignalStatus(Smart* watcher) override
    {
        auto found = statuses.find(watcher);
        return found == statuses.end() ? disabled : found->second;
    }
    void Send(Smart* watcher) override
    {
        if (GetSignalStatus(watcher) == disabled)
            AssertionFailed("GetSignalStatus(watcher) != disabled", PW_HERE);
        sent.push_back(watcher);
    }

    std::map<Smart*, int32_t> statuses;
    std::vector<Smart*> sent;
};

// A task that records its calls.
class TestTask : public Task, public SmartImplementation {
public:
    explicit TestTask(const char* name)
        : name(name)
    {
    }
    const ClassInfo* GetClassInfo() const override { return SmartImplementation::GetClassInfo(); }
    void* CastTo(const ClassInfo* info) override
    {
        void* cast = Task::CastTo(info);
        return cast ? cast : SmartImplementation::CastTo(info);
    }
    bool CanCopyFrom(Smart*) override { return false; }
    void CopyFrom(Smart*) override { }
    Smart* Copy() const override { return nullptr; }

    void Do() override { Journal().push_back(name + " Do"); }
    void Undo() override { Journal().push_back(name + " Undo"); }
    void Redo() override { Journal().push_back(name + " Redo"); }

    std::string name;
};

// The start-up folder "c:\\plume" with the graphics tests' known "Data\\standard.pal".
inline void InstallPalette()
{
    ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
    pw::foundation::ForgetStartupFolder();
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::vector<uint8_t> bytes = bitmaps::PaletteFile();
    std::ofstream(data / "standard.pal", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The main window and a TestApp made as start-up makes them (alerts on, menus installed), without
// running the framework's loop: tests drive messages with RunUntilIdle.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal().clear();
        InstallPalette();
        Alert::EnableAlerts();
        mainWindow = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        NextApp() = [this] { return MakeApp(); };
        ASSERT_TRUE(AppGlue::InitApplication(&MakeConfiguredApp, &pw::ui::ProgramRecord()));
        app = static_cast<TestApp*>(AppGlue::Application().Get());
    }

    void TearDown() override
    {
        NextApp() = nullptr;
        pw::foundation::SetAlertsEnabled(false);
    }

    // Tests with their own menus or application class make it here.
    virtual App* MakeApp() { return new TestApp; }

    // A window handed to the application and made the front window.
    SmartPtr<TestWindow> Open(const char* name, int32_t kind = 0, bool mayClose = true)
    {
        SmartPtr<TestWindow> window(new TestWindow(name, kind, mayClose));
        app->AddWindow(window.Get(), true);
        return window;
    }

    std::string FrontName()
    {
        SmartPtr<Window> front = app->FrontWindow();
        auto* window = dynamic_cast<TestWindow*>(front.Get());
        return window ? window->name : "none";
    }

    HWND mainWindow { nullptr };
    TestApp* app { nullptr };
};

} // namespace uitest
