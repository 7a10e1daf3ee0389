// The headless backend: the reference backend and the default in tests. Frames stay in memory
// (LastPresentedFrame), input comes only from the test driver, the clipboard is a string.
#pragma once

#include "platform/backend/Backend.h"

#include <string>
#include <vector>

namespace pw::platform {

extern const BackendDriver kHeadlessBackend;

// A frame as the bytes of an uncompressed 8-bit BMP file with its 256-colour table, rows stored
// bottom-up and padded to four bytes; and the same written to a file (false when writing fails).
std::vector<uint8_t> EncodeFrameAsBmp(const Frame& frame);
bool WriteFrameAsBmp(const Frame& frame, const std::string& path);

} // namespace pw::platform
