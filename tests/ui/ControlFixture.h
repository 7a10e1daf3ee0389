// Shared ground for the tests of native controls and the views over them: a shown window on the
// main window (in the standard palette), a controllable that records what it is asked and given,
// an owner that counts the window's change reports, and clicks at a control's client points.
#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/DisplayPort.h"
#include "ui/AppMain.h"
#include "ui/Controllable.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"
#include "ui/WindowOwner.h"

#include "platform/testing/TestDriver.h"

#include "FrameworkFixture.h"
#include "ViewFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace controls {

// Ranges, page sizes and values by axis or tag; every value given is kept.
class Target : public Controllable, public SmartImplementation {
public:
    const ClassInfo* GetClassInfo() const override { return SmartImplementation::GetClassInfo(); }
    void* CastTo(const ClassInfo* info) override
    {
        void* cast = Controllable::CastTo(info);
        return cast ? cast : SmartImplementation::CastTo(info);
    }

    void GetRange(int32_t axis, int32_t* first, int32_t* second) override
    {
        *first = minimum[axis];
        *second = maximum.count(axis) ? maximum[axis] : 100;
    }
    int32_t GetPageSize(int32_t axis) override { return pages.count(axis) ? pages[axis] : 10; }
    void TakeValue(int32_t value) override { taken.push_back(value); }
    int32_t GetValueFor(int32_t tag) override
    {
        ++questions;
        return values[tag];
    }

    std::map<int32_t, int32_t> minimum;
    std::map<int32_t, int32_t> maximum;
    std::map<int32_t, int32_t> pages;
    std::map<int32_t, int32_t> values;
    std::vector<int32_t> taken;
    int questions { 0 };
};

class Owner : public WindowOwner {
public:
    void WindowChanged(void*) override { ++changes; }
    void TaskDone(const SmartPtr<Task>&) override { }
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }

    int changes { 0 };
};

// A shown 240 by 200 window at (20, 20) of the shown main window.
class OnScreen : public views::ViewTest {
protected:
    void SetUp() override
    {
        views::ViewTest::SetUp();
        main = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(main, nullptr);
        ShowWindow(main, SW_SHOWMAXIMIZED);
        window = new Window(new String("controls"), 0, false, false, Point(240, 200));
        window->AddOwner(&owner);
        window->SetFrame(Rect(20, 20, 300, 300));
        window->Show(true);
        pw::platform::testing::RunUntilIdle();
    }

    void TearDown() override
    {
        window->RemoveOwner(&owner);
        window->RemoveAllChildren();
        window->Close();
        window = nullptr;
    }

    // A point of a native window's client area on the desktop.
    static POINT OnDesktop(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        return point;
    }

    static void ClickAt(HWND hwnd, int x, int y)
    {
        POINT point = OnDesktop(hwnd, x, y);
        pw::platform::testing::Click(point.x, point.y);
        pw::platform::testing::RunUntilIdle();
    }

    HWND main { nullptr };
    SmartPtr<Window> window;
    Owner owner;
};

// The application, its main window (the alerts' owner) and a front window at (10, 10) of 320 by
// 240, for views whose native controls take presses and keys through the application.
class WithApplication : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
        pw::foundation::ForgetStartupFolder();
        std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
        std::filesystem::create_directories(data);
        std::vector<uint8_t> palette = bitmaps::PaletteFile();
        std::ofstream(data / "standard.pal", std::ios::binary)
            .write(reinterpret_cast<const char*>(palette.data()), static_cast<std::streamsize>(palette.size()));
        uitest::FrameworkTest::SetUp();
        window = Open("views");
        window->SetFrame(Rect(10, 10, 330, 250));
        pw::platform::testing::RunUntilIdle();
    }

    void TearDown() override
    {
        window->RemoveAllChildren();
        window = nullptr;
        uitest::FrameworkTest::TearDown();
        pw::foundation::ForgetStartupFolder();
    }

    // Clicks a point of a native window's client area.
    static void ClickOn(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        pw::platform::testing::Click(point.x, point.y);
        pw::platform::testing::RunUntilIdle();
    }

    SmartPtr<uitest::TestWindow> window;
};

} // namespace controls
