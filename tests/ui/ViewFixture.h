// Shared ground for the view tests: a root view over an off-screen device in the standard
// palette (the graphics tests' known "standard.pal"), views that record what reaches them, and a
// check of the state invariants over a whole tree.
#pragma once

#include "graphics/OffScreen.h"
#include "graphics/PortFixture.h"
#include "graphics/SolidPaint.h"
#include "ui/View.h"
#include "ui/ViewNotifier.h"
#include "ui/ViewPort.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace views {

// What the recording views saw, in order, as "name:event".
inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

// A view that names itself in the log when input, ticks or activation reach it, and paints its
// bounds in one colour.
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
        if (View::MouseDown(h, v, modifiers, clicks, window))
            return true;
        Log().push_back(name + ":press");
        return true;
    }
    bool MouseMove(int32_t h, int32_t v, BitFlags modifiers) override
    {
        if (View::MouseMove(h, v, modifiers))
            return true;
        Log().push_back(name + ":move");
        return true;
    }
    bool KeyDown(uint8_t key, int32_t value) override
    {
        if (View::KeyDown(key, value))
            return true;
        Log().push_back(name + ":key " + std::to_string(key));
        return takesKeys;
    }
    void Idle() override { Log().push_back(name + ":idle"); }
    void ActiveChanged(bool active) override { Log().push_back(name + (active ? ":on" : ":off")); }
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override
    {
        if (logBounds)
            Log().push_back(name + ":adjust");
        View::AdjustBounds(dl, dt, dr, db);
    }
    Rect GetOwnLimits() override { return ownLimits; }
    void DrawContent(DisplayPort& port, Area& area) override
    {
        View::DrawContent(port, area);
        if (paint.extra == 0)
            port.DrawRectangle(GetBounds(), paint, paint, 1);
    }

    std::string name;
    bool takesKeys { true };
    bool logBounds { false };
    Rect ownLimits { 0, 0, 0, 0 };
    Color paint { Color(Color::kNoColor) };
};

// A root view over an off-screen device of `width` by `height`, shown, not taking focus.
struct Tree {
    Tree(int32_t width, int32_t height, bool buffered = false)
        : device(new OffScreen(width, height, 8, Color(0), true))
        , notifier(new ViewNotifier)
        , root(new View(*device.Get(), notifier, false, true, buffered))
    {
        device->Validate();
    }

    // A probe added to `parent` (the root by default).
    Probe* Add(const std::string& name, const Rect& bounds, uint8_t sizing = View::kSizeTopLeft,
        bool takesFocus = true, View* parent = nullptr)
    {
        View* container = parent ? parent : root.Get();
        SmartPtr<View> probe = new Probe(container, name, bounds, sizing, takesFocus);
        container->AddChild(probe);
        return static_cast<Probe*>(probe.Get());
    }

    SmartPtr<OffScreen> device;
    SmartPtr<ViewNotifier> notifier;
    SmartPtr<View> root;
};

// Fails the test where a view breaks the state rules: shown is parent shown and not hidden,
// active is shown, owner active and (focused or not taking focus), at most one focused child.
inline void ExpectConsistent(View& view, const std::string& path = "root")
{
    uint8_t state = view.GetState();
    bool shown = (state & View::kParentShown) && !(state & View::kHidden);
    EXPECT_EQ(view.IsVisible(), shown) << path;
    bool active = shown && (state & View::kOwnerActive) && ((state & View::kFocused) || !view.TakesFocus());
    EXPECT_EQ(view.IsActive(), active) << path;
    SmartList<View> children = view.GetChildren();
    int focused = 0;
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        focused += child->IsFocused() ? 1 : 0;
        ExpectConsistent(*child, path + "/" + std::to_string(index));
    }
    EXPECT_LE(focused, 1) << path;
}

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

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallStandardPalette();
        Log().clear();
    }
};

} // namespace views
