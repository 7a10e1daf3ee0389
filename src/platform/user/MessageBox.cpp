// MessageBoxA and MessageBeep. On the headless backend a box is answered from the test script; on
// a real screen it is drawn over the desktop and runs its own loop, in which posted messages,
// paints and timers keep being dispatched while input goes only to the box.
#include <windows.h>

#include "platform/backend/Backend.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Problems.h"
#include "platform/user/Alerts.h"
#include "platform/user/BoxPainter.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"

#include <algorithm>

using pw::platform::AlertRecord;
using pw::platform::Alerts;

namespace {

// Messages dispatched between two looks at the box's own input, so a window that never validates
// its paint cannot keep the box from being answered.
constexpr int kDispatchesPerRound = 100;

int AnswerFromScript(AlertRecord& record)
{
    std::optional<int> answer = Alerts::TakeScriptedAnswer();
    if (!answer) {
        record.scripted = false;
        pw::platform::testing::ReportProblem("unscripted message box: \"" + record.text + "\" (caption \""
            + record.caption + "\")");
        return 0;
    }
    std::vector<int> buttons = Alerts::ButtonsOf(record.style);
    if (*answer != 0 && std::find(buttons.begin(), buttons.end(), *answer) == buttons.end())
        pw::platform::testing::ReportProblem("scripted answer " + std::to_string(*answer)
            + " is not a button of the message box \"" + record.text + "\"");
    return *answer;
}

pw::platform::Frame Desktop()
{
    if (const pw::platform::Frame* frame = pw::platform::LastPresentedFrame())
        return *frame;
    return pw::platform::Frame::Blank(640, 480, 7);
}

// The answer of a key: Return takes the default button; Esc cancels when the box can be cancelled
// (or has only OK); other keys do nothing.
int AnswerForKey(UINT key, UINT style, const std::vector<int>& buttons)
{
    if (key == VK_RETURN || key == VK_SPACE) {
        size_t index = (style & MB_DEFMASK) >> 8;
        return buttons[std::min(index, buttons.size() - 1)];
    }
    if (key == VK_ESCAPE && (buttons.back() == IDCANCEL || buttons.size() == 1))
        return buttons.back();
    return 0;
}

int RunDrawnBox(const AlertRecord& record)
{
    using namespace pw::platform;
    std::vector<int> buttons = Alerts::ButtonsOf(record.style);
    Frame desktop = Desktop();
    BoxPainter painter(desktop.width, desktop.height, record.text, record.caption, buttons);
    std::vector<InputEvent> keptEvents;
    uint64_t shownSerial = FrameSerial() + 1;
    int pressed = 0;
    int shownPressed = -1;
    int answer = 0;
    while (answer == 0) {
        if (shownSerial != FrameSerial() || shownPressed != pressed) {
            Frame overlay = Desktop();
            painter.Draw(overlay, pressed);
            PresentOverlay(overlay);
            shownSerial = FrameSerial();
            shownPressed = pressed;
        }
        int dispatched = 0;
        while (dispatched < kDispatchesPerRound && MessageLoop::DispatchOne())
            ++dispatched;
        // What ran may have shown other things (a nested box) over this one.
        if (dispatched > 0)
            shownPressed = -1;
        // A quit ends the box; it stays pending for the loop that called the box.
        if (MessageQueue::QuitPending())
            return Alerts::DismissAnswer(record.style);
        InputEvent event;
        while (answer == 0 && TakeInputEvent(event)) {
            if (event.kind == InputKind::MouseDown && event.button == MouseButton::Left)
                pressed = painter.HitButton(event.x, event.y);
            else if (event.kind == InputKind::MouseUp && event.button == MouseButton::Left) {
                answer = pressed && pressed == painter.HitButton(event.x, event.y) ? pressed : 0;
                pressed = 0;
            } else if (event.kind == InputKind::KeyDown)
                answer = AnswerForKey(event.virtualKey, record.style, buttons);
            else if (event.kind == InputKind::CloseRequest)
                answer = AnswerForKey(VK_ESCAPE, record.style, buttons);
            else if (event.kind == InputKind::Activate || event.kind == InputKind::Deactivate)
                keptEvents.push_back(event);
        }
        if (answer == 0 && !MessageLoop::WaitForWork())
            return Alerts::DismissAnswer(record.style);
    }
    PresentOverlay(Desktop());
    for (const InputEvent& event : keptEvents)
        PushInputEvent(event);
    return answer;
}

} // namespace

// Shows a modal box and returns the button chosen (IDOK, IDCANCEL, IDYES, ...), or 0 when the box
// cannot be shown. A NULL caption reads "Error", as documented.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    if (owner && !pw::platform::WindowTable::Find(owner))
        return pw::platform::Fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (Alerts::ButtonsOf(type).empty())
        return pw::platform::Fail(ERROR_INVALID_PARAMETER, 0);
    AlertRecord record { owner, text ? text : "", caption ? caption : "Error", type, 0, true };
    if (&pw::platform::CurrentBackend() == &pw::platform::kHeadlessBackend)
        record.answer = AnswerFromScript(record);
    else
        record.answer = RunDrawnBox(record);
    int answer = record.answer;
    Alerts::Record(std::move(record));
    return answer;
}

// Asks for the default beep; the sound device plays it. Logged for tests.
BOOL WINAPI MessageBeep(UINT type)
{
    Alerts::RecordBeep(type);
    return TRUE;
}
