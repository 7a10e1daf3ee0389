#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pw::app {

// What the project-name check makes of a typed name: accepted, or the application string to show
// and the name the dialog offers next.
struct ProjectNameCheck {
    // 0 when the name is accepted; else 59 (too long), 60 (empty) or 61 (a character other than
    // a-z, A-Z and 0-9).
    int32_t message { 0 };
    // The accepted name, or what the dialog shows again: a long name cut to one fewer than the
    // limit, otherwise the default name "Project".
    std::string name;
};

// Checks a name against the name limit (ProjectNameMaxLength: 8 or 32 characters), in this order:
// length, emptiness, characters. Only letters and digits pass, so the name is a folder name on
// every platform.
ProjectNameCheck CheckProjectName(const std::string& name, size_t limit, const std::string& defaultName);

} // namespace pw::app
