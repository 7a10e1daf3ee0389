// Shared ground for the view tests: views that log what reaches them and paint their bounds, a
// root view over an off-screen device in the standard palette (the graphics tests' known
// "standard.pal"), and a check of the state rules over a whole tree.
#pragma once

#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PortFixture.h"
#include "ui/View.h"
#include "ui/ViewNotifier.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace views {

// What the probes saw, in order, as "name:event".
inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

// Logs input, ticks and activation that reach it and paints its bounds in `paint` (none: nothing).
class Probe : public View {
public:
    Probe(View* parent, const std::string& name, const Rect& bounds, uint8_t sizing = kSizeTopLeft,
        bool takesFocus = true)
        : View(parent, bounds, sizing, takesFocus, false)
        , name(name)
    {
    }

    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override
    {
        return View::MouseDown(h, v, modifiers, clicks, window) || Note("press");
    }
    bool MouseMove(int32_t h, int32_t v, BitFlags modifiers) override
    {
        return View::MouseMove(h, v, modifiers) || Note("move");
    }
    bool KeyDown(uint8_t key, int32_t value) override
    {
        return View::KeyDown(key, value) || (Note("key " + std::to_string(key)) && takesKeys);
    }
    void Idle() override { Note("idle"); }
    void ActiveChanged(bool active) override { Note(active ? "on" : "off"); }
    Rect GetOwnLimits() override { return ownLimits; }
    void DrawContent(DisplayPort& port, Area&) override
    {
        if (paint.extra == 0)
            port.DrawRectangle(GetBounds(), paint, paint, 1);
    }

    bool Note(const std::string& event)
    {
        Log().push_back(name + ":" + event);
        return true;
    }

    std::string name;
    bool takesKeys { true };
    Rect ownLimits { 0, 0, 0, 0 };
    Color paint { Color(Color::kNoColor) };
};

// The start-up folder "c:\\plume" with the graphics tests' known "Data\\standard.pal".
inline void InstallStandardPalette()
{
    ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
    pw::foundation::ForgetStartupFolder();
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::vector<uint8_t> bytes = bitmaps::PaletteFile();
    std::ofstream(data / "standard.pal", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A shown root view over a white off-screen device, taking no focus.
struct Tree {
    Tree(int32_t width, int32_t height)
        : device(new OffScreen(width, height, 8, Color(0), true))
        , notifier(new ViewNotifier)
        , root(new View(*device.Get(), notifier, false, true, false))
    {
    }

    Probe* Add(const std::string& name, const Rect& bounds, View* parent = nullptr, uint8_t sizing = View::kSizeTopLeft,
        bool takesFocus = true)
    {
        View* container = parent ? parent : root.Get();
        SmartPtr<View> probe = new Probe(container, name, bounds, sizing, takesFocus);
        container->AddChild(probe);
        return static_cast<Probe*>(probe.Get());
    }

    // Marks the whole surface and redraws it.
    std::string Redrawn()
    {
        root->InvalidateView(false);
        root->Update(*device.Get());
        return ports::Art(*device.Get());
    }

    SmartPtr<OffScreen> device;
    SmartPtr<ViewNotifier> notifier;
    SmartPtr<View> root;
};

// Shown is parent shown and not hidden; active is shown, owner active and (focused or not taking
// focus); at most one child is focused.
inline void ExpectConsistent(View& view)
{
    uint8_t state = view.GetState();
    bool shown = (state & View::kParentShown) && !(state & View::kHidden);
    EXPECT_EQ(view.IsVisible(), shown);
    EXPECT_EQ(view.IsActive(), shown && (state & View::kOwnerActive) && (view.IsFocused() || !view.TakesFocus()));
    SmartList<View> children = view.GetChildren();
    int focused = 0;
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        focused += children.Item(index)->IsFocused() ? 1 : 0;
        ExpectConsistent(*children.Item(index));
    }
    EXPECT_LE(focused, 1);
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallStandardPalette();
        Log().clear();
    }
};

} // namespace views
