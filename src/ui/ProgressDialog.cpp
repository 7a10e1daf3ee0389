#include "ui/ProgressDialog.h"

#include "foundation/Utilities.h"
#include "ui/App.h"
#include "ui/DialogSignals.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(ProgressDialog, nullptr, nullptr, Dialog)

namespace {

constexpr Point kClientSize(400, 65);
constexpr Point kPlace(120, 100);
constexpr Rect kBarRect(10, 10, 390, 25);
constexpr Rect kTextRect(10, 40, 340, 62);
constexpr Rect kStopRect(340, 35, 390, 55);

} // namespace

ProgressDialog::ProgressDialog(const String& titleText)
    : Dialog(2)
    , title(new String(titleText))
    , lastPoll(TickCount() - kPollIntervalMs)
{
    // Polled from inside the work: waiting for input would stall it.
    SetWaitWhenIdle(false);
    bar = new ProgressBar(this, kBarRect);
    text = new TextView(this, kTextRect.left, kTextRect.top, kTextRect.right, kTextRect.bottom, title, kSizeTopLeft,
        false, false, true, false);
    stop = new ViewControl(this, kStopRect.left, kStopRect.top, kStopRect.right, kStopRect.bottom, String("Stop"),
        new pw::ui::DialogCancelSignal, this);
    Point outer = GetFrame()->OuterSize(kClientSize);
    SetFrame(Rect(kPlace.h, kPlace.v, kPlace.h + outer.h, kPlace.v + outer.v));
    AddChild(text.Get());
    AddChild(bar.Get());
    AddChild(stop.Get());
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
    text->SetText(newText);
    if (!IsClosed()) {
        text->InvalidateView(false);
        UpdateNow();
    }
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
