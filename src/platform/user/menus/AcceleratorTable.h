#pragma once

#include <windows.h>

#include <vector>

namespace pw::platform {

// The tables CreateAcceleratorTableA made, named by their HACCEL, and the rule that matches a key
// message against one. Handles are counted and never reused within a run.
class AcceleratorTable {
public:
    static HACCEL Add(std::vector<ACCEL> entries);
    static bool Remove(HACCEL handle);
    // The entries of a live table, or null.
    static const std::vector<ACCEL>* Find(HACCEL handle);
    static size_t Count();

    // The command of the first entry `msg` matches, or -1. A virtual-key entry (FVIRTKEY) matches
    // WM_KEYDOWN and WM_SYSKEYDOWN of its key when Shift, Ctrl and Alt are held exactly as its
    // FSHIFT, FCONTROL and FALT bits say; a character entry matches WM_CHAR of its character
    // (WM_SYSCHAR when it asks for FALT).
    static int Match(const std::vector<ACCEL>& entries, const MSG& msg, bool shift, bool control, bool alt);

    // Test hook: while set, CreateAcceleratorTableA fails, as on the old platform that the
    // program probes for with it.
    static void SetCreationFails(bool fails);
    static bool CreationFails();
};

} // namespace pw::platform
