#include "ui/Window.h"

#include "ui/App.h"
#include "ui/MenuBar.h"
#include "ui/Task.h"
#include "ui/ViewNotifier.h"
#include "ui/WindowFrame.h"

#include <algorithm>
#include <vector>

PW_DEFINE_CLASS(Window, nullptr, nullptr, View)
PW_DEFINE_NO_COPY_SLOTS(Window)

const Point Window::defaultSize(250, 250);

namespace {

App* application = nullptr;

// The root view is built on the frame, so the frame is made before the base.
WindowFrame& MakeFrame(const SmartPtr<String>& title, int32_t kind, bool firstFlag, bool secondFlag, const Point& size)
{
    return *new WindowFrame(title.Get(), kind, firstFlag, secondFlag, size);
}

} // namespace

Window::Window(const SmartPtr<String>& title, int32_t kind, bool firstFrameFlag, bool secondFrameFlag, const Point& size)
    : View(MakeFrame(title, kind, firstFrameFlag, secondFrameFlag, size), new ViewNotifier, true, false, false)
{
    GetFrame()->SetWindow(this);
}

Window::~Window()
{
    SmartPtr<WindowFrame> frame = GetFrame();
    if (frame->GetWindow() == this)
        frame->SetWindow(nullptr);
}

SmartPtr<Window> Window::FromHandle(HWND hwnd)
{
    WindowFrame* frame = WindowFrame::FromHandle(hwnd);
    Window* window = frame ? frame->GetWindow() : nullptr;
    // A window that nobody holds yet is still being built: it takes no events, and a handle taken
    // and dropped here would free it.
    if (!window || window->ReferenceCount() == 0)
        return SmartPtr<Window>();
    return window;
}

void Window::SetApplication(App* app)
{
    application = app;
}

App* Window::GetApplication()
{
    return application;
}

void Window::AddOwner(WindowOwner* owner)
{
    GetNotifier()->AddOwner(owner);
}

void Window::RemoveOwner(WindowOwner* owner)
{
    GetNotifier()->RemoveOwner(owner);
}

void Window::Refresh(void* value)
{
    GetNotifier()->BroadcastClients(static_cast<WindowOwner*>(value));
}

void Window::Show(bool visible)
{
    View::Show(visible);
    GetFrame()->Show(visible);
}

bool Window::CanClose(int32_t)
{
    return true;
}

void Window::Close()
{
    // Whoever decided to close already asked with its own mode; here only what needs no question.
    if (!CanClose(1))
        return;
    SmartPtr<Window> self;
    if (ReferenceCount() > 0)
        self = this;
    GetNotifier()->WindowClosed(self);
    View::Show(false);
    GetFrame()->Destroy();
}

void Window::Draw()
{
    SmartPtr<WindowFrame> frame = GetFrame();
    frame->BeginDraw(1);
    try {
        Update(*frame.Get());
    } catch (...) {
        frame->EndDraw();
        throw;
    }
    frame->EndDraw();
}

void Window::Resized()
{
    Rect client = GetFrame()->GetBounds();
    SetBounds(0, 0, client.right, client.bottom);
}

void Window::Moved()
{
}

bool Window::CloseBoxPressed()
{
    return false;
}

void Window::UpdateNow()
{
    GetFrame()->UpdateNow();
}

void Window::SizeToFit(bool keepContentSize)
{
    SmartList<View> children = GetChildren();
    if (children.NumItems() == 0)
        return;
    std::vector<Rect> before;
    Rect content = children.Item(1)->GetBounds();
    for (uint32_t i = 1; i <= children.NumItems(); ++i) {
        Rect bounds = children.Item(i)->GetBounds();
        before.push_back(bounds);
        content = content.Union(bounds);
    }
    // The content keeps its distance from the top-left corner on the far sides too.
    Point size(content.right + std::max(content.left, 0), content.bottom + std::max(content.top, 0));
    SmartPtr<WindowFrame> frame = GetFrame();
    Rect outer = frame->GetRect();
    Point outerSize = frame->OuterSize(size);
    SetFrame(Rect(outer.left, outer.top, outer.left + outerSize.h, outer.top + outerSize.v));
    if (!keepContentSize)
        return;
    for (uint32_t i = 1; i <= children.NumItems() && i <= before.size(); ++i) {
        const Rect& old = before[i - 1];
        children.Item(i)->SetBounds(old.left, old.top, old.right, old.bottom);
    }
}

void Window::SetFrame(const Rect& rect)
{
    Rect screen = WindowFrame::ScreenRect();
    int32_t width = std::min(rect.right - rect.left, screen.right - screen.left);
    int32_t height = std::min(rect.bottom - rect.top, screen.bottom - screen.top);
    int32_t left = std::clamp(rect.left, screen.left, screen.right - width);
    int32_t top = std::clamp(rect.top, screen.top, screen.bottom - height);
    GetFrame()->SetRect(Rect(left, top, left + width, top + height));
    Resized();
}

Rect Window::GetRect() const
{
    return GetFrame()->GetRect();
}

void Window::SetSize(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return;
    Rect outer = GetRect();
    SetFrame(Rect(outer.left, outer.top, outer.left + width, outer.top + height));
}

Point Window::GetContentOrigin() const
{
    return GetFrame()->GetContentBounds().TopLeft();
}

void Window::TellApp(bool bringToFront)
{
    if (application)
        application->AddWindow(this, bringToFront);
}

SmartPtr<Window> Window::NextWindow(Window* window, bool)
{
    if (!application)
        return SmartPtr<Window>();
    for (uint32_t i = application->NumWindows(); i >= 1; --i) {
        SmartPtr<Window> candidate = application->GetWindow(i);
        if (!candidate.Valid() || candidate.Get() == window || !candidate->IsVisible())
            continue;
        if (candidate->GetFrame()->GetLayerKind() != WindowFrame::kFloatingLayer)
            return candidate;
    }
    return SmartPtr<Window>();
}

void Window::SetUndoTask(const SmartPtr<Task>& task)
{
    if (!task.Valid())
        return;
    undoTask = task;
    undoNext = true;
    ShowUndoTitle();
}

void Window::Undo()
{
    if (!undoTask.Valid())
        return;
    // The step may replace itself while it runs; it stays alive until it returns.
    SmartPtr<Task> step = undoTask;
    if (undoNext)
        step->Undo();
    else
        step->Redo();
    undoNext = !undoNext;
    ShowUndoTitle();
}

SmartPtr<Task> Window::GetUndoTask() const
{
    return undoTask;
}

void Window::ForgetUndo()
{
    undoTask = SmartPtr<Task>();
    undoNext = true;
    ShowUndoTitle();
}

void Window::ShowUndoTitle() const
{
    if (!application || !application->GetMenuBar().Valid())
        return;
    // The item speaks for the front window's step.
    SmartPtr<Window> front = application->FrontWindow();
    if (!front.Valid() || front.Get() == this)
        application->GetMenuBar()->RetitleItem(kUndoCommand, undoNext ? "Undo" : "Redo");
}
