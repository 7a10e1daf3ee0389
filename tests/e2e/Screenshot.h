// Reading the screenshots the SDL backend saves when a program quits (uncompressed 24-bit BMP).
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace pw::e2e {

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// An uncompressed BMP: 24-bit as SDL writes it, or 8-bit with its palette as the program's
// scripted screen shots are.
struct Bmp {
    int width = 0;
    int height = 0;
    int bits = 24;
    bool bottomUp = true;
    uint32_t offset = 0;
    std::vector<uint8_t> bytes;

    static uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
    {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    }

    bool Load(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
            return false;
        offset = Read32(bytes, 10);
        width = static_cast<int32_t>(Read32(bytes, 18));
        auto signedHeight = static_cast<int32_t>(Read32(bytes, 22));
        bottomUp = signedHeight > 0;
        height = bottomUp ? signedHeight : -signedHeight;
        bits = bytes[28] | bytes[29] << 8;
        return (bits == 24 || (bits == 8 && offset >= 54 + 256 * 4)) && width > 0 && height > 0
            && offset + static_cast<size_t>(Stride()) * height <= bytes.size();
    }

    int Stride() const { return (width * bits / 8 + 3) & ~3; }

    Rgb At(int x, int y) const
    {
        int row = bottomUp ? height - 1 - y : y;
        size_t at = offset + static_cast<size_t>(row) * Stride() + static_cast<size_t>(x) * bits / 8;
        if (bits == 8)
            at = 54 + static_cast<size_t>(bytes[at]) * 4;
        return Rgb { bytes[at + 2], bytes[at + 1], bytes[at] };
    }
};

} // namespace pw::e2e
