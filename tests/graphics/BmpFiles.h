// BMP files for the readers' tests: made byte by byte from their parts, and written by other
// programs (ImageMagick, netpbm and Python's imaging library, which the set-up script installs)
// from pictures the test draws, by the script in corpus/.
#pragma once

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace bmpfiles {

using bitmaps::FormatGrid;
using bitmaps::ParseGrid;

inline const std::string kCorrupt
    = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// The parts of a BMP file; offsets and sizes are worked out unless given.
struct Bmp {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 8;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    uint32_t infoSize = 40;
    std::vector<uint32_t> colors; // 0xRRGGBB
    std::vector<uint32_t> masks;
    std::vector<uint8_t> pixels;
    int64_t offBits = -1;

    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> out = { 'B', 'M' };
        auto put32 = [&](uint32_t value) {
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(uint8_t(value >> shift));
        };
        auto put16 = [&](uint16_t value) { out.insert(out.end(), { uint8_t(value), uint8_t(value >> 8) }); };
        // A longer header holds the masks in its first bytes past the 40; the rest stays 0.
        uint32_t header = infoSize > 40 ? infoSize : uint32_t(40 + 4 * masks.size());
        uint32_t start = uint32_t(14 + header + 4 * colors.size());
        put32(uint32_t(start + pixels.size()));
        put32(0);
        put32(offBits < 0 ? start : uint32_t(offBits));
        put32(infoSize);
        put32(uint32_t(width));
        put32(uint32_t(height));
        put16(1);
        put16(bitCount);
        put32(compression);
        put32(uint32_t(pixels.size()));
        put32(2835);
        put32(2835);
        put32(colorsUsed);
        put32(0);
        for (uint32_t mask : masks)
            put32(mask);
        while (out.size() < 14 + header)
            out.push_back(0);
        for (uint32_t color : colors)
            out.insert(out.end(), { uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16), 0 });
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// File rows for a grid of values: packed at `bits` per pixel, leftmost pixel in the high bits,
// padded to 32 bits, the bottom row first unless `topDown`.
inline std::vector<uint8_t> Rows(const std::string& grid, int bits, bool topDown = false)
{
    auto rows = ParseGrid(grid);
    std::vector<uint8_t> out;
    for (size_t index = 0; index < rows.size(); ++index) {
        const auto& row = rows[topDown ? index : rows.size() - 1 - index];
        std::vector<uint8_t> bytes((row.size() * bits + 31) / 32 * 4, 0);
        for (size_t column = 0; column < row.size(); ++column) {
            if (bits >= 8) {
                for (int byte = 0; byte < bits / 8; ++byte)
                    bytes[column * bits / 8 + byte] = uint8_t(row[column] >> (8 * byte));
            } else {
                size_t position = column * bits;
                bytes[position / 8] |= uint8_t(row[column] << (8 - bits - position % 8));
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

// A colour of the standard palette's cube.
inline uint32_t CubeColor(int index)
{
    return uint32_t(index / 36 % 6 * 51) << 16 | uint32_t(index / 6 % 6 * 51) << 8 | uint32_t(index % 6 * 51);
}

// A fresh temporary folder in which pictures are drawn as text PPM files and the script makes BMP
// files of them in the forms other programs write; removed with the object.
class CorpusFolder {
public:
    CorpusFolder()
        : folder(std::filesystem::temp_directory_path() / ("pw-graphics-bmp-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(folder);
    }
    ~CorpusFolder() { std::filesystem::remove_all(folder); }
    CorpusFolder(const CorpusFolder&) = delete;
    CorpusFolder& operator=(const CorpusFolder&) = delete;

    static bool ToolsInstalled()
    {
        return std::system("convert -version > /dev/null 2>&1") == 0
            && std::system("ppmtobmp -version > /dev/null 2>&1") == 0;
    }

    std::vector<uint8_t> Bytes(const std::string& name) const
    {
        std::ifstream in(folder / name, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // Writes a picture as a text PPM and answers its pixels in the grid format.
    std::string Picture(const std::string& name, int width, int height, uint32_t (*color)(int x, int y)) const
    {
        std::ofstream out(folder / name);
        out << "P3\n" << width << " " << height << "\n255\n";
        std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                rows[y][x] = color(x, y);
                out << (rows[y][x] >> 16) << " " << (rows[y][x] >> 8 & 0xFF) << " " << (rows[y][x] & 0xFF) << "\n";
            }
        }
        return FormatGrid(rows, 6);
    }

    // Runs the script over picture.ppm, sixteen.ppm and two.ppm; 0 when every file was made.
    int MakeFiles() const
    {
        std::string script = std::string(PW_CORPUS_SCRIPTS) + "/make-bmp-corpus '" + folder.string() + "'";
        return std::system(script.c_str());
    }

    std::filesystem::path folder;
};

} // namespace bmpfiles
