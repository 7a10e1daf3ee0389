// Views: drawing through the channel protocol, off-screen buffers and invalidation.
#include "ui/View.h"

#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"
#include "ui/ViewBuffer.h"
#include "ui/ViewPort.h"
#include "ui/WindowFrame.h"

namespace {

// Moves every view of the subtree that drew on `from` onto `to`: a view whose buffer went away
// takes its children (and their own unbuffered descendants) along, and a buffer below is copied
// onto the new device from then on.
void Retarget(const SmartList<View>& children, DisplayDevice& from, DisplayDevice& to)
{
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        if (!child || &child->GetDevice() != &from)
            continue;
        child->SetDevice(to);
        if (SmartPtr<pw::ui::ViewBuffer> buffer = child->GetBuffer(); buffer.Valid())
            buffer->SetOuter(to);
        else
            Retarget(child->GetChildren(), from, to);
    }
}

} // namespace

DisplayDevice& View::GetDevice() const
{
    return *GetTarget().Get();
}

void View::SetDevice(DisplayDevice& device)
{
    target = &device;
}

DisplayDevice& View::GetDrawingDevice() const
{
    return buffer.Valid() ? *buffer.Get() : GetDevice();
}

SmartPtr<pw::ui::ViewBuffer> View::GetBuffer() const
{
    return buffer;
}

void View::Changed(DisplayDevice& device, Area& area)
{
    SmartList<View> list = children;
    for (uint32_t index = list.NumItems(); index >= 1; --index) {
        if (View* child = list.Item(index))
            child->Changed(device, area);
    }
    if (&device == &GetDevice())
        Invalidate(area);
}

void View::Invalidate(Area& area)
{
    if (IsVisible() && buffer.Valid())
        area.Subtract(Area(bounds));
}

void View::DrawContent(DisplayPort&, Area&)
{
}

void View::Render(DisplayPort& port, Area& area)
{
    if (!IsVisible())
        return;
    bool ownDevice = port.Device() == &GetDevice();
    if (buffer.Valid() && ownDevice) {
        Update(*buffer.Get());
        BlitBuffer(port, area);
    }
    PortSaverRect clip(port, bounds);
    if (ownDevice)
        DrawContent(port, area);
    SmartList<View> list = children;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            child->Render(port, area);
    }
}

// The redraw is clipped to what was pending, so that a partial update leaves the rest as it is.
void View::Update(DisplayDevice& device)
{
    if (!device.HasInvalidArea())
        return;
    Area collected(bounds);
    Changed(device, collected);
    pw::ui::ViewPort port(device, bounds);
    Area pending;
    port.TakeInvalidArea(collected, pending);
    PortSaver clip(port, pending);
    Render(port, pending);
}

void View::InvalidateView(bool notify)
{
    if (IsVisible())
        ImageChanged(Area(bounds), Area::EmptyArea());
    if (notify)
        NotifyChanged();
}

// Every device between this view and the window frame gets the area: the view's buffer, the
// device it draws on and, through the buffers' outer devices, each enclosing buffer up to the
// frame, which marks the native window for a paint.
void View::ImageChanged(const Area& removed, const Area&)
{
    if (buffer.Valid())
        buffer->Invalidate(removed);
    DisplayDevice* device = &GetDevice();
    bool frameMarked = false;
    while (device) {
        device->Invalidate(removed);
        frameMarked = frameMarked || device == frame.Get();
        auto* enclosing = SmartCast<pw::ui::ViewBuffer>(device);
        device = enclosing ? enclosing->GetOuter() : nullptr;
    }
    if (!frameMarked && frame.Valid())
        frame->Invalidate(removed);
}

void View::InvertFrame()
{
    if (!IsVisible())
        return;
    pw::ui::ViewPort port(GetDevice(), bounds);
    port.InvertFrame(bounds, 2);
}

// A new buffer starts marked as wholly out of date, so that its first copy shows the view rather
// than a blank. Turning buffering off moves whatever drew into the buffer onto the frame.
void View::SetBuffered(bool buffered)
{
    if (buffered == buffer.Valid())
        return;
    if (buffered) {
        buffer = new pw::ui::ViewBuffer(GetDevice(), bounds);
        buffer->Invalidate(Area(bounds));
        return;
    }
    SmartPtr<pw::ui::ViewBuffer> old = buffer;
    buffer = nullptr;
    DisplayDevice& target = *GetFrame().Get();
    SetDevice(target);
    Retarget(children, *old.Get(), target);
    InvalidateView(false);
}

void View::BlitBuffer(DisplayPort& port, const Area& area)
{
    if (!buffer.Valid())
        AssertionFailed("buffer != NULL", PW_HERE);
    PortSaver clip(port, area);
    Translation toBounds(bounds.left, bounds.top);
    PortSaverTransform move(port, toBounds);
    buffer->GetBitMap()->Draw(port, 0);
}

void View::BlitBufferToFrame(const Area& area)
{
    SmartPtr<WindowFrame> target = GetFrame();
    pw::ui::ViewPort port(*target.Get(), bounds);
    BlitBuffer(port, area);
}
