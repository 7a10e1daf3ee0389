// Input for the running program from a script, for the end-to-end tests, which start the program
// as its own process and cannot reach its input otherwise. PLUMEWRIGHT_INPUT_SCRIPT names a file
// of steps, one a line, run one at a time each time the program's message loop is about to wait,
// so every step finds the input before it handled:
//   type TEXT    types the text as TypeText does
//   key NAME     presses and releases a key: a letter, a digit, return, escape, tab, backspace,
//                left, right, up, down, alt or f10, with control+, shift+ or alt+ before it held
//   wait MS      lets MS milliseconds pass before the next step
//   waitfile PATH MS  holds the next step until the file PATH exists, or MS milliseconds passed
//   waitbox MS   holds the next step until a message box shows, or MS milliseconds passed
//   click X Y, doubleclick X Y, press X Y, move X Y, release X Y
//                the mouse at desktop coordinates, with the left button
//   drag X1 Y1 X2 Y2 N  a press at the start, N moves along the line, the release at the end
//   shot PATH    saves the desktop as an 8-bit BMP file
//   menu PATH    writes the open drop-down menu: "open" with its screen rectangle, then one line an
//                item: "item", its title, and "grayed" when it is (a separator is "item -")
//   close        the host window's close box
//   quit         a termination request
// Blank lines and lines starting with '#' are skipped; a step it cannot read is reported on stderr
// and skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pw::platform::testing {

class InputScript {
public:
    // Runs the next step when one is due; true when one ran (the loop then looks for input again
    // instead of waiting).
    static bool RunDueStep();
    // When the next step falls due, in milliseconds of the clock, for a loop about to wait; none
    // without a script or with no step left.
    static std::optional<uint64_t> NextDueMs();

    // Runs one step line now; false when it cannot be read. Exposed for the tests of the steps.
    static bool RunStep(const std::string& line);
};

} // namespace pw::platform::testing
