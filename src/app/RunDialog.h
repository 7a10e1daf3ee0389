#pragma once

class Dialog;

namespace pw::app {

// The modal run of an application dialog that is filled: sized to its views, centred by the
// shared decorator, handed to the application as the active window, and polled until it is over.
// True unless it was cancelled.
bool RunCentredDialog(Dialog& dialog);

} // namespace pw::app
