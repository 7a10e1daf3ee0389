#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/View.h"

#include <windows.h>

#include <cstdint>

class App;
class Task;
class ViewNotifier;
class WindowFrame;
class WindowOwner;

// The framework's window: the root View of a tree drawn on its WindowFrame. The window makes its
// frame and its ViewNotifier (shared by all its views), reports through the notifier to its
// owners (the application, a document window), and keeps one undo step. Whether the next undo
// runs Undo or Redo belongs to the window that holds the step. Windows are found from a native
// handle through the frame table; the class knows the running application.
class Window : public View {
    PW_CLASS_INFO(Window)
    PW_COPY_SLOTS

public:
    // The menu command whose item the undo step retitles "Undo" and "Redo".
    static constexpr uint32_t kUndoCommand = 90;

    // The framework's default window size, 250 by 250.
    static const Point defaultSize;

    // A hidden window whose drawing surface is `size`; `title` may be empty.
    Window(const SmartPtr<String>& title, int32_t kind, bool firstFrameFlag, bool secondFrameFlag, const Point& size);
    ~Window() override;

    // The framework window of a native window, or empty.
    static SmartPtr<Window> FromHandle(HWND hwnd);
    static void SetApplication(App* app);
    static App* GetApplication();

    void AddOwner(WindowOwner* owner);
    void RemoveOwner(WindowOwner* owner);
    // Passes `value` to the clients of the window's notifier.
    void Refresh(void* value);

    // Shows or hides the view tree and the frame.
    void Show(bool visible) override;
    // Whether the window may close now; mode 2 may ask the user. The window's own answer is true.
    virtual bool CanClose(int32_t mode);
    // Closes the window when it may (asking without questions): its owners are told, then the
    // frame goes. The window stays alive while references hold it.
    virtual void Close();
    // The frame's close box was pressed (WM_CLOSE). True when the window took care of it itself;
    // the window's own answer is false, and the application closes it.
    virtual bool CloseBoxPressed();
    // Answers a paint request: redraws what waits on the frame.
    virtual void Draw();
    // Follows the frame's new client size.
    virtual void Resized();
    // The frame moved on the screen (its caption dragged, SetFrame); the window's own answer is
    // nothing.
    virtual void Moved();

    // Repaints the frame at once (a paint request when something waits).
    void UpdateNow();
    // Sizes the window around its content; true keeps the content's size.
    void SizeToFit(bool keepContentSize);
    // Moves and sizes the frame's outer rectangle, kept on the screen.
    void SetFrame(const Rect& rect);
    Rect GetRect() const;
    // Gives the frame the outer size (both positive), keeping its position, on the screen.
    void SetSize(int32_t width, int32_t height);
    // The top-left corner of the drawing surface on the screen.
    Point GetContentOrigin() const;
    // Hands the window to the application (AddWindow), when there is one.
    void TellApp(bool bringToFront);
    // The window that becomes the front window when `window` goes: the newest other shown window of
    // the application that does not float; empty when none.
    static SmartPtr<Window> NextWindow(Window* window, bool flag);

    // Makes the task the window's one undo step (the next undo runs its Undo) and retitles the undo
    // item "Undo"; an empty task is ignored.
    void SetUndoTask(const SmartPtr<Task>& task);
    // Runs the step's Undo or Redo, alternating, and retitles the item for the next one.
    virtual void Undo();
    void ForgetUndo();
    bool HasUndoTask() const { return undoTask.Valid(); }
    SmartPtr<Task> GetUndoTask() const;
    bool UndoesNext() const { return undoNext; }
    // Retitles the undo item for this window's next undo ("Undo" or "Redo") when it is the front window.
    void ShowUndoTitle() const;

private:
    SmartPtr<Task> undoTask;
    bool undoNext { true };
};
