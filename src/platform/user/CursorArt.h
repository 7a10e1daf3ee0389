#pragma once

namespace pw::platform {

// System cursor art in the cursor file format (Cursors.h): IDC_ARROW, IDC_WAIT, IDC_IBEAM and
// IDC_CROSS.
extern const char* const kArrowArt;
extern const char* const kWaitArt;
extern const char* const kIBeamArt;
extern const char* const kCrossArt;

} // namespace pw::platform
