#include "authoring/panes/COverview.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CChoreStrips.h"
#include "authoring/tasks/RectMapping.h"
#include "authoring/tools/CTool.h"
#include "engine/CHAApp.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/CStamp.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"
#include "ui/Window.h"

#include <algorithm>
#include <string>

PW_DEFINE_CLASS(COverview, nullptr, nullptr, View, Controllable, NumberCommandHandler)

namespace pw::authoring {

bool gOverviewActive = false;

} // namespace pw::authoring

namespace {

// Film colours: the strip, its lit and shaded edges, the holes.
constexpr int32_t kStripColor = 5;
constexpr int32_t kLitEdge = 3;
constexpr int32_t kShadedEdge = 6;
constexpr int32_t kHoleColor = 0;
constexpr int32_t kHoleSize = 4;
constexpr int32_t kHoleDistance = 8;
// The number's box at a cell's top-left corner.
constexpr int32_t kLabelWidth = 25;
constexpr int32_t kLabelBoxHeight = 9;
// The ring around a selected frame: 2 pixels wide, 1 to 3 pixels outside its cell.
constexpr int32_t kRingOutset = 3;
constexpr int32_t kRingWidth = 2;
// Tools that act on the overview.
constexpr int32_t kSelectFrameTool = 9;
constexpr int32_t kStretchTool = 15;
constexpr int32_t kStretchTool2 = 18;
constexpr int32_t kModifierTool = 16;
constexpr int32_t kDropperTool = 110;
constexpr int32_t kModifierCommand = 21;
constexpr uint8_t kDefaultToolsKey = 3;

bool Stretches(int32_t tool)
{
    return tool == kStretchTool || tool == kStretchTool2;
}

// The cell erased, then the bounds of each sprite shown in the frame outlined at the cell's scale.
void DrawOutlines(DisplayPort& port, CShow& show, int16_t frame, const Rect& cell)
{
    port.EraseArea(Area(cell));
    // Only a page of sprites has outlines to show.
    auto* group = SmartCast<CMovieGroup>(show.GetMovie().Get());
    if (!group)
        return;
    Rect page(0, 0, 0, 0);
    group->GetBounds(page);
    for (uint32_t index = 0; index < group->NumSprites(); ++index) {
        CSprite* sprite = group->GetSprite(static_cast<int16_t>(index));
        if (!sprite->ShowsInFrames(frame, 1))
            continue;
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &bounds, nullptr);
        Rect outline = pw::authoring::MapRect(bounds, page, cell).Intersect(cell);
        if (!outline.IsEmpty())
            port.DrawRectangle(outline, Color(Color::kNoColor), Color(1), 1);
    }
}

} // namespace

COverview::COverview(View* parent, const Rect& bounds, bool docked)
    : View(parent, bounds, kSizeTopLeft, false, false)
    , strips(new CChoreStrips(this, &COverview::DrawPicture))
    , docked(docked)
{
    if (docked) {
        window = SmartCast<Window>(parent);
        if (window)
            PaneForwarder::Register(window, this);
    }
}

COverview::~COverview()
{
    strips->Stop();
    strips = nullptr;
    if (!docked) {
        if (auto* app = SmartCast<CHAApp>(Window::GetApplication()))
            app->SetActivePane(pane.Get());
    } else {
        PaneForwarder::Unregister(window, this);
    }
    SetPane(SmartPtr<CHAPane>());
}

void COverview::SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& activePane)
{
    SetPane(SmartPtr<CHAPane>(dynamic_cast<CHAPane*>(activePane.Get())));
}

void COverview::SetPane(const SmartPtr<CHAPane>& newPane)
{
    dirty = true;
    InvalidateView(false);
    if (pane.Valid()) {
        if (SmartPtr<CMovie> movie = pane->CPanePlay::GetPlayer().GetMovie(); movie.Valid())
            movie->RemoveOrAppendClient(this);
        pane->ToggleSelectionClient(this);
    }
    pane = newPane;
    if (pane.Valid()) {
        if (SmartPtr<CMovie> movie = pane->CPanePlay::GetPlayer().GetMovie(); movie.Valid())
            movie->RemoveOrAppendClient(this);
        pane->ToggleSelectionClient(this);
        BroadcastScroll();
    }
}

Rect COverview::ToWindow(const Rect& r)
{
    Rect moved = r;
    Rect view = GetBounds();
    moved.Offset(view.left, view.top);
    return moved;
}

bool COverview::Layout()
{
    if (!pane.Valid())
        return false;
    SmartPtr<CMovie> movie = pane->CPanePlay::GetPlayer().GetMovie();
    Rect page(0, 0, 0, 0);
    movie->GetBounds(page);
    CHAApp::Options& options = CHAApp::GetOptions();
    int16_t rows = layout.numRows;
    bool kept = layout.Compute(page.right - page.left, page.bottom - page.top, options.reduction, options.bits,
        GetBounds().right - GetBounds().left, movie->NumFrames());
    if (layout.numRows != rows)
        BroadcastChange();
    FollowSelection();
    if (!(layout.frameV > 0 && layout.frameH > 0))
        AssertionFailed("frameV > 0 && frameH > 0", PW_HERE);
    if (!kept)
        InvalidateView(false);
    dirty = false;
    BroadcastScroll();
    return kept;
}

void COverview::FollowSelection()
{
    pane->GetFrameRange(selStart, selEnd, false);
    if (pane->GetSelectionMode() == 3)
        selEnd = selStart;
    spriteSel = SmartList<CSprite>();
    SmartList<CSprite> selected = pane->GetSelectedSprites();
    for (uint32_t i = selected.NumItems(); i >= 1; --i)
        spriteSel.Append(selected.Item(i));
}

void COverview::BroadcastScroll()
{
    Broadcast(selEnd / std::max<int16_t>(layout.numAcross, 1), 1, 0);
}

void COverview::Highlight(DisplayPort& port, int32_t first, int32_t last)
{
    if (dirty || !IsVisible())
        return;
    for (int32_t frame = first; frame <= last; ++frame) {
        Rect ring = ToWindow(layout.Cell(frame));
        ring = Rect(ring.left - kRingOutset, ring.top - kRingOutset, ring.right + kRingOutset, ring.bottom + kRingOutset);
        port.InvertFrame(ring, kRingWidth);
    }
}

void COverview::SelectionChanged(CHAPane*)
{
    if (!pane.Valid() || dirty)
        return;
    int16_t oldStart = selStart;
    int16_t oldEnd = selEnd;
    FollowSelection();
    if (oldStart == selStart && oldEnd == selEnd)
        return;
    DisplayPort port(GetDrawingDevice(), GetBounds(), 0);
    Highlight(port, oldStart, oldEnd);
    BroadcastScroll();
    Highlight(port, selStart, selEnd);
}

void COverview::RefreshHighlight()
{
    if (dirty || !pane.Valid())
        return;
    if (!IsVisible()) {
        FollowSelection();
        return;
    }
    DisplayPort port(GetDrawingDevice(), GetBounds(), 0);
    Highlight(port, selStart, selEnd);
    FollowSelection();
    Highlight(port, selStart, selEnd);
    if (pw::authoring::gOverviewActive)
        BroadcastScroll();
}

void COverview::DrawStrip(DisplayPort& port, const Rect& local)
{
    if (CHAApp::GetOptions().bits & pw::authoring::OverviewLayout::kPlainCells)
        return;
    Rect strip = ToWindow(local);
    port.DrawRectangle(strip, Color(kStripColor), Color(Color::kNoColor), 1);
    port.DrawBevel(strip, Color(kLitEdge), Color(kShadedEdge), 1);
    int32_t holes = (strip.right - strip.left - 4) / kHoleDistance + 1;
    for (int32_t top : { strip.top + 1, strip.bottom - 5 }) {
        for (int32_t n = 0; n < holes; ++n) {
            int32_t left = strip.left + 2 + n * kHoleDistance;
            port.DrawRectangle(Rect(left, top, left + kHoleSize, top + kHoleSize), Color(kHoleColor),
                Color(Color::kNoColor), 1);
        }
    }
}

void COverview::DrawLabel(DisplayPort& port, int32_t frame, const Rect& cell)
{
    if (CHAApp::GetOptions().bits & pw::authoring::OverviewLayout::kPlainCells)
        port.DrawRectangle(Rect(cell.left - 1, cell.top - 1, cell.right + 1, cell.bottom + 1), Color(Color::kNoColor),
            Color(1), 1);
    if (cell.bottom - cell.top < kLabelHeight)
        return;
    // The number takes the box in the corner, not the whole cell: the picture stays beside it.
    std::string number = std::to_string(frame + 1);
    port.DrawString(number.c_str(), static_cast<int32_t>(number.size()),
        Rect(cell.left, cell.top, cell.left + kLabelWidth, cell.top + kLabelBoxHeight), Color(1));
}

void COverview::DrawContent(DisplayPort& port, Area& area)
{
    if (!IsVisible())
        return;
    if (dirty && !Layout())
        return;
    port.EraseArea(area);
    Rect view(0, 0, GetBounds().right - GetBounds().left, GetBounds().bottom - GetBounds().top);
    if (view.IsEmpty())
        return;
    const pw::authoring::OverviewLayout& l = layout;
    for (int32_t row = std::max<int32_t>(0, l.topRow + (view.top - l.stripRect.bottom) / l.frameV - 1);
         row < l.numRows && l.Strip(row).top < view.bottom; ++row)
        DrawStrip(port, l.Strip(row));
    Highlight(port, selStart, selEnd);
    if (dirty)
        AssertionFailed("!dirty", PW_HERE);
    int32_t first = l.numAcross * (l.topRow + (view.top - l.frameRect.top) / l.frameV)
        + (view.left - l.frameRect.left - 1) / l.frameH;
    for (int32_t frame = std::max(first, 0); frame < l.numFrames && l.Cell(frame).top < view.bottom; ++frame) {
        strips->MoveToEnd(frame);
        DrawLabel(port, frame, ToWindow(l.Cell(frame)));
    }
}

bool COverview::DrawPicture(View* owner, int32_t frame, const Rect& area)
{
    auto* self = dynamic_cast<COverview*>(owner);
    if (!self || !self->IsVisible() || self->dirty || !self->pane.Valid() || frame >= self->layout.numFrames)
        return false;
    Rect cell = self->ToWindow(self->layout.Cell(frame));
    Rect visible = cell.Intersect(area);
    if (visible.IsEmpty())
        return false;
    CShow* show = &self->pane->CPanePlay::GetPlayer().GetShow();
    DisplayPort port(self->GetDrawingDevice(), visible, 0);
    auto shown = static_cast<int16_t>(frame);
    SmartPtr<CStamp> thumbnail;
    if (CHAApp::GetOptions().bits & pw::authoring::OverviewLayout::kSpriteOutlines) {
        DrawOutlines(port, *show, shown, cell);
    } else if (thumbnail = show->GetFrameThumbnail(shown); thumbnail.Valid()) {
        thumbnail->DrawTo(port, cell, 0);
    } else {
        PortSaverRect clip(port, cell);
        show->DrawFrame(port, shown, cell, 3);
    }
    self->DrawLabel(port, frame, cell);
    if (frame >= self->selStart && frame <= self->selEnd && self->spriteSel.IsEmpty())
        self->Highlight(port, frame, frame);
    return false;
}

int32_t COverview::CurrentToolNumber()
{
    if (CToolsDir* tools = CToolsDir::Get())
        return tools->GetCurrentToolNumber();
    App* app = Window::GetApplication();
    auto* tool = app ? SmartCast<CTool>(app->GetCurrentTool().Get()) : nullptr;
    return tool ? tool->GetNumber() : 0;
}

bool COverview::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t, const SmartPtr<Window>&)
{
    int32_t tool = CurrentToolNumber();
    if (tool == kDropperTool) {
        Exception::Warn(kNotImplemented, PW_HERE);
        return true;
    }
    if (!pane.Valid() || dirty)
        return false;
    h -= GetBounds().left;
    v -= GetBounds().top;
    pw::authoring::OverviewLayout::Click click = layout.Hit(h, v);
    if (tool == kSelectFrameTool) {
        if (click.f < layout.numFrames)
            pane->SetFrameRange(static_cast<int16_t>(click.f), static_cast<int16_t>(click.f));
        return true;
    }
    int32_t stretchLength = 0;
    if (Stretches(tool)) {
        stretchLength = click.f - selStart + 1;
        click = layout.Hit(h, v, selStart);
    }
    if (click.ignored)
        return true;
    int16_t oldStart = selStart;
    int16_t oldEnd = selEnd;
    int32_t mode = pane->GetSelectionMode();
    if (mode == 3 && !Stretches(tool)) {
        selStart = selEnd = static_cast<int16_t>(std::min<int32_t>(click.g, layout.numFrames));
    } else if (click.inGap) {
        selStart = static_cast<int16_t>(click.f);
        selEnd = static_cast<int16_t>(click.f - 1);
    } else {
        selStart = static_cast<int16_t>(std::min(click.g, click.f));
        selEnd = static_cast<int16_t>(std::max(click.g, click.f));
    }
    if (selStart != oldStart || selEnd != oldEnd) {
        DisplayPort port(GetDrawingDevice(), GetBounds(), 0);
        Highlight(port, oldStart, oldEnd);
        BroadcastScroll();
        Highlight(port, selStart, selEnd);
    }
    pane->CPanePlay::GetPlayer().Stop();
    int16_t p = 0;
    int16_t q = 0;
    pane->GetFrameRange(p, q, true);
    pane->SetFrameRange(selStart, selEnd);
    pane->SetSelectionMode(1);
    App* app = Window::GetApplication();
    SmartPtr<CTool> current(app ? SmartCast<CTool>(app->GetCurrentTool().Get()) : nullptr);
    if (Stretches(tool)) {
        if (current.Valid())
            current->PlayStartSound();
        pane->StretchMotion(p, static_cast<int16_t>(stretchLength), static_cast<int16_t>(selEnd - selStart + 1));
        q = p;
    } else if (tool == kModifierTool) {
        if (current.Valid())
            current->PlayStartSound();
        pane->SetSelectionMode(0);
        pane->DoCommand(kModifierCommand, static_cast<int32_t>(modifiers.word));
        pane->SetSelectionMode(mode);
        return true;
    } else if (tool != 10 && tool != 11) {
        pane->SetSelectionMode(mode);
        return true;
    }
    pane->SetSelectionMode(mode);
    pane->SetFrameRange(p, q);
    return true;
}

bool COverview::KeyDown(uint8_t key, int32_t value)
{
    if (key == kDefaultToolsKey) {
        if (CToolsDir* tools = CToolsDir::Get())
            tools->SelectDefaultTools();
        return true;
    }
    return View::KeyDown(key, value);
}

void COverview::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    dirty = true;
}

void COverview::ActiveChanged(bool active)
{
    View::ActiveChanged(active);
    if (!docked) {
        pw::authoring::gOverviewActive = active;
        if (auto* app = SmartCast<CHAApp>(Window::GetApplication()))
            app->SetActivePane(pane.Get());
    }
    RefreshHighlight();
}

void COverview::GetRange(int32_t, int32_t* first, int32_t* second)
{
    *first = 0;
    *second = layout.numRows - 1;
}

void COverview::TakeValue(int32_t value)
{
    if (value == layout.topRow)
        return;
    layout.topRow = value;
    InvalidateView(false);
}

void COverview::MovieChanged(Smart*, const Rect&, int16_t)
{
    InvalidateView(false);
}

void COverview::BoundsChanged(CMovie&, const Rect&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void COverview::DoCommand(int32_t number, int32_t argument)
{
    switch (number) {
    case 2004:
        if (pane.Valid() && pane->GetSelectionMode() != 2)
            pane->SetSelectionMode(2);
        return;
    case 8:
    case 9:
    case 2062:
        Exception::Warn(kNotImplemented, PW_HERE);
        return;
    case 2013:
        number = kModifierCommand;
        break;
    default:
        break;
    }
    if (pane.Valid()) {
        pane->DoCommand(number, argument);
    } else if (auto* handler = dynamic_cast<NumberCommandHandler*>(Window::GetApplication())) {
        handler->DoCommand(number, argument);
    }
}

int32_t COverview::GetCommandStatus(int32_t number)
{
    if (number == 2062)
        return 1;
    return pane.Valid() ? pane->GetCommandStatus(number) : kDisabled;
}
