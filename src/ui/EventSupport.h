// The Windows layer's event support: mouse and key message parameters turned into framework
// values, the test for mouse messages, and the bounded message pump under every modal dialog's
// Poll.
#pragma once

#include "foundation/Point.h"

#include <windows.h>

#include <cstdint>

// The point of a mouse message's coordinate word: h the signed low 16 bits, v the signed high 16.
// The window takes no part.
Point MakeMouseEvent(HWND window, LPARAM packed);

// Bit 0 for MK_SHIFT, bit 2 for MK_CONTROL; nothing else is carried.
uint32_t MakeModifiers(WPARAM keyState);

// Set in the modifier word of a key that arrived as a key press rather than as a character: it
// tells the arrows from the control characters 28 to 31 that share their key codes.
constexpr uint32_t kKeyPressModifier = 1u << 5;

// The framework's key codes of the arrows, in this order.
constexpr uint8_t kLeftArrowKey = 28;
constexpr uint8_t kRightArrowKey = 29;
constexpr uint8_t kUpArrowKey = 30;
constexpr uint8_t kDownArrowKey = 31;

// The framework's key code of the Delete key (it sends no character; Backspace sends 8).
constexpr uint8_t kDeleteKey = 127;

// The framework's key code of a key that sends no character: 28 left, 29 right, 30 up and 31 down
// for the arrows, 127 for Delete; 0 for every other key, whose character (if any) comes as its own
// message.
uint8_t MakeKeyCode(WPARAM virtualKey);

// The client mouse messages 0x200..0x209 and the non-client ones 0xA0..0xA9.
bool IsMouseMessage(UINT message);
// The release of any of the three mouse buttons.
bool IsButtonUp(UINT message);

// Handles waiting messages for at most 500 ms. A mouse message for a window that is neither the
// main window, nor `dialog`, nor a child of `dialog` is dropped and ends the pump, so clicks on
// the program's other windows are lost while a dialog waits. With `waitWhenIdle`, a queue found
// empty at the start is waited on (the next message or timer tick) instead of returning at once.
// A quit request belongs to the outer loop: when the pump finds the quit message, or the
// application stops running while a message is handled, the quit message is left pending and the
// pump answers false, so that the modal loop above it ends instead of spinning on it; else true.
bool PumpMessages(HWND dialog, bool waitWhenIdle = false);

// Whether the platform is the older one, recorded once at start-up for the window set-up code.
bool IsWin31Platform();
