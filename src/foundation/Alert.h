// The modal alert through which every report, question and error reaches the user, with the
// 40,000-byte memory reserve it gives back while memory is short so that the box can still show.
#pragma once

#include <windows.h>

#include <cstdint>

// Alert state shared by the whole program.
class Alert {
public:
    // Kinds: plain, information, exclamation, stop. Buttons: OK; OK and Cancel; Yes, No and Cancel.
    // Answers: OK or Yes, Cancel, No.
    static constexpr int kPlain = 0;
    static constexpr int kInformation = 1;
    static constexpr int kExclamation = 2;
    static constexpr int kStop = 3;
    static constexpr int kOk = 0;
    static constexpr int kOkCancel = 1;
    static constexpr int kYesNoCancel = 2;
    static constexpr int16_t kAnswerOk = 0;
    static constexpr int16_t kAnswerCancel = 1;
    static constexpr int16_t kAnswerNo = 2;

    // Until this is called every alert answers Cancel without showing.
    static void EnableAlerts();
    // The window that owns every alert box (the main window once it exists).
    static void SetOwnerWindow(HWND owner);
    static HWND OwnerWindow();
    static uint32_t ReserveSize();
};

// Shows `text` in a modal box and answers which button closed it. An alert asked for while
// another is up, before alerts are enabled, or that the platform cannot show answers Cancel.
int16_t Alert(int kind, int buttons, const char* text);

// The system error box: string 129 with "System Error", the code, the file and the line (none
// below 1), always a stop alert. Code 0 shows nothing.
void SystemErrorAlert(uint32_t code, const char* file, int16_t line);

namespace pw::foundation {

// Tests put alerts back to their state at start-up (disabled) or enable them.
void SetAlertsEnabled(bool enabled);

} // namespace pw::foundation
