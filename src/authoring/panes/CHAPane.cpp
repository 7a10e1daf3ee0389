#include "authoring/panes/CHAPane.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CPixPane.h"
#include "authoring/panes/MovieEditors.h"
#include "authoring/tasks/CMoveTask.h"
#include "authoring/tools/CTaskTool.h"
#include "authoring/tools/CTool.h"
#include "engine/CHAApp.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/ComposedDrawing.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "ui/AppSignals.h"
#include "ui/ClipTask.h"
#include "ui/Window.h"

#include <algorithm>

PW_DEFINE_CLASS(CHAPane, nullptr, nullptr, CPanePlay)

namespace pw::authoring {

uint8_t gOverviewShown = 0;

} // namespace pw::authoring

namespace {

// The corner box: where the page's colour is shown at the pane's top-left corner.
constexpr int32_t kCornerBoxWidth = 108;
constexpr int32_t kCornerBoxHeight = 33;

} // namespace

SmartPtr<CTool> CHAPane::CurrentTool()
{
    App* app = Window::GetApplication();
    return app ? SmartPtr<CTool>(SmartCast<CTool>(app->GetCurrentTool().Get())) : SmartPtr<CTool>();
}

CHAPane::CHAPane(View* parent, const SmartPtr<CPlayer>& player, bool constructionFlag)
    : CPanePlay(parent, player)
    , flags(constructionFlag ? kConstructionFlag : 0)
{
    player->RemoveOrAppendClient(this);
    SetMovieBounds();
    pw::authoring::RegisterMovieEditors();
}

CHAPane::~CHAPane()
{
    CPanePlay::GetPlayer().RemoveOrAppendClient(this);
    SmartPtr<CMovieRes> object = edited;
    edited = nullptr;
    if (auto* painter = SmartCast<CPixPane>(editView.Get()))
        painter->SetPage(nullptr);
}

// The tools window is among the edit clients while it follows this pane; making its default
// tools current makes them the application's too.
void CHAPane::ResetToolsWindows()
{
    for (pw::authoring::PaneClient* client : std::vector(editClients)) {
        if (auto* tools = dynamic_cast<CToolsDir*>(client))
            tools->SelectDefaultTools();
    }
}

View* CHAPane::Make(CShow& show, View& container)
{
    if (!show.GetPlayer())
        return nullptr;
    // The pane gives its size to the movie, so it is made at the page's own size: the window that
    // holds the content fits itself around it.
    Rect page(0, 0, 0, 0);
    show.GetMovie()->GetBounds(page);
    Rect box = container.GetBounds();
    if (!page.IsEmpty())
        container.SetBounds(box.left, box.top, box.left + page.right - page.left, box.top + page.bottom - page.top);
    SmartPtr<CHAPane> pane = new CHAPane(&container, show.GetPlayer(), false);
    container.AddChild(pane.Get());
    if (CHAApp* app = CHAApp::Get())
        app->SetActivePane(pane.Get());
    return pane.Get();
}

CMovieGroup* CHAPane::GetGroup() const
{
    return SmartCast<CMovieGroup>(GetShow().GetMovie().Get());
}

Point CHAPane::ToMovie(Point p) const
{
    return CPanePlay::ToMovie(p.h, p.v);
}

Point CHAPane::ToPane(Point p) const
{
    Rect bounds = const_cast<CHAPane*>(this)->GetBounds();
    return Point(p.h + bounds.left, p.v + bounds.top);
}

Rect CHAPane::ToPane(const Rect& r) const
{
    Rect moved = r;
    Point origin = ToPane(Point(0, 0));
    moved.Offset(origin.h, origin.v);
    return moved;
}

void CHAPane::RedrawMovieRect(const Rect& r)
{
    if (!r.IsEmpty())
        ImageChanged(Area(ToPane(r)), Area::EmptyArea());
}

SmartPtr<CXform> CHAPane::MovieToPane() const
{
    Point origin = ToPane(Point(0, 0));
    if (origin.h == 0 && origin.v == 0)
        return nullptr;
    return new CXform(Rect(0, 0, 1, 1), Rect(origin.h, origin.v, origin.h + 1, origin.v + 1));
}

// The movie keeps its origin and takes the pane's size, so that a page is always exactly as large
// as the pane that shows it.
void CHAPane::SetMovieBounds()
{
    SmartPtr<CMovie> movie = GetShow().GetMovie();
    Rect old(0, 0, 0, 0);
    movie->GetBounds(old);
    Point size = GetBounds().Size();
    movie->SetBounds(Rect(old.left, old.top, old.left + size.h, old.top + size.v));
}

void CHAPane::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    SetMovieBounds();
}

void CHAPane::DrawContent(DisplayPort& port, Area&)
{
    pw::engine::DrawComposed(port, GetBounds(), [this](DisplayPort& composed) {
        DrawPage(composed);
        DrawCornerBox(composed);
        // A running task draws what it drags; the marks would show the old place.
        if (feedback)
            feedback->DrawFeedback(composed);
    });
    if (!feedback)
        DrawSelectionMarks(port);
}

void CHAPane::DrawPage(DisplayPort& port, PageLayers layers)
{
    CMovieGroup* group = GetGroup();
    CSprite* edited = IsEditing() && !selection.IsEmpty() ? selection.Item(1) : nullptr;
    bool painting = IsEditing() && SelectedKind() == 1;
    if (!group || (!edited && !painting)) {
        if (layers != PageLayers::kInFront) {
            Area all(GetBounds());
            CPanePlay::DrawContent(port, all);
        }
        return;
    }
    // Where the picture being painted lies in the drawing order: a new one goes just in front of
    // the sprite it was begun on.
    int32_t level = edited ? group->IndexOf(edited) : NewPictureIndex(*group, paintedOver.Get());
    Rect page(0, 0, 0, 0);
    group->GetBounds(page);
    Rect shown = ToPane(page);
    SmartPtr<CXform> place = shown == page ? nullptr : new CXform(page, shown);
    if (layers != PageLayers::kInFront)
        port.DrawRectangle(shown, Color(0), Color(0), 0);
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    for (uint32_t index = 0; index < group->NumSprites(); ++index) {
        CSprite* sprite = group->GetSprite(static_cast<int16_t>(index));
        bool behind = int32_t(index) < level;
        bool wanted = layers == PageLayers::kAll || (layers == PageLayers::kBehind) == behind;
        if (sprite && sprite != edited && wanted)
            sprite->DrawFrame(port, place, frame, Color(0), 0);
    }
}

void CHAPane::DrawCornerBox(DisplayPort& port)
{
    if (!(flags & kCornerBoxShown) || IsPlaying())
        return;
    Rect bounds = GetBounds();
    port.DrawRectangle(Rect(bounds.left, bounds.top, bounds.left + kCornerBoxWidth, bounds.top + kCornerBoxHeight),
        GetShow().GetExtent(), Color(Color::kNoColor), 1);
}

void CHAPane::ActiveChanged(bool active)
{
    CHAApp* app = CHAApp::Get();
    if (!active) {
        // The next drawing leaves the marks out.
        InvalidateView(false);
        if (app)
            app->ClearActivePane(this);
        return;
    }
    CPlayer& player = CPanePlay::GetPlayer();
    player.NoteFrame(currentFrame);
    SmartPtr<CTool> tool = CurrentTool();
    TellApplication(tool.Valid() && tool->InAltMode() ? kAltModeCommand : !IsPlaying() ? kStopCommand : kPlayCommand);
    if (app)
        app->SetActivePane(this);
    InvalidateView(false);
    // A paint tool paints at once: over the whole page when nothing is selected.
    if (!IsEditing() && tool.Valid() && tool->IsPaintTool())
        Edit(1, true);
}

bool CHAPane::IsActivePane()
{
    CHAApp* app = CHAApp::Get();
    return app && app->GetActivePane().Get() == this;
}

void CHAPane::GetFrameRange(int16_t& first, int16_t& last, bool exact) const
{
    auto lastFrame = static_cast<int16_t>(GetShow().GetMovie()->NumFrames() - 1);
    bool overview = pw::authoring::gOverviewShown != 0;
    if (mode == 2) {
        first = 0;
        last = lastFrame;
    } else if (exact || mode == 1) {
        first = rangeFirst;
        last = rangeLast;
    } else if (mode == 3 && !overview) {
        first = currentFrame;
        last = lastFrame;
    } else {
        first = last = currentFrame;
    }
    if (!overview && last < first)
        last = first;
}

void CHAPane::AfterEdit(const SmartPtr<Task>& task)
{
    if (task.Valid())
        NotifyTask(task);
    PutDownHeldChoice();
    CMovieGroup* group = GetGroup();
    if (group && !SmartCast<ClipTask>(task.Get()))
        group->RemoveEmptySprites();
    NotifyChanged();
}

void CHAPane::PutDownHeldChoice()
{
    // The tabs' tools: Pictures and Dividers (19); Link Page, Record and E-Mail (14); the web-link
    // folders (22).
    // The current tool is the application's, whichever pane it was taken for: the tools window
    // puts it down.
    SmartPtr<CTool> tool = CurrentTool();
    int32_t number = tool.Valid() ? tool->GetNumber() : -1;
    CToolsDir* tools = CToolsDir::Get();
    if (tools && (number == 19 || number == 14 || number == 22))
        tools->SelectDefaultTools();
}

void CHAPane::EndMove(CMoveTask*)
{
    TellApplication(kPlayCommand);
    DrawSelectionMarks();
}

void CHAPane::RunMouseTask(App* app, const SmartPtr<CMouseTask>& task, Point point, BitFlags modifiers,
    uint8_t clicks, const SmartPtr<Window>& window)
{
    SmartPtr<Tool> taskTool = new CTaskTool(task, app ? app->GetCurrentTool() : SmartPtr<Tool>());
    NotifyCommand(new pw::ui::SetToolSignal(taskTool));
    taskTool->MouseDown(point, modifiers, clicks, window);
}

void CHAPane::SetFeedback(pw::authoring::PaneFeedback* task)
{
    feedback = task;
}

void CHAPane::ClearFeedback(pw::authoring::PaneFeedback* task)
{
    if (feedback == task)
        feedback = nullptr;
}

void CHAPane::AreaNotice(const SmartPtr<Area>& area)
{
    if (area.Valid())
        ImageChanged(*area.Get(), Area::EmptyArea());
    else
        InvalidateView(false);
}

void CHAPane::ToggleClient(pw::authoring::PaneClient* client)
{
    ToggleMember(editClients, client);
}

void CHAPane::TellEditClients()
{
    for (pw::authoring::PaneClient* client : std::vector(editClients))
        client->PaneChanged(this);
}

void CHAPane::TellApplication(int32_t number)
{
    if (auto* handler = dynamic_cast<NumberCommandHandler*>(Window::GetApplication()))
        handler->DoCommand(number, 0);
}
