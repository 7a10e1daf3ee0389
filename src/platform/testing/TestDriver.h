// What tests use to drive the platform: the virtual clock, the message loop, input at desktop
// coordinates, scripted message boxes, the logs of alerts and beeps, and the desktop's pixels.
// Every setting here is undone by the reset before each test. Include <windows.h> beside it for
// the message-box answers (IDOK, ...) and virtual keys.
#pragma once

#include "platform/backend/Backend.h"
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

// Writes the desktop as it shows now (cursor included) as an 8-bit BMP file, for a person to look
// at; false when the file cannot be written.
bool DumpScreenAsBmp(const std::string& path);

// Input at desktop coordinates, queued exactly as the backend queues real input: nothing happens
// until messages are retrieved (RunUntilIdle, or a message loop the test starts). Queue the input
// that ends a modal loop (a menu, a caption drag, a message box) before starting it. Mouse events
// carry the modifier keys held with PressKey.
void MoveMouse(int x, int y);
void PressMouse(int x, int y, MouseButton button = MouseButton::Left);
void ReleaseMouse(int x, int y, MouseButton button = MouseButton::Left);
// Press and release at one point.
void Click(int x, int y, MouseButton button = MouseButton::Left);
// Two clicks at one point: a double click for a CS_DBLCLKS window (no time passes between them).
void DoubleClick(int x, int y);
// A press at the start, `steps` moves along the straight line, the release at the end.
void Drag(int fromX, int fromY, int toX, int toY, int steps = 4);

// Keys by virtual key. VK_SHIFT, VK_CONTROL and VK_MENU stay held from PressKey to ReleaseKey and
// go with every later event.
void PressKey(UINT virtualKey);
void ReleaseKey(UINT virtualKey);
// Press and release.
void TypeKey(UINT virtualKey);
// Types ASCII text on the US layout: letters, digits, punctuation and space, with Shift where
// needed; "\n" or "\r" is Return, "\t" Tab, "\b" Backspace. Code-page characters from 0xA0 (the
// accented letters: "Zo\xE9") come as VK_PACKET keys carrying them. Other characters are reported
// as a test fault.
void TypeText(const std::string& text);

// The host window gains or loses the keyboard: the application is activated or deactivated
// (WM_ACTIVATEAPP TRUE / FALSE to its top-level windows).
void SetAppActive(bool active);
// The host window's close box (the SDL window closed).
void RequestClose();
// The process asked to end, as a termination signal asks it: the quit message is posted.
void RequestQuit();

// The topmost shown window (top-level or child) whose text is `title`; NULL when none.
HWND FindWindowByTitle(const std::string& title);
// Screen points on a window's frame: the middle of its close box, the middle of its window menu's
// box, and a point on its caption left of the title's end (for dragging); (-1, -1) when it has
// none.
POINT CloseBoxPoint(HWND hwnd);
POINT SystemBoxPoint(HWND hwnd);
POINT CaptionPoint(HWND hwnd);
// Clicks the middle of the window's close box.
void ClickCloseBox(HWND hwnd);

// The desktop as it shows now: 8-bit pixels with the system palette, the cursor drawn on top when
// asked (it shows only once the mouse has moved).
Frame ReadDesktop(bool withCursor = false);
bool SaveDesktopAsBmp(const std::string& path, bool withCursor = true);
// The screen under a window's client area (what shows there, other windows included where they
// cover it); an empty frame for a bad window.
Frame ReadClientArea(HWND hwnd);

// Live windows: a test that cleans up ends where it began.
size_t LiveWindowCount();

} // namespace pw::platform::testing
