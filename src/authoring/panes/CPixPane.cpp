#include "authoring/panes/CPixPane.h"

#include "authoring/palettes/CSwitchPalette.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/tasks/CBrushTask.h"
#include "authoring/tasks/CEraserTask.h"
#include "authoring/tasks/CFillTask.h"
#include "authoring/tasks/CPencilTask.h"
#include "authoring/tasks/CSelectionDragTask.h"
#include "authoring/tasks/CSelectionRect.h"
#include "authoring/tasks/CShapeTask.h"
#include "authoring/tasks/CZoomPanTask.h"
#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/CShapeTool.h"
#include "authoring/tools/CTaskTool.h"
#include "engine/CStamp.h"
#include "engine/ComposedDrawing.h"
#include "foundation/Exception.h"
#include "foundation/Utilities.h"
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"
#include "ui/App.h"
#include "ui/AppSignals.h"
#include "ui/Tool.h"
#include "ui/ViewPort.h"
#include "ui/Window.h"

#include <algorithm>

PW_DEFINE_CLASS(CPixPane, nullptr, nullptr, CEditPane)

namespace {

constexpr uint32_t kFlashPeriod = 300;
constexpr int32_t kZoomSteps = 10;
constexpr uint32_t kZoomStepWait = 50;

CPixPane*& ActivePane()
{
    static CPixPane* pane = nullptr;
    return pane;
}

SmartPtr<CTool> CurrentTool()
{
    App* app = Window::GetApplication();
    if (!app)
        return nullptr;
    SmartPtr<Tool> tool = app->GetCurrentTool();
    return SmartPtr<CTool>(SmartCast<CTool>(tool.Get()));
}

} // namespace

CPixPane::CPixPane(View* owner, int32_t left, int32_t top, int32_t right, int32_t bottom, const Rect& pictureRect,
    const SmartPtr<CStamp>& picture)
    : CEditPane(owner, left, top, right, bottom)
{
    selection = new Area;
    Rect bounds = GetBounds();
    {
        pw::ui::ViewPort port(GetDrawingDevice(), bounds);
        Point centre = pictureRect.Center();
        AnimateZoomRects(port, Rect(centre.h, centre.v, centre.h, centre.v), bounds);
    }
    offScreen = new OffScreen(GetDrawingDevice(), bounds, false, true);
    if (picture.Valid()) {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        Translation toPicture(-bounds.left, -bounds.top);
        port.ApplyTransform(toPicture);
        picture->DrawTo(port, pictureRect, 0);
    }
    if (!EditState(false))
        EditState(true);
    ActivePane() = this;
    SetIdle(1, kFlashPeriod);
}

CPixPane::~CPixPane()
{
    if (ActivePane() == this)
        ActivePane() = nullptr;
}

bool CPixPane::KeyDown(uint8_t key, int32_t value)
{
    if (key != '\t')
        return CEditPane::KeyDown(key, value);
    if (auto* palette = dynamic_cast<CSwitchPalette*>(CToolsDir::GetPaintPalette().Get()))
        palette->SwapSelection();
    return true;
}

CPixPane* CPixPane::Active()
{
    return ActivePane();
}

void CPixPane::DrawContent(DisplayPort& port, Area&)
{
    if (offScreen.Valid())
        ApplyToStampBounds(port, false);
}

bool CPixPane::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    SmartPtr<CTool> tool = CurrentTool();
    int32_t number = tool.Valid() ? tool->GetNumber() : 0;
    if (number != kKeepSelection && number != kSelection)
        ResetSelectionArea();
    bool handled = false;
    SmartPtr<CMouseTask> task = MakeTask(tool, Point(h, v), modifiers, handled);
    if (handled)
        return true;
    if (tool.Valid())
        tool->PlayStartSound();
    App* app = Window::GetApplication();
    SmartPtr<Tool> taskTool = new CTaskTool(task, app ? app->GetCurrentTool() : SmartPtr<Tool>());
    NotifyCommand(new pw::ui::SetToolSignal(taskTool));
    taskTool->MouseDown(Point(h, v), modifiers, clicks, window);
    Changed(true);
    // The page has unsaved work now, also when it was saved while this picture was open.
    NotifyChanged();
    return true;
}

// Tool 102 brush, 103 bucket, 104 pencil, 105 to 108 and 113 shapes, 109 eraser, 110 dropper (a
// warning, nothing else), 111 a new rubber band or, inside a selection smaller than the pane, its
// drag; 112 and others no task. Control in a magnified pane pans whatever the tool.
SmartPtr<CMouseTask> CPixPane::MakeTask(const SmartPtr<CTool>& tool, Point press, BitFlags modifiers, bool& handled)
{
    SmartPtr<CPixPane> self(this);
    if (IsZoomed() && modifiers.IsSet(2)) {
        ActivePane() = this;
        return new CZoomPanTask(self);
    }
    int32_t number = tool.Valid() ? tool->GetNumber() : 0;
    switch (number) {
    case kBrush:
        return new CBrushTask(self, offScreen, SmartPtr<CPenTool>(SmartCast<CBrushTool>(tool.Get())));
    case kBucket:
        return new CFillTask(self, offScreen);
    case kPencil: {
        auto* pen = SmartCast<CPenTool>(tool.Get());
        if (!pen)
            AssertionFailed("tool != NULL && member(tool,CPencilTool)", PW_HERE);
        ActivePane() = this;
        return new CPencilTask(self, offScreen, pen);
    }
    case 105: case 106: case 107: case 108: case 113: {
        auto* shape = dynamic_cast<CShapeTool*>(tool.Get());
        if (!shape)
            AssertionFailed("tool != NULL && member(tool,CShapeTool)", PW_HERE);
        return new CShapeTask(self, offScreen, shape);
    }
    case kEraser: {
        auto* eraser = SmartCast<CEraserTool>(tool.Get());
        if (!eraser)
            AssertionFailed("tool != NULL && member(tool,CEraserTool)", PW_HERE);
        ActivePane() = this;
        return new CEraserTask(self, offScreen, eraser);
    }
    case kDropper:
        CDropperTool::NotImplemented(press.h, press.v);
        handled = true;
        return nullptr;
    case kSelection: {
        ActivePane() = this;
        Rect selected = selection->ComputeBounds();
        if (selected.Contains(press.h, press.v) && selected != GetBounds())
            return new CSelectionDragTask(self, offScreen);
        ResetSelectionArea();
        if (!tool.Valid())
            AssertionFailed("tool != NULL && member(tool,CLassoTool)", PW_HERE);
        return new CSelectionRect(self, offScreen, tool);
    }
    default:
        return nullptr;
    }
}

void CPixPane::ActiveChanged(bool active)
{
    if (!active) {
        if (IsVisible())
            ResetSelectionArea();
        return;
    }
    OfferZoomTools();
}

void CPixPane::OfferZoomTools()
{
    CToolsDir* tools = CToolsDir::Get();
    if (!tools)
        return;
    // The default tools first: choosing them enables every paint cell again.
    if (IsZoomed() && tools->GetCurrentToolNumber() == kSelection)
        tools->SelectDefaultTools();
    for (int32_t number : { kSelection, kKeepSelection }) {
        if (SmartPtr<CToolPalette> palette = tools->PaletteOfTool(number); palette.Valid())
            palette->EnableCell(tools->IndexOfToolNumber(number), (number == kKeepSelection) == IsZoomed());
    }
}

void CPixPane::Idle()
{
    FlashSelection();
}

void CPixPane::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    CEditPane::AdjustBounds(dl, dt, dr, db);
    offScreen->Resize(dl, dt, dr, db, true);
    if (IsZoomed()) {
        zoomOrigin.h += dl / kZoom;
        zoomOrigin.v += dt / kZoom;
        InvalidateView(false);
    }
}

bool CPixPane::TestEditFlag(bool toggle)
{
    if (IsZoomed())
        return false;
    return EditState(toggle);
}

Point CPixPane::ViewToImage(Point point) const
{
    if (!IsZoomed())
        return point;
    Rect bounds = const_cast<CPixPane*>(this)->GetBounds();
    return Point(zoomOrigin.h + (point.h - bounds.left) / kZoom, zoomOrigin.v + (point.v - bounds.top) / kZoom);
}

Rect CPixPane::ShownBounds()
{
    Rect bounds = GetBounds();
    return beneath ? bounds.Intersect(beneath->GetBounds()) : bounds;
}

SmartPtr<BitMap> CPixPane::SeenPicture()
{
    SmartPtr<BitMap> picture = offScreen->GetBitMap();
    Point size = picture->GetBounds().Size();
    SmartPtr<OffScreen> seen = new OffScreen(size.h, size.v, picture->GetColorTable(), Color(0), true);
    {
        DisplayPort port(*seen.Get(), seen->GetBounds(), 0);
        ComposePart(port, picture->GetBounds(), Point(0, 0), false);
    }
    return seen->GetBitMap();
}

void CPixPane::ApplyToStampBounds(DisplayPort& port, bool fromTask)
{
    if (offScreen.Valid())
        DrawImageRect(port, offScreen->GetBounds(), fromTask);
}

void CPixPane::DrawImageRect(DisplayPort& port, const Rect& rect, bool)
{
    if (!offScreen.Valid())
        return;
    Rect bounds = GetBounds();
    if (!IsZoomed()) {
        Rect part = rect.Intersect(offScreen->GetBitMap()->GetBounds());
        if (part.IsEmpty())
            return;
        Rect shown = part;
        shown.Offset(bounds.left, bounds.top);
        pw::engine::DrawComposed(port, shown, [&](DisplayPort& target) { ComposePart(target, part, shown.TopLeft()); });
        return;
    }
    Rect source(0, 0, 0, 0);
    Rect destination(0, 0, 0, 0);
    ZoomRects(source, destination);
    Rect part = source.Intersect(rect);
    HDC dc = port.GetHDC();
    if (part.IsEmpty() || !dc)
        return;
    Rect shown(destination.left + (part.left - source.left) * kZoom, destination.top + (part.top - source.top) * kZoom,
        destination.left + (part.right - source.left) * kZoom, destination.top + (part.bottom - source.top) * kZoom);
    // Composed at the picture's own size, where white can be keyed out, then enlarged as a whole.
    Point size = part.Size();
    SmartPtr<OffScreen> composed
        = new OffScreen(size.h, size.v, offScreen->GetBitMap()->GetColorTable(), Color(0), true);
    {
        DisplayPort into(*composed.Get(), composed->GetBounds(), 0);
        ComposePart(into, part, Point(0, 0));
    }
    SmartPtr<BitMap> enlarged = composed->GetBitMap();
    auto* device = SmartCast<OffScreen>(port.Device());
    enlarged->DrawPartTo(dc, device ? device->GetBitMap().Get() : nullptr, enlarged->GetBounds(), port.MapRect(shown),
        false, 0);
}

void CPixPane::ComposePart(DisplayPort& port, const Rect& part, Point at, bool withFront)
{
    Rect bounds = GetBounds();
    Rect under = part;
    under.Offset(bounds.left, bounds.top);
    auto drawPage = [&](CHAPane::PageLayers layers) {
        Translation toPort(at.h - under.left, at.v - under.top);
        PortSaverTransform place(port, toPort);
        PortSaverRect clip(port, under);
        if (beneath)
            beneath->DrawPage(port, layers);
        else if (layers == CHAPane::PageLayers::kBehind)
            port.DrawRectangle(under, Color(0), Color(0), 0);
    };
    drawPage(CHAPane::PageLayers::kBehind);
    {
        SmartPtr<BitMap> picture = offScreen->GetBitMap();
        uint32_t white = 0;
        bool keyed = picture->GetColorTable()->Convert(Color(0), white);
        Translation toPort(at.h - part.left, at.v - part.top);
        PortSaverTransform place(port, toPort);
        picture->DrawPart(port, part, keyed, white);
    }
    if (withFront)
        drawPage(CHAPane::PageLayers::kInFront);
}

// The source is the quarter of the pane from the zoom origin on, in picture coordinates; the
// destination the same size four times as large at the pane's top-left corner.
void CPixPane::ZoomRects(Rect& source, Rect& destination) const
{
    Rect bounds = const_cast<CPixPane*>(this)->GetBounds();
    Point size((bounds.right - bounds.left) / kZoom, (bounds.bottom - bounds.top) / kZoom);
    source = Rect(zoomOrigin.h - bounds.left, zoomOrigin.v - bounds.top, zoomOrigin.h - bounds.left + size.h,
        zoomOrigin.v - bounds.top + size.v);
    destination = Rect(bounds.left, bounds.top, bounds.left + size.h * kZoom, bounds.top + size.v * kZoom);
}

void CPixPane::SetZoomed(bool on)
{
    if (on)
        zoomFlags |= kMagnified;
    else
        zoomFlags &= static_cast<uint8_t>(~kMagnified);
    ScrollZoom(0, 0);
    OfferZoomTools();
    InvalidateView(false);
}

void CPixPane::ScrollZoom(int32_t dh, int32_t dv)
{
    zoomOrigin.h += dh;
    zoomOrigin.v += dv;
    Rect bounds = GetBounds();
    int32_t w = (bounds.right - bounds.left) / kZoom;
    int32_t h = (bounds.bottom - bounds.top) / kZoom;
    if (zoomOrigin.h < bounds.left)
        zoomOrigin.h = bounds.left;
    else if (zoomOrigin.h > bounds.right - w)
        zoomOrigin.h = bounds.right - w;
    if (zoomOrigin.v < bounds.top)
        zoomOrigin.v = bounds.top;
    else if (zoomOrigin.v > bounds.bottom - h)
        zoomOrigin.v = bounds.bottom - h;
}

void CPixPane::ResetSelectionArea()
{
    if (selection->IsEmpty())
        return;
    Area shown(selection->ComputeBounds());
    ImageChanged(shown, Area::EmptyArea());
    selection = new Area;
}

void CPixPane::FlashSelection()
{
    if (selection->RectList().NumItems() != 1)
        return;
    Rect selected = selection->ComputeBounds();
    pw::ui::ViewPort port(GetDrawingDevice(), ShownBounds());
    port.DrawRectangle(selected, Color(Color::kNoColor), Color(8), 1);
    Delay(100);
    port.DrawRectangle(selected, Color(Color::kNoColor), Color(7), 1);
}

void CPixPane::NotImplemented(int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CPixPane::AnimateZoomRects(DisplayPort& port, const Rect& from, const Rect& to)
{
    auto step = [&](int32_t i) {
        auto edge = [i](int32_t a, int32_t b) { return a + (b - a) * i / kZoomSteps; };
        return Rect(edge(from.left, to.left), edge(from.top, to.top), edge(from.right, to.right),
            edge(from.bottom, to.bottom));
    };
    // Each rectangle is inverted twice, so the animation leaves the screen as it found it.
    for (int32_t i = 0; i < kZoomSteps; ++i) {
        port.InvertFrame(step(i), 1);
        Delay(kZoomStepWait);
        if (i > 0)
            port.InvertFrame(step(i - 1), 1);
    }
    port.InvertFrame(step(kZoomSteps - 1), 1);
}
