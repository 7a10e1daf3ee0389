// What tests use to drive the platform: the virtual clock, the message loop, scripted message
// boxes and the logs of alerts and beeps. Every setting here is undone by the reset before each
// test. Include <windows.h> beside it for the message-box answers (IDOK, ...).
#pragma once

#include "platform/user/Alerts.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace pw::platform::testing {

// Restarts the virtual clock at `utcFileTime` (100 ns units since 1601-01-01) with GetTickCount at
// `tickCount`; live timers stay due as far ahead as they were. The GetTickCount step goes back to
// its default (Clock::SetTickStep changes it).
void SetClock(uint64_t utcFileTime, uint32_t tickCount = 0);

// Moves the virtual clock forward without dispatching anything; ticks that fall due wait.
void AdvanceClock(uint64_t ms);

// Milliseconds of virtual time since the clock was (re)started; reading it does not move it.
uint64_t ClockMs();

// Dispatches posted messages, paints and due timers until none is left, without moving the
// clock (a dispatched procedure may move it). A pending WM_QUIT stops the run and stays pending.
// Returns how many messages were dispatched.
size_t RunUntilIdle();

// Runs the loop for `ms` of virtual time: dispatches what is due, jumps to each timer that falls
// due within the span, and leaves the clock at the span's end (or later, when procedures moved
// it). Stops early at a pending WM_QUIT. Returns how many messages were dispatched.
size_t RunFor(uint64_t ms);

// Whether a WM_QUIT waits, and its exit code.
bool QuitPending(int* exitCode = nullptr);

// Called when a GetMessageA loop in virtual time finds nothing to do, before it jumps the clock;
// answer true after making work (posting, advancing), false to let the loop jump or end.
void SetIdleHandler(std::function<bool()> handler);

// The number of idle moments (clock jumps) after which a loop is reported as runaway and ended.
// RunUntilIdle and RunFor restart the count. Default 100,000.
void SetRunawayLimit(size_t jumps);

// Answers for the next message boxes, in order: IDOK, IDCANCEL, IDYES, IDNO, ... or 0 (the box
// could not be shown). A box with no answer left fails the running test and answers 0.
void ScriptMessageBoxes(std::initializer_list<int> answers);
size_t ScriptedMessageBoxesLeft();

// Every message box asked for since the reset, oldest first, and how many had no scripted answer.
const std::vector<AlertRecord>& AlertLog();
size_t UnscriptedMessageBoxCount();

// Every MessageBeep since the reset, oldest first.
const std::vector<BeepRecord>& BeepLog();

// Writes the screen's last presented frame as an 8-bit BMP file (for a failing pixel test); false
// when nothing was presented yet or the file cannot be written.
bool DumpScreenAsBmp(const std::string& path);

} // namespace pw::platform::testing
