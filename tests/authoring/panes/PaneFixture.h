// A page of ten 200 x 150 frames edited in a real CHAPane that fills a page window keeping its undo
// step, with gestures injected as mouse input through the platform, and the application taking
// numbered commands.
#pragma once

#include "authoring/panes/CHAPane.h"
#include "authoring/tools/CTool.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/WindowOwner.h"

#include "authoring/AuthoringFixture.h"

#include <string>
#include <vector>

namespace authoring {

// An application that records the numbered commands it is sent.
class CommandApp : public uitest::TestApp, public NumberCommandHandler {
    PW_CLASS_INFO(CommandApp)

public:
    void DoCommand(int32_t number, int32_t) override { commands.push_back(number); }
    std::vector<int32_t> commands;
};

// A window that keeps finished tasks as its undo step, as page windows do, and counts the change
// notices of its views.
class UndoWindow : public Window, public WindowOwner {
public:
    UndoWindow()
        : Window(new String("page"), 0, false, false, Point(200, 150))
    {
        AddOwner(this);
    }
    ~UndoWindow() override { RemoveOwner(this); }
    void WindowChanged(void*) override { ++changes; }
    void TaskDone(const SmartPtr<Task>& task) override { SetUndoTask(task); }
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }
    int changes { 0 };
};

// Counts the selection notices.
class SelectionCounter : public pw::authoring::SelectionClient {
public:
    void SelectionChanged(CHAPane*) override { ++count; }
    int count { 0 };
};

inline std::string Text(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom);
}

inline std::string Text(Point p)
{
    return std::to_string(p.h) + "," + std::to_string(p.v);
}

class PaneTest : public AuthoringTest {
protected:
    static constexpr int16_t kFrames = 10;

    App* MakeApp() override { return new CommandApp; }

    void SetUp() override
    {
        AuthoringTest::SetUp();
        pw::authoring::gOverviewShown = 0;
        group = new CMovieGroup(Rect(0, 0, 200, 150));
        group->InsertFrames(1, kFrames - 1, true, true);
        show = new CShow(group.Get());
        page = new UndoWindow;
        pane = new CHAPane(page.Get(), show->GetPlayer(), false);
        page->AddChild(pane.Get());
        app->AddWindow(SmartPtr<Window>(page.Get()), true);
        page->Show(true);
        page->SetFocusChild(pane.Get());
        driver::RunUntilIdle();
        UseTool(3);
        Commands().clear();
    }

    void TearDown() override
    {
        pw::authoring::gOverviewShown = 0;
        page->RemoveAllChildren();
        pane = nullptr;
        show->Close();
        AuthoringTest::TearDown();
    }

    std::vector<int32_t>& Commands() { return static_cast<CommandApp*>(app)->commands; }

    // A sprite of one standard colour over frames first .. first + count - 1, at `place` in each;
    // never merged into another sprite.
    CSprite* AddSprite(const Rect& place, int16_t first, int16_t count, int color = 7)
    {
        Point size = place.Size();
        return AddPicture(place, first, count, size, Rect(0, 0, size.h, size.v), color);
    }

    // As AddSprite, of a picture of `size` that is white, and so lets the page show through, but
    // for `ink` (picture coordinates) in the colour; `place` scales it as it differs from `size`.
    CSprite* AddPicture(const Rect& place, int16_t first, int16_t count, Point size, const Rect& ink, int color = 7)
    {
        SmartPtr<OffScreen> cel = new OffScreen(size.h, size.v, 8, Color(0), true);
        {
            DisplayPort port(*cel.Get(), cel->GetBounds(), 0);
            port.DrawRectangle(ink, Color(color), Color(color), 1);
        }
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(cel->GetBitMap().Get()), true);
        SmartPtr<CSprite> made = new CSprite(first, new CMoviePic(resource, true), place);
        made->SetNumFrames(count);
        made->SetName(new String(std::to_string(group->NumSprites()).c_str()));
        CSprite* sprite = group->GetSprite(group->AddSprite(made, true));
        for (int16_t f = first; f < first + count; ++f)
            sprite->PlaceAtFrame(f, &place, nullptr);
        return sprite;
    }

    SmartPtr<CTool> UseTool(int32_t number, bool altMode = false)
    {
        SmartPtr<CTool> tool = new CTool(number, nullptr, false, nullptr);
        tool->SetAltMode(altMode);
        app->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
        return tool;
    }

    Rect At(CSprite* sprite, int16_t frame)
    {
        Rect r(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &r, nullptr);
        return r;
    }

    Point ReferenceAt(CSprite* sprite, int16_t frame)
    {
        Point p;
        sprite->GetFrameBounds(frame, nullptr, &p);
        return p;
    }

    // The sprite's rectangle in each frame, "-" where it does not show.
    std::string Path(CSprite* sprite)
    {
        std::string text;
        for (int16_t f = 0; f < group->NumFrames(); ++f) {
            Rect r = At(sprite, f);
            text += (r.IsEmpty() ? std::string("-") : Text(r)) + " ";
        }
        return text;
    }

    POINT Screen(int32_t h, int32_t v)
    {
        Point origin = page->GetContentOrigin();
        return POINT { origin.h + h, origin.v + v };
    }
    void Press(int32_t h, int32_t v)
    {
        POINT p = Screen(h, v);
        driver::PressMouse(p.x, p.y);
        driver::RunUntilIdle();
    }
    void Move(int32_t h, int32_t v)
    {
        POINT p = Screen(h, v);
        driver::MoveMouse(p.x, p.y);
        driver::RunUntilIdle();
    }
    void Release(int32_t h, int32_t v)
    {
        POINT p = Screen(h, v);
        driver::ReleaseMouse(p.x, p.y);
        driver::RunUntilIdle();
    }
    void Drag(Point from, Point to)
    {
        Press(from.h, from.v);
        Move(to.h, to.v);
        Release(to.h, to.v);
    }

    SmartPtr<CMovieGroup> group;
    SmartPtr<CShow> show;
    SmartPtr<UndoWindow> page;
    SmartPtr<CHAPane> pane;
};

} // namespace authoring
