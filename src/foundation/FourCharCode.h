// Four-character codes (type codes, creator codes, extension codes) as 32-bit values whose most
// significant byte is the first character, as stored files and the type tables expect.
#pragma once

#include <cstdint>

namespace pw::foundation {

constexpr uint32_t FourCharCode(const char (&text)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24
        | static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16
        | static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8
        | static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

} // namespace pw::foundation
