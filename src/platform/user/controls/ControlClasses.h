#pragma once

namespace pw::platform::user {

// Registers the system window classes "BUTTON", "SCROLLBAR", "EDIT", "STATIC" and "LISTBOX".
// Runs from a static initialiser of the platform library and again after every test reset (which
// empties the class registry); registering twice is harmless.
void RegisterControlClasses();

} // namespace pw::platform::user
