#include "ui/ProgressRange.h"

#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "foundation/UserCancelException.h"
#include "foundation/Utilities.h"
#include "ui/App.h"
#include "ui/ProgressDialog.h"
#include "ui/Window.h"

#include <string>

namespace {

// Work shorter than this never brings its dialog to the front.
constexpr uint32_t kRevealDelayMs = 500;
// Subdivisions stay below this many units.
constexpr uint32_t kScaleLimit = 0x7FFFFFFF;

// The one progress state of the program. Position and target are in units of which the bar's full
// length holds `total`; the target runs ahead of the position by the step being worked on.
struct ProgressState {
    bool enabled { true };
    SmartPtr<ProgressDialog> dialog;
    uint32_t start { 0 };
    uint32_t position { 0 };
    uint32_t target { 1 };
    uint32_t total { 1 };
};

ProgressState& State()
{
    static ProgressState state;
    return state;
}

// Object files and folder preview sets report their progress through ranges of this floor.
const bool progressServicesLent = [] {
    pw::foundation::FileReferenceServices& services = pw::foundation::GetFileReferenceServices();
    services.openProgress = [](int32_t steps, const char* title) -> void* {
        return new ProgressRange(steps > 0 ? static_cast<uint32_t>(steps) : 0, String(title));
    };
    services.advanceProgress = [](void* range, int32_t steps) {
        static_cast<ProgressRange*>(range)->Advance(steps > 0 ? static_cast<uint32_t>(steps) : 0);
    };
    services.closeProgress = [](void* range) { delete static_cast<ProgressRange*>(range); };
    return true;
}();

} // namespace

ProgressRange::ProgressRange(uint32_t count, const String& title)
    : count(count)
{
    ProgressState& state = State();
    if (!state.enabled)
        return;
    // A stopped dialog that outlived its operation gives way to a fresh one.
    if (WasStopped())
        state.dialog = SmartPtr<ProgressDialog>();
    if (!state.dialog.Valid()) {
        SmartPtr<ProgressDialog> dialog(new ProgressDialog(title));
        try {
            dialog->TellApp(false);
            dialog->UpdateNow();
        } catch (...) {
            dialog->Close();
            throw;
        }
        made = dialog;
        state.dialog = dialog;
        state.start = TickCount();
        state.total = count;
        state.position = 0;
        factor = count;
    } else {
        uint32_t steps = count;
        if (state.total == 0 || steps >= kScaleLimit / state.total)
            steps = 0;
        if (steps == 0) {
            scale = 0;
        } else {
            // This range's steps share out the outer range's current step, in units `steps` times finer.
            scale = state.target > state.position ? state.target - state.position : 0;
            state.total *= steps;
            state.position *= steps;
            state.target *= steps;
            factor = steps;
        }
    }
    if (scale != 0)
        state.target = state.position;
}

// The scaling is undone and the dialog closed even while progress is switched off, so that the
// outer ranges find their own units and no dialog is left behind.
ProgressRange::~ProgressRange()
{
    ProgressState& state = State();
    try {
        if (state.enabled && scale != 0)
            Update();
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    } catch (...) {
    }
    if (made.Valid()) {
        try {
            if (!made->IsClosed())
                made->Close();
        } catch (Exception*) {
            CurrentException() = SmartPtr<Exception>();
        } catch (...) {
        }
        if (state.dialog == made)
            state.dialog = SmartPtr<ProgressDialog>();
    }
    if (factor != 0) {
        state.total /= factor;
        state.position /= factor;
        state.target /= factor;
    }
}

void ProgressRange::Advance(uint32_t steps)
{
    ProgressState& state = State();
    if (!state.enabled)
        return;
    // The bar shows where the previous advance got to: a range opened after this advance
    // subdivides exactly the step that begins here.
    Update();
    SmartPtr<ProgressDialog> dialog = state.dialog;
    if (dialog.Valid() && dialog->WasCancelled())
        ThrowPointer(SmartPtr<Exception>(new UserCancelException));
    uint64_t newDone = uint64_t(done) + steps;
    uint64_t newTarget = uint64_t(state.target) + uint64_t(scale) * steps;
    if (scale != 0 && newDone > count) {
        // Past the end: back to the end of the range, which moves the bar no further.
        newTarget -= (newDone - count) * scale;
        scale = 0;
    }
    state.target = static_cast<uint32_t>(newTarget);
    done = newDone > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(newDone);
    if (dialog.Valid() && !dialog->IsClosed())
        dialog->UpdateNow();
}

void ProgressRange::AdvanceWithText(const String& text, uint32_t steps)
{
    ProgressState& state = State();
    if (!state.enabled)
        return;
    Advance(steps);
    SmartPtr<ProgressDialog> dialog = state.dialog;
    if (!dialog.Valid())
        return;
    String line(text);
    // A range that does not move the bar shows how far it got in the text instead.
    if (scale == 0)
        line.AppendChars(std::to_string(done).c_str());
    dialog->SetText(line);
    if (!dialog->IsClosed())
        dialog->UpdateNow();
}

void ProgressRange::Update()
{
    ProgressState& state = State();
    SmartPtr<ProgressDialog> dialog = state.dialog;
    if (!state.enabled || !dialog.Valid())
        return;
    if (scale != 0)
        state.position = state.target;
    dialog->SetProgress(state.position, state.total);
    if (TickCount() - state.start >= kRevealDelayMs && !dialog->IsClosed()) {
        dialog->Reveal();
        dialog->UpdateNow();
    }
}

void ProgressRange::SetVisible(bool visible)
{
    ProgressState& state = State();
    state.enabled = visible;
    SmartPtr<ProgressDialog> dialog = state.dialog;
    if (!dialog.Valid() || dialog->IsClosed())
        return;
    if (visible) {
        dialog->Reveal();
        dialog->UpdateNow();
    } else {
        dialog->Show(false);
    }
}

bool ProgressRange::IsVisible()
{
    return State().enabled;
}

SmartPtr<ProgressDialog> ProgressRange::CurrentDialog()
{
    return State().dialog;
}

bool ProgressRange::WasStopped()
{
    SmartPtr<ProgressDialog> dialog = State().dialog;
    return dialog.Valid() && dialog->WasCancelled();
}

void pw::ui::testing::ResetProgress()
{
    State() = ProgressState();
}
