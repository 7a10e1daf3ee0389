// The picture pane's selection and clipboard work, its commands, and handing the picture back.
#include "authoring/panes/CPixPane.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tasks/CSelectionDragTask.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CResource.h"
#include "engine/CStamp.h"
#include "engine/CXform.h"
#include "foundation/Clipboard.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/ClippedImage.h"
#include "graphics/ColorPaint.h"
#include "graphics/OffScreen.h"
#include "graphics/Picture.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"
#include "ui/App.h"
#include "ui/Tool.h"
#include "ui/ViewPort.h"
#include "ui/Window.h"

using pw::authoring::PaintSettings;

namespace {

constexpr int32_t kCut = 18;
constexpr int32_t kCopyCommand = 19;
constexpr int32_t kPasteCommand = 20;
constexpr int32_t kClearCommand = 21;
constexpr int32_t kSelectAll = 2004;
constexpr int32_t kPasteCommandToo = 2006;
constexpr int32_t kClearAll = 2013;
constexpr int32_t kUpdatePaintPane = 2109;

void MakeToolCurrent(int32_t number)
{
    if (CToolsDir* tools = CToolsDir::Get())
        tools->SetCurrentToolNumber(number);
}

int32_t CurrentToolNumber()
{
    if (CToolsDir* tools = CToolsDir::Get())
        return tools->GetCurrentToolNumber();
    return 0;
}

bool ClipboardHoldsPicture()
{
    App* app = Window::GetApplication();
    if (!app)
        return false;
    SmartPtr<Smart> contents = app->GetClipboard()->Contents();
    return SmartCast<Picture>(contents.Get()) != nullptr;
}

} // namespace

void CPixPane::Copy(SmartPtr<Smart>& copied)
{
    SmartPtr<BitMap> picture = offScreen->GetBitMap();
    SmartPtr<Area> area = new Area(picture->GetBounds());
    if (!selection->IsEmpty()) {
        Rect bounds = GetBounds();
        area = new Area(*selection.Get());
        area->Offset(-bounds.left, -bounds.top);
    }
    Rect from = area->ComputeBounds();
    Point size = from.Size();
    SmartPtr<OffScreen> buffer = new OffScreen(size.h, size.v, picture->GetColorTable(), Color(0), true);
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        Translation toOrigin(-from.left, -from.top);
        port.ApplyTransform(toOrigin);
        ClippedImage clipped(SmartPtr<Image>(picture.Get()), area);
        clipped.Draw(port, 1);
    }
    SmartPtr<CStamp> stamp = new CStamp(buffer->GetBitMap(), Color(0));
    SmartPtr<CXform> origin = new CXform(stamp->GetBounds(), stamp->GetBounds());
    origin->Offset(from.TopLeft());
    stamp->SetTransform(origin);
    copied = SmartPtr<Smart>(stamp.Get());
}

void CPixPane::Paste(const SmartPtr<Smart>& object, int32_t, int32_t, int32_t)
{
    SmartPtr<Image> image;
    Point at(0, 0);
    if (auto* stamp = SmartCast<CStamp>(object.Get())) {
        image = stamp;
        if (SmartPtr<CXform> origin = stamp->GetTransform(); origin.Valid())
            at = origin->GetDestination().TopLeft();
    } else if (auto* other = SmartCast<Image>(object.Get())) {
        image = other;
    } else {
        return;
    }
    MakeToolCurrent(kKeepSelection);
    Rect bounds = GetBounds();
    Rect shape = image->GetBounds();
    Point size = shape.Size();
    // The copy's place is in picture coordinates; a picture from elsewhere comes centred.
    Point corner = at == Point(0, 0) ? Point(bounds.Center().h - size.h / 2, bounds.Center().v - size.v / 2)
                                     : Point(at.h + bounds.left, at.v + bounds.top);
    Rect target = Rect(corner.h, corner.v, corner.h + size.h, corner.v + size.v).Intersect(bounds);
    selection->SetRect(target);
    SmartPtr<CSelectionDragTask> task = new CSelectionDragTask(SmartPtr<CPixPane>(this), offScreen);
    {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        Translation toPicture(-bounds.left, -bounds.top);
        port.ApplyTransform(toPicture);
        PortSaverRect clip(port, target);
        Translation toCorner(corner.h - shape.left, corner.v - shape.top);
        PortSaverTransform place(port, toCorner);
        image->Draw(port, 1);
    }
    Point p = target.TopLeft();
    task->Begin(p, BitFlags());
    task->End(p, p, p, BitFlags());
    Area shown(target);
    ImageChanged(shown, Area::EmptyArea());
    NoteTask(SmartPtr<CMouseTask>(task.Get()));
}

void CPixPane::Clear()
{
    Rect selected = selection->ComputeBounds();
    if (selected.IsEmpty())
        return;
    {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        Rect bounds = GetBounds();
        Translation toPicture(-bounds.left, -bounds.top);
        port.ApplyTransform(toPicture);
        // Framed in the same colour: a frameless fill would leave the last row and column.
        ColorPaint erase(PaintSettings::Current().erase);
        port.DrawAreaRects(*selection.Get(), erase, erase);
    }
    Area shown(selected);
    ImageChanged(shown, Area::EmptyArea());
}

void CPixPane::DropSelection(bool stamp)
{
    if (selection->IsEmpty())
        return;
    // The drag tasks draw the lifted pixels into the picture as they go: stamping them there is
    // ending the selection that could still carry them on.
    if (stamp)
        Changed(true);
    ResetSelectionArea();
    if (CurrentToolNumber() == kKeepSelection)
        MakeToolCurrent(kSelection);
}

bool CPixPane::CanClip(int32_t mode)
{
    if (mode == 2)
        return true;
    return !selection->IsEmpty();
}

void CPixPane::SelectAll(bool makeStamp)
{
    ResetSelectionArea();
    selection->SetRect(GetBounds());
    if (makeStamp) {
        CStamp stamp(*offScreen.Get());
        stamp.TakeArea(selection, Point(0, 0));
        selection->SetRect(selection->ComputeBounds());
    }
    int32_t number = CurrentToolNumber();
    if (number != kSelection && number != kKeepSelection)
        MakeToolCurrent(kKeepSelection);
}

bool CPixPane::TakePicture(Rect& rect, SmartPtr<CResource>& resource)
{
    Rect bounds = GetBounds();
    Rect shown = bounds;
    bool changed = Changed(false);
    if (changed) {
        // A copy, so that painting on in this pane never reaches the resource handed out.
        CStamp stamp(SmartPtr<BitMap>(new BitMap(*offScreen->GetBitMap().Get())), Color(0));
        Point at = stamp.Trim();
        Rect kept = stamp.GetBounds();
        kept.Offset(at.h, at.v);
        shown = kept;
        shown.Offset(bounds.left, bounds.top);
        Rect outgoing = kept;
        outgoing.Offset(rect.left, rect.top);
        rect = outgoing;
        if (shown.IsEmpty()) {
            shown = bounds;
        } else {
            resource = stamp.MakeResource();
            resource->SetRect(outgoing);
        }
    }
    pw::ui::ViewPort port(GetDrawingDevice(), GetDrawingDevice().GetBounds());
    Point centre = shown.Center();
    AnimateZoomRects(port, shown, Rect(centre.h, centre.v, centre.h, centre.v));
    return changed;
}

void CPixPane::DoCommand(int32_t number, int32_t argument)
{
    switch (number) {
    case kCut:
        Exception::Warn(kNotImplemented, PW_HERE);
        Exception::Warn(kNotImplemented, PW_HERE);
        break;
    case kCopyCommand:
    case kPasteCommand:
    case kClearCommand:
    case kPasteCommandToo:
        Exception::Warn(kNotImplemented, PW_HERE);
        break;
    case kSelectAll:
        SelectAll(true);
        break;
    case kClearAll:
        if (selection->IsEmpty())
            SelectAll(false);
        Exception::Warn(kNotImplemented, PW_HERE);
        break;
    case kZoomCommand:
        SetZoomed(!IsZoomed());
        break;
    case 2103:
    case 2104:
    case 2105:
        break;
    case kUpdatePaintPane:
        if (CToolsDir* tools = CToolsDir::Get())
            tools->UpdatePaintPane();
        break;
    default:
        CEditPane::DoCommand(number, argument);
    }
}

int32_t CPixPane::GetCommandStatus(int32_t number)
{
    switch (number) {
    case kCut:
    case kCopyCommand:
    case kClearCommand:
        return selection->IsEmpty() ? kDisabled : kEnabled;
    case kPasteCommand:
    case kPasteCommandToo:
        return ClipboardHoldsPicture() ? kEnabled : kDisabled;
    case kClearAll:
        return CEditPane::GetCommandStatus(number);
    case kZoomCommand:
        return IsZoomed() ? 1 : 0;
    case kSelectAll:
    case 2103:
    case 2104:
    case 2105:
    case 2106:
    case 2107:
    case 2108:
    case kUpdatePaintPane:
        return kEnabled;
    default:
        return CEditPane::GetCommandStatus(number);
    }
}
