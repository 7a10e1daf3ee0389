#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "graphics/DisplayDevice.h"

#include <windows.h>

#include <cstdint>

class Window;

namespace pw::ui {

struct OsApp;

} // namespace pw::ui

// The native window behind a framework Window: a child of the main window of the class
// "ChildWClass" (a top-level window when no main window exists), styled by the window kind, and
// the DisplayDevice the window's views draw on. Kinds: 0 document, 1 and 2 dialogs (blocking
// layer), 3 floating palette, 4 selector pop-up, 5 tool column. A paint request draws through
// BeginPaint (draw mode 1), other drawing through GetDC; either way the standard palette is
// selected into the context. Frames are found from their native handle through the frame table.
class WindowFrame : public DisplayDevice {
    PW_CLASS_INFO(WindowFrame)

public:
    static constexpr int32_t kNormalLayer = 0;
    static constexpr int32_t kBlockingLayer = 1;
    static constexpr int32_t kFloatingLayer = 2;
    static constexpr int32_t kNumKinds = 6;

    // A hidden native window whose client area is `size`, titled `title` (none for empty).
    WindowFrame(const String* title, int32_t kind, bool firstFlag, bool secondFlag, const Point& size);
    ~WindowFrame() override;

    // DisplayDevice.
    void BeginDraw(int32_t mode) override;
    void EndDraw() override;
    // The client area, (0, 0, width, height).
    Rect GetBounds() override;
    SmartPtr<ColorTable> GetColorTable() override;
    // Also marks the area in the native window's update region, so a paint request follows.
    void Invalidate(const Area& area) override;
    HDC OSContext() override { return dc; }

    // The frame of a native window, or null.
    static WindowFrame* FromHandle(HWND hwnd);
    static void SetOsApp(pw::ui::OsApp* record);
    // The title-bar height of a kind: 10 for the small-titled kinds, else 18.
    static int32_t TitleHeight(int32_t kind);

    HWND GetOSWindow() const { return hwnd; }
    int32_t GetKind() const { return kind; }
    // 1 blocking, 2 floating, 0 otherwise.
    int32_t GetLayerKind() const;
    // The framework window drawn in this frame (a back-link the window sets and clears).
    Window* GetWindow() const { return window; }
    void SetWindow(Window* owner) { window = owner; }

    // A new String with the native window's text.
    SmartPtr<String> GetTitle() const;
    void SetTitle(const String& title);
    // The point (h, v) of `other`'s coordinates in this frame's: every view of one window shares
    // one space and frames do not convert, so it comes back unchanged.
    Point ConvertPoint(const WindowFrame* other, int32_t h, int32_t v) const;

    void Show(bool visible);
    bool IsShown() const;
    void BringToFront();
    // Keys go to this frame, unless the focus already lies on one of its controls.
    void TakeKeyboard();
    // The outer rectangle, in the parent's client coordinates.
    Rect GetRect() const;
    // The client area in screen coordinates.
    Rect GetContentBounds() const;
    // Moves and sizes the outer rectangle (parent's client coordinates).
    void SetRect(const Rect& rect);
    // The outer size that holds a client area of `size`.
    Point OuterSize(const Point& size) const;
    // The rectangle windows are kept inside: the main window's client area, else the screen.
    static Rect ScreenRect();
    // Sends a paint request at once when part of the client area waits to be drawn.
    void UpdateNow();
    // Destroys the native window; the frame stays as an empty device.
    void Destroy();
    // The native window is being destroyed by someone else: the frame lets go of it.
    void NativeDestroyed();

private:
    HWND hwnd { nullptr };
    int32_t kind;
    // Kept for the window classes that read them; no frame style depends on them.
    [[maybe_unused]] bool firstFlag;
    [[maybe_unused]] bool secondFlag;
    Window* window { nullptr };
    HDC dc { nullptr };
    HPALETTE oldPalette { nullptr };
    bool painting { false };
    PAINTSTRUCT paint {};
};
