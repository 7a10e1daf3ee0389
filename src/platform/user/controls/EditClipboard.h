#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pw::platform::user {

// The system clipboard's text as an edit control copies and pastes it (CF_TEXT, 8-bit, the line
// breaks as they are). Neither leaves a last error behind: the user's keys are no call of the
// program's.

// Replaces the clipboard's contents with the text; false when the clipboard cannot be had.
bool CopyToClipboard(HWND owner, std::string_view text);
// The clipboard's text, or nullopt when it holds none or cannot be opened.
std::optional<std::string> TextFromClipboard(HWND owner);

} // namespace pw::platform::user
