// Test hooks of the system clipboard: what another program puts there and reads from it between
// the program's activations. Each acts as that other program: it fails while the program holds
// the clipboard open. The platform reset empties the clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform::testing {

// The clipboard then holds only this text (8-bit, as CF_TEXT holds it).
bool PutSystemClipboardText(const std::string& text);
// The clipboard then holds only this packed DIB (header, colour table, rows) as CF_DIB.
bool PutSystemClipboardDib(const std::vector<uint8_t>& packedDib);
bool EmptySystemClipboard();

// What another program would paste: the text, or the picture as a packed DIB (made from a bitmap
// when that is what was put); nullopt when there is none.
std::optional<std::string> SystemClipboardText();
std::optional<std::vector<uint8_t>> SystemClipboardDib();

bool IsClipboardOpen();

} // namespace pw::platform::testing
