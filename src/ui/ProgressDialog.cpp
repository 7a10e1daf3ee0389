#include "ui/ProgressDialog.h"

#include "foundation/Signal.h"
#include "foundation/Utilities.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/TextStyle.h"
#include "ui/App.h"
#include "ui/WindowFrame.h"

#include <cstring>

PW_DEFINE_CLASS(ProgressDialog, nullptr, nullptr, Dialog)

namespace {

constexpr Point kClientSize(400, 65);
constexpr Point kPlace(120, 100);
constexpr Rect kBarRect(10, 10, 390, 25);
constexpr Rect kTextRect(10, 40, 340, 62);
constexpr Rect kStopRect(340, 35, 390, 55);
constexpr int kTextColor = 1;

// The dialog's line of text, drawn in the standard text style.
class TextLine : public View {
public:
    TextLine(View* parent, const Rect& bounds, const SmartPtr<String>& text)
        : View(parent, bounds, kSizeTopLeft, false, false)
        , text(text)
    {
    }

    void SetText(const String& newText)
    {
        text = new String(newText);
        InvalidateView(false);
    }
    const String& GetText() const { return *text.Get(); }

    void DrawContent(DisplayPort& port, Area&) override { text->Draw(port, GetBounds(), Color(kTextColor)); }

private:
    SmartPtr<String> text;
};

// A push button that sends its command signal to its watcher when pressed (and the signal is
// not disabled for it).
class CommandButton : public View {
public:
    CommandButton(View* parent, const Rect& bounds, const char* title, const SmartPtr<GenericSignal>& signal,
        Smart* watcher)
        : View(parent, bounds, kSizeTopLeft, false, false)
        , title(title)
        , signal(signal)
        , watcher(watcher)
    {
    }

    bool MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&) override
    {
        if (signal->GetSignalStatus(watcher) != GenericSignal::disabled)
            signal->Send(watcher);
        return true;
    }

    void DrawContent(DisplayPort& port, Area&) override
    {
        Rect bounds = GetBounds();
        port.DrawRectangle(bounds, Color(0), Color(kTextColor), 1);
        TextStyle style(1, 12, 0, Color(kTextColor), Color(Color::kNoColor));
        style.SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        port.DrawText(title, static_cast<int32_t>(std::strlen(title)), Rect(bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1), style);
    }

private:
    const char* title;
    SmartPtr<GenericSignal> signal;
    Smart* watcher;
};

// The Stop button's command: cancel the dialog.
class CancelSignal : public Signal<Dialog> {
public:
    CancelSignal()
        : Signal(PW_HERE)
    {
    }

protected:
    void Act(Dialog& dialog) override { dialog.Cancel(); }
};

} // namespace

ProgressDialog::ProgressDialog(const String& titleText)
    : Dialog(2)
    , title(new String(titleText))
    , lastPoll(TickCount() - kPollIntervalMs)
{
    // Polled from inside the work: waiting for input would stall it.
    SetWaitWhenIdle(false);
    bar = new ProgressBar(this, kBarRect);
    text = new TextLine(this, kTextRect, title);
    stop = new CommandButton(this, kStopRect, "Stop", new CancelSignal, this);
    Point outer = GetFrame()->OuterSize(kClientSize);
    SetFrame(Rect(kPlace.h, kPlace.v, kPlace.h + outer.h, kPlace.v + outer.v));
    AddChild(text);
    AddChild(bar.Get());
    AddChild(stop);
}

bool ProgressDialog::Poll()
{
    if (TickCount() - lastPoll < kPollIntervalMs)
        return true;
    bool open = Dialog::Poll();
    lastPoll = TickCount();
    return open;
}

void ProgressDialog::SetProgress(uint32_t value, uint32_t maximum)
{
    Poll();
    if (bar->SetValue(value, maximum) && !IsClosed()) {
        bar->InvalidateView(false);
        UpdateNow();
    }
}

void ProgressDialog::SetText(const String& newText)
{
    static_cast<TextLine*>(text.Get())->SetText(newText);
    if (!IsClosed())
        UpdateNow();
    Poll();
}

void ProgressDialog::Reveal()
{
    if (IsVisible() || WasCancelled())
        return;
    if (App* app = Window::GetApplication())
        app->ActivateWindow(this);
    else
        Show(true);
}

String ProgressDialog::GetText() const
{
    return static_cast<TextLine*>(text.Get())->GetText();
}

Rect ProgressDialog::GetStopRect() const
{
    return kStopRect;
}
