#pragma once

#include "foundation/BitFlags.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "graphics/DisplayChannel.h"
#include "ui/InvalidationTarget.h"
#include "ui/ViewNotifier.h"

#include <cstdint>

class Area;
class DisplayDevice;
class DisplayPort;
class GenericSignal;
class IdleChore;
class Task;
class View;
class Window;
class WindowFrame;

namespace pw::ui {

class ViewBuffer;

} // namespace pw::ui

// The child list's type is complete before View's body, as its covariant GetChildren needs.
static_assert(sizeof(SmartList<View>) == sizeof(ListHandle));

// Everything drawn in a window that takes input: a rectangle with an ordered list of child views
// (back to front), drawn through the image-channel protocol on a display device, optionally
// composed first in an off-screen buffer of its own. All views of a window share the coordinate
// space of the window's drawing surface: a child's bounds are not relative to its parent, and
// moving a parent moves its children only through their sizing masks. Presses and moves go to
// the topmost shown child under the point (right and bottom edges count as inside), keys and idle
// ticks to the focused child. Visibility, focus and activation are state bits that propagate down
// the tree. A view holds its children; children reach their parent's device, buffer, frame and
// notifier through counted references of their own, never through a parent pointer.
//
// A buffer's pixels start at (0, 0) for the view's top-left corner. Whatever draws into it works
// in window coordinates through a translation (ViewPort), and the areas waiting to be redrawn on
// any device of the tree are kept in window coordinates too.
class View : public DisplayChannel, public InvalidationTarget, public SmartImplementation {
    PW_CLASS_INFO(View)
    PW_COPY_SLOTS

public:
    // State bits.
    static constexpr uint8_t kFocused = 0x01;
    static constexpr uint8_t kTakesFocus = 0x02;
    static constexpr uint8_t kActive = 0x04;
    static constexpr uint8_t kOwnerActive = 0x08;
    static constexpr uint8_t kHidden = 0x10;
    static constexpr uint8_t kShown = 0x20;
    static constexpr uint8_t kParentShown = 0x40;

    // Sizing bits: the parent's edges the view follows when the parent is resized.
    static constexpr uint8_t kFollowTop = 0x01;
    static constexpr uint8_t kFollowLeft = 0x02;
    static constexpr uint8_t kFollowBottom = 0x04;
    static constexpr uint8_t kFollowRight = 0x08;
    // The framework's sizing constants.
    static constexpr uint8_t kSizeStretch = 15;
    static constexpr uint8_t kSizeTopLeft = 3;
    static constexpr uint8_t kSizeBottomRight = 12;
    static constexpr uint8_t kSizeTopBottomRight = 13;
    static constexpr uint8_t kSizeLeftBottomRight = 14;
    static constexpr uint8_t kSizeTopRow = 11;
    static constexpr uint8_t kSizeLeftColumn = 7;

    // A child view, not yet added (the caller adds it with AddChild). It draws on the parent's
    // frame when `onFrame`, else on the parent's drawing device (its buffer when it has one).
    View(View* parent, const Rect& bounds, uint8_t sizing, bool takesFocus, bool onFrame);
    // The top of a window's tree: over the whole device, which is also its frame when it is a
    // window frame; shown at once when `visible`.
    View(DisplayDevice& device, const SmartPtr<ViewNotifier>& notifier, bool takesFocus, bool visible,
        bool buffered);
    // A child placed in the container's next stack row (NextStackRect), sizing kSizeTopRow.
    View(View* container, bool takesFocus);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The image channel.
    // Every child (last to first), then Invalidate when `device` is this view's own device.
    void Changed(DisplayDevice& device, Area& area) override;
    void Render(DisplayPort& port, Area& area) override;
    Rect GetBounds() override { return bounds; }
    // Renders what waits on `device` within the bounds.
    void Update(DisplayDevice& device) override;
    // A shown buffered view takes its bounds out of the area (its buffer covers them).
    void Invalidate(Area& area) override;
    // Subclasses paint here, in window coordinates, clipped to the bounds and the redraw area.
    void DrawContent(DisplayPort& port, Area& area) override;
    // The child list; a copy of the handle shares the list.
    const SmartList<View>& GetChildren() override { return children; }

    virtual void Show(bool visible);
    virtual Rect GetContentRect() { return bounds; }
    virtual void SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Resizes within GetSizeLimits: to the maximum, or the current size brought into the limits.
    virtual void FitSize(bool toMaximum);
    // Marks the bounds for redraw (when shown); with `notify` also reports a change to the owners.
    virtual void InvalidateView(bool notify);
    // Input, routed down the tree; true when handled.
    virtual bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window);
    virtual bool KeyDown(uint8_t key, int32_t value);
    virtual bool MouseMove(int32_t h, int32_t v, BitFlags modifiers);
    virtual void Idle();
    // The clipboard operations of the clipboard tasks; modes 0 cut, 1 copy, 2 paste, 3 replace,
    // 4 clear. A plain view has nothing to give or take.
    using SmartImplementation::Copy;
    virtual void Copy(SmartPtr<Smart>& copied);
    // `undoingCut` is 1 when a cut is being undone.
    virtual void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v);
    virtual void Clear();
    virtual bool CanClip(int32_t mode);
    // Inverts a 2-pixel ring just inside the bounds on the device; twice restores it.
    virtual void InvertFrame();
    // Moves the edges by the deltas, children following by their sizing masks.
    virtual void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db);
    // Runs activation again down the tree when focused.
    virtual void RefocusSelf();
    // (minimum width, minimum height, maximum width, maximum height).
    virtual Rect GetSizeLimits();
    virtual void ActiveChanged(bool active);
    virtual void LimitVertical(const Rect& parent, int32_t* shrink, int32_t* grow);
    virtual void LimitHorizontal(const Rect& parent, int32_t* shrink, int32_t* grow);
    // The view's own limits in the form of GetSizeLimits; none: all zero.
    virtual Rect GetOwnLimits();

    // Children. Empty references are ignored.
    void AddChild(const SmartPtr<View>& child);
    void RemoveChild(const SmartPtr<View>& child);
    void RemoveAllChildren();
    // The first focused child, or empty.
    SmartPtr<View> GetFocusChild() const;
    // The 1-based index of the focused child in `list`, 0 when none is focused.
    static uint32_t FocusIndex(const SmartList<View>& list);
    // Only `child` focused among the children (empty: none); a child that does not take focus
    // changes nothing.
    void SetFocusChild(const SmartPtr<View>& child);
    // The topmost shown child containing the point; with `focus` it becomes the focused child.
    SmartPtr<View> ChildAt(int32_t h, int32_t v, bool focus);

    bool IsFocused() const { return (state & kFocused) != 0; }
    bool IsActive() const { return (state & kActive) != 0; }
    bool IsVisible() const { return (state & kShown) != 0; }
    bool IsHidden() const { return (state & kHidden) != 0; }
    bool TakesFocus() const { return (state & kTakesFocus) != 0; }
    uint8_t GetState() const { return state; }
    uint8_t GetSizing() const { return sizing; }

    // The bit propagation; each does nothing when the bit already has the value.
    void SetParentShown(bool parentShown);
    void SetShown(bool shown);
    void SetFocused(bool focused);
    void SetOwnerActive(bool ownerActive);
    void SetActive(bool active);

    // Right and bottom edges count as inside.
    bool ContainsPoint(int32_t h, int32_t v) const;
    // Right and bottom edges exclusive.
    bool IntersectsRect(int32_t left, int32_t top, int32_t right, int32_t bottom) const;

    // A new buffer starts wholly out of date; without its buffer the view and whatever drew into
    // the buffer draw on the frame.
    void SetBuffered(bool buffered);
    bool IsBuffered() const { return buffer.Valid(); }
    // Whether the view draws through an off-screen picture (its buffer).
    bool HasPicture() const { return buffer.Valid(); }
    // Where children made with on-frame false draw: the buffer, else the device.
    DisplayDevice& GetDrawingDevice() const;
    DisplayDevice& GetDevice() const;
    // Moves the view onto another device of its tree (its children stay where they are).
    void SetDevice(DisplayDevice& device);
    // Fails "data != NULL" when the view has no frame.
    SmartPtr<WindowFrame> GetFrame() const;
    SmartPtr<ViewNotifier> GetNotifier() const { return notifier; }
    SmartPtr<pw::ui::ViewBuffer> GetBuffer() const;
    // The point given in `from`'s coordinates, in this view's: always the same point.
    Point ConvertPoint(const SmartPtr<View>& from, int32_t h, int32_t v);
    // Copies the buffer into the port within `area` (fails "buffer != NULL" without one).
    void BlitBuffer(DisplayPort& port, const Area& area);
    void BlitBufferToFrame(const Area& area);
    // (left + 4, 20n + 4, right - 4, 20n + 20) for n children: counted from the surface's top.
    Rect NextStackRect() const;
    // Mode 0 stops the idle ticks; any other mode ticks every `period` ms (see IdleChore).
    void SetIdle(int32_t mode, uint32_t period);

    // Reports to the window's owners.
    void NotifyChanged();
    void NotifyTask(const SmartPtr<Task>& task);
    void NotifyWindowOpened(const SmartPtr<Window>& window);
    void NotifyCommand(const SmartPtr<GenericSignal>& signal);

    // InvalidationTarget: the buffer and every device from the view's own to the frame add
    // `removed` to what they redraw.
    void ImageChanged(const Area& removed, const Area& added) override;

private:
    // Applies the child's sizing mask to the parent's deltas and moves the child.
    static void FollowParent(View& child, int32_t dl, int32_t dt, int32_t dr, int32_t db);

    uint8_t state { 0 };
    uint8_t sizing { kSizeStretch };
    Rect bounds { 0, 0, 0, 0 };
    SmartList<View> children;
    SmartPtr<ViewNotifier> notifier;
    SmartPtr<IdleChore> idle;
    SmartPtr<WindowFrame> frame;
    SmartPtr<pw::ui::ViewBuffer> buffer;
};
