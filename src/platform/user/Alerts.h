#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// One message box as MessageBoxA was asked for it, and how it was answered.
struct AlertRecord {
    HWND owner { nullptr };
    std::string text;
    std::string caption;
    UINT style { 0 };
    int answer { 0 };
    // False for a headless box that had no scripted answer (a test fault).
    bool scripted { true };
};

struct BeepRecord {
    UINT type { 0 };
    // Clock::NowMs() when the beep was asked for.
    uint64_t timeMs { 0 };
};

// The record of alerts and beeps, and the script that answers message boxes on the headless
// backend. The test driver reads and fills it; outside tests nothing reads it.
class Alerts {
public:
    static void ScriptAnswer(int answer);
    static std::optional<int> TakeScriptedAnswer();
    static size_t ScriptedAnswersLeft();

    static void Record(AlertRecord record);
    static const std::vector<AlertRecord>& Log();
    static size_t UnscriptedCount();

    static void RecordBeep(UINT type);
    static const std::vector<BeepRecord>& Beeps();

    // The answers a box of this style can give, in button order; empty for an unknown style.
    static std::vector<int> ButtonsOf(UINT style);

    // The answer Esc or a close request gives: Cancel when there is one, else OK, else No.
    static int DismissAnswer(UINT style);

    // Whether message boxes and file dialogs are answered from the test script (the headless
    // backend) rather than shown on the desktop. A test sets ShowDialogsInTests to drive the
    // shown ones with injected input.
    static bool AnswersFromScript();
    static void ShowDialogsInTests(bool shown);
};

} // namespace pw::platform
