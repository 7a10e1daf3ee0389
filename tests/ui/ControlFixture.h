// Shared ground for the tests of views over native controls: the application with its main
// window, a front window in the standard palette whose change reports are counted, clicks at a
// native window's client points, and a controllable that records what it is asked and given.
#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/DisplayPort.h"
#include "ui/Controllable.h"
#include "ui/WindowFrame.h"
#include "ui/WindowOwner.h"

#include "platform/kernel/KernelTesting.h"
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

// Ranges (0 to 100 unless set), page sizes (10 unless set) and values by axis or tag; every value
// given is kept.
class Target : public Controllable, public SmartImplementation {
public:
    const ClassInfo* GetClassInfo() const override { return SmartImplementation::GetClassInfo(); }
    void* CastTo(const ClassInfo* info) override
    {
        void* cast = Controllable::CastTo(info);
        return cast ? cast : SmartImplementation::CastTo(info);
    }

    void GetRange(int32_t, int32_t* first, int32_t* second) override
    {
        *first = 0;
        *second = 100;
    }
    int32_t GetPageSize(int32_t axis) override { return pages.count(axis) ? pages[axis] : 10; }
    void TakeValue(int32_t value) override { taken.push_back(value); }
    int32_t GetValueFor(int32_t tag) override { return values[tag]; }

    std::map<int32_t, int32_t> pages;
    std::map<int32_t, int32_t> values;
    std::vector<int32_t> taken;
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

// The front window is 320 by 240 at (10, 10) of the main window.
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
        window->AddOwner(&owner);
        pw::platform::testing::RunUntilIdle();
    }

    void TearDown() override
    {
        window->RemoveOwner(&owner);
        window->RemoveAllChildren();
        window = nullptr;
        uitest::FrameworkTest::TearDown();
        pw::foundation::ForgetStartupFolder();
    }

    // A client point of a native window on the desktop.
    static POINT OnDesktop(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        return point;
    }

    static void ClickOn(HWND hwnd, int x, int y)
    {
        POINT point = OnDesktop(hwnd, x, y);
        pw::platform::testing::Click(point.x, point.y);
        pw::platform::testing::RunUntilIdle();
    }

    SmartPtr<uitest::TestWindow> window;
    Owner owner;
};

} // namespace controls
