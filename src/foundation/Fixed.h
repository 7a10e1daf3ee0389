#pragma once

#include <compare>
#include <cstdint>

// A 16.16 version number: major in the high 16 bits, minor in the low. Compared as one unsigned
// 32-bit value and stored as one 32-bit value; 0 reads as "none".
struct Fixed {
    constexpr Fixed() = default;
    constexpr Fixed(uint16_t major)
        : value(static_cast<uint32_t>(major) << 16)
    {
    }
    constexpr Fixed(uint16_t major, uint16_t minor)
        : value((static_cast<uint32_t>(major) << 16) | minor)
    {
    }
    static constexpr Fixed FromRaw(uint32_t raw)
    {
        Fixed fixed;
        fixed.value = raw;
        return fixed;
    }

    constexpr uint32_t Raw() const { return value; }
    constexpr uint16_t Major() const { return static_cast<uint16_t>(value >> 16); }
    constexpr uint16_t Minor() const { return static_cast<uint16_t>(value & 0xFFFF); }
    constexpr bool SameMajor(Fixed other) const { return Major() == other.Major(); }

    constexpr auto operator<=>(const Fixed&) const = default;

private:
    uint32_t value { 0 };
};
